#pragma once

#include "cropcommands.h"
#include "cropsource.h"
#include "facefinder.h"
#include "iddocument.h"
#include "photochecks.h"
#include "photoformat.h"
#include "photoloader.h"
#include "platform/units.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSizeF>
#include <QString>
#include <QThreadPool>
#include <QUndoStack>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

enum class LoadOutcome {
    Ignored, // not a visible file named ".jpg", ".jpeg" or ".jpe": nothing happens
    Accepted,
    TooSmall, // fewer pixels than the frame, or the crop source refused the first rectangle
    NoFit, // the first rectangle does not fit 16 bits: nothing is said
    NotAPhoto,
    TooLarge,
};

// The kinds of step the fit's history holds; each has its name in the language file.
enum class FitStepKind { Zoom = 1, Move, Reset, FitToFace, Straighten, HeadMark, Background };

// The photo behind the main window's frame and every choice the user makes about it: the
// photo itself, read and decoded off the caller's thread, its face search and checks, the
// crop with its pan counters and undo history, the chosen format and the automatic face fit.
// It holds no widget: windows connect to its signals once and show what it reports.
class PhotoDocument : public QObject
{
    Q_OBJECT
public:
    explicit PhotoDocument(const QString &faceModelPath = QString::fromLatin1(LandmarkModelPath),
        QObject *parent = nullptr);
    // A read or a search under way is told to stop; nothing is written half.
    ~PhotoDocument() override;

    // --- the photo
    // Starts reading a photo off this thread; loaded() or loadFailed() follows, unless another
    // open() comes first and cancels it. False, and nothing happens, for a file that is not a
    // visible one named as a JPEG. `pixelRatio`: the screen's device pixels per logical pixel,
    // for the size of the picture shown first.
    bool open(const QString &path, qreal pixelRatio = 1.0);
    // The same read on this thread, for tools and tests.
    LoadOutcome load(const QString &path, qreal pixelRatio = 1.0);
    // A photo is being read.
    bool isBusy() const { return m_reading != nullptr; }
    bool isLoaded() const { return m_loaded; }
    const PhotoPtr &photo() const { return m_photo; }
    // False while the photo's own pixels are still being decoded.
    bool isPhotoComplete() const { return !m_photo || m_photo->isComplete(); }
    // The photo's own pixels of the part the frame shows, for printing and export; waits for
    // the photo's decode to finish.
    QImage photoCrop() const { return m_shown.fullResolution(); }
    // What the frame shows.
    const ClipImage &shown() const { return m_shown; }
    const CropSource &cropSource() const { return m_crop; }
    int16_t panStepsX() const { return m_panStepsX; }
    int16_t panStepsY() const { return m_panStepsY; }

    // --- the user's choices
    // The band's format last chosen (a PhotoFormats index), or the one of a chosen document's
    // size; it stays when a document of another size is chosen.
    int format() const { return m_format; }
    // The format alone, with its own rule; the frame takes its size and the loaded photo is
    // fitted afresh. A format that is already chosen with a document's rule drops the document.
    void selectFormat(int index);
    // What the photo is for: the chosen format as a document, or the chosen document.
    const IdDocument &idDocument() const { return m_idDocument; }
    // The frame takes the document's proportions and the fit its rule.
    void selectDocument(const IdDocument &document);
    // The size one print has on paper.
    QSizeF printMm() const { return m_idDocument.printMm(); }
    // The frame's size in twips: the print size at 100 twips a millimetre, or smaller in its
    // proportions for a document larger than the window's frame.
    QSizeF frame() const { return m_frame; }
    // A frame of another size for the same format (the window's design frame is 3495 twips wide).
    void setFrame(const QSizeF &frameTwips) { m_frame = frameTwips; }
    bool autoFaceFit() const { return m_autoFaceFit; }
    // Switched on, an untouched photo is fitted to its face.
    void setAutoFaceFit(bool on);

    // --- the fit: each change one step of the undo stack
    // False when the command changed nothing: a refused command leaves the rectangle, the pan
    // counters and the picture as they were. A command `continuing` the accepted one before it
    // (a held key's repeat, a drag) joins its undo step.
    bool run(PhotoCommand command, bool continuing = false);
    // Back to the centred fit of the present frame.
    bool resetFit();
    // The rule's fit to the one face found (of several, the one in the frame nearest its
    // middle), or the centred fit and the verdict that there is no single face; asked during
    // the search, it happens when the search ends.
    void fitToFace();
    // Turns the photo so the face's eye line is level and fits the face; false without a
    // single face or when that is already the fit.
    bool straighten();
    // A plain colour behind the person in place of the photo's wall, or the wall as shot again,
    // as one step. When the wall cannot be told from the person, nothing changes and the
    // reason comes back.
    std::optional<BackgroundReplacement::Why> setWall(WallChoice choice);
    WallChoice wall() const { return m_crop.wall.choice; }
    QUndoStack *undoStack() { return &m_undo; }
    const QUndoStack *undoStack() const { return &m_undo; }
    bool undo();
    // No command has changed the fit since the photo was loaded or fitted afresh.
    bool untouched() const { return m_undo.count() == 0; }
    // The names of the steps in the user's language, indexed by FitStepKind; renames the steps
    // already taken too.
    void setStepNames(const QStringList &names);

    // --- the face and the checks
    // Starts loading the landmark model in the background; photos are searched from then on.
    void loadFaceModel();
    // What a search found in a photo; a search of another photo than the loaded one is
    // ignored.
    void setFaceSearch(const PhotoPtr &photo, const FaceSearch &search);
    // Nothing until the search of the loaded photo has ended.
    const std::optional<FaceSearch> &faceSearch() const { return m_face; }
    // One face found, or one of several the user chose.
    bool hasSingleFace() const { return m_face && (m_face->face || m_chosen); }
    // Among several faces, the fit to the face takes the one in the frame, nearest its middle.
    bool hasFacesToChoose() const { return m_face && !m_face->several.isEmpty(); }
    // The last fit to the face found no single face.
    bool noSingleFace() const { return m_noSingleFace; }
    // The photo's colour profile could not be used: its colours are shown as stored.
    bool colourProfileUnusable() const { return m_loaded && m_photo->colourProfileUnusable(); }
    // The one face found, its top as measured or as the user has put it, on the upright photo.
    std::optional<FaceMarks> face() const;
    // The same face where it is on the photo as it is turned now.
    std::optional<FaceMarks> fittedFace() const;
    // Where the top of the hair and the skull's top lie in the frame, as shares of its height
    // from the top; nothing without a single face.
    struct HeadMarksShown
    {
        double hair;
        double skull;
        FaceMarks::TopFound found;
    };
    std::optional<HeadMarksShown> headMarks() const;
    // The user puts the top of the hair or of the skull at this share of the frame's height:
    // the face keeps it (the skull never above the hair), the automatic face fit follows, all
    // one step. False without a single face or when nothing changes.
    bool moveHeadMark(FaceRule::Top which, double frameShare);
    // The fit as the photo checks see it.
    FitToCheck fitToCheck() const;
    // What the checks found in the present fit; nothing while they run or when there is no
    // single face to check.
    const std::optional<std::vector<CheckFailure>> &checks() const { return m_checks; }

    // --- verdicts
    // The photo's pixels per inch across the print size; nothing without a photo or for a
    // document that is only a file.
    std::optional<int> printDpi() const
    {
        const double width = printMm().width();
        if (!isLoaded() || !(width > 0) || m_idDocument.isDigital())
            return std::nullopt;
        return int(std::lround(m_crop.rect.width * Units::MillimetresPerInch / width));
    }
    // Under 300 pixels per inch the fitted photo prints soft: its figure, else nothing.
    std::optional<int> softPrintDpi() const
    {
        const std::optional<int> dpi = printDpi();
        return dpi && *dpi < SharpPrintDpi ? dpi : std::nullopt;
    }
    // How far one pan step moves the photo in a frame of this size on the screen.
    QSizeF panStepOn(const QSizeF &framePixels) const;

    static constexpr int UndoDepth = 100;
    static constexpr int SharpPrintDpi = 300;
    // The fit to the face levels a head tilted this far (degrees); the straighten command any
    // tilt from the least one.
    static constexpr double AutomaticTurnMin = 1;
    static constexpr double AutomaticTurnMax = 15;
    static constexpr double LeastTurn = 0.1;
    // The wall beyond the photo is measured on a copy this large: enough to tell noise from
    // pattern, and a fit costs a few milliseconds.
    static constexpr int WallPictureSide = 640;

signals:
    void busyChanged(bool busy);
    // A new photo is there, fitted afresh.
    void loaded();
    // The photo read last is refused (never for LoadOutcome::Ignored); the previous photo, its
    // fit and its history stay as they were.
    void loadFailed(LoadOutcome reason);
    // The photo's own pixels are decoded; `decoded` false when their decode failed.
    void photoDecoded(bool decoded);
    // A format or a document is chosen: the frame, the rule and what the band marks follow.
    void formatChanged(int index);
    void autoFaceFitChanged(bool on);
    // The crop, its turn or the frame's size changed.
    void fitChanged();
    void faceSearchEnded();
    void checksChanged();

private:
    friend class FitStep;
    struct Read;

    CropState fit() const
    {
        return { m_crop.rect, m_panStepsX, m_panStepsY, m_crop.turn, m_crop.extension,
            m_notExtended, m_crop.wall };
    }
    // The tops the user has put by hand, on the upright photo.
    struct HandMarks
    {
        std::optional<QPointF> hair;
        std::optional<QPointF> skull;
        friend bool operator==(const HandMarks &, const HandMarks &) = default;
    };
    struct FitState
    {
        CropState crop;
        HandMarks marks;
        friend bool operator==(const FitState &, const FitState &) = default;
    };
    LoadOutcome adopt(const PhotoLoadResult &loaded);
    void readEnded();
    // A fresh fit of the loaded photo to the present frame: to the face when the automatic
    // face fit is on and one face was found, else centred. The history starts afresh.
    void refit();
    std::optional<CropState> faceFit(bool straighten = false) const;
    void fitToFoundFace(bool choosing);
    std::optional<FaceMarks> faceInFrame() const;
    // As one step of this kind, or as part of the step under way.
    bool apply(const CropState &fit, FitStepKind kind, bool continuing = false);
    bool apply(const FitState &next, FitStepKind kind, bool continuing = false);
    // Shows a state of the history.
    void restore(const FitState &state);
    void setState(const CropState &fit);
    void fitDone();
    void watchDecode();
    void check();
    // The photo reduced to at most WallPictureSide, where walls are measured.
    QImage wallPicture() const;

    int m_format = 1;
    IdDocument m_idDocument = formatDocument(m_format);
    QSizeF m_frame;
    bool m_autoFaceFit = true;

    PhotoPtr m_photo; // the whole photo; the crop source and the frame share it
    bool m_loaded = false;
    CropSource m_crop;
    ClipImage m_shown;
    int16_t m_panStepsX = 0;
    int16_t m_panStepsY = 0;
    std::optional<BackgroundExtension::Why>
        m_notExtended; // why the last fit's wall was not continued
    struct Replacement
    {
        FaceMarks face; // measured for
        std::shared_ptr<const BackgroundReplacement> measured;
    };
    std::optional<Replacement> m_replacement;
    QUndoStack m_undo;
    QStringList m_stepNames;
    HandMarks m_marks;
    bool m_stepOpen = false; // the last accepted command may be continued in its undo step

    std::shared_ptr<Read> m_reading; // the read under way
    QFutureWatcher<PhotoLoadResult> m_readWatch;
    QFutureWatcher<void> m_decodeWatch;

    FaceFinder m_faces;
    bool m_searching = false; // the model was asked for: photos are searched
    std::optional<FaceSearch> m_face;
    std::optional<FaceMarks> m_chosen; // of several faces
    bool m_fitWhenFound = false; // the fit to the face was asked for during the search
    bool m_noSingleFace = false;

    QThreadPool m_checkThread;
    QFutureWatcher<std::vector<CheckFailure>> m_checkWatch;
    std::optional<std::vector<CheckFailure>> m_checks;
};
