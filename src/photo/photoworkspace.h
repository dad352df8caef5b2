#pragma once

#include "cropcommands.h"
#include "cropsource.h"
#include "facefinder.h"
#include "photochecks.h"
#include "photoformat.h"
#include "platform/units.h"

#include "photoloader.h"

#include <QSizeF>
#include <QString>

#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>

enum class LoadOutcome {
    Ignored, // not a visible file named ".jpg", ".jpeg" or ".jpe": nothing happens
    Accepted,
    TooSmall, // fewer pixels than the frame, or the crop source refused the first rectangle
    NoFit, // the first rectangle does not fit 16 bits: nothing is said
    NotAPhoto,
    TooLarge,
};

// The photo behind the main window's frame: the loaded photo, the crop source and its
// rectangle, the pan counters and the loaded marker. It holds no widget; the window shows
// the picture it returns.
class PhotoWorkspace
{
public:
    // The frame's size in twips, which carries the photo format.
    QSizeF frame() const { return m_frame; }
    // The chosen photo format (a PhotoFormats index); the frame takes its size.
    int format() const { return m_format; }
    void selectFormat(int index);
    // The photo's pixels per inch across the print size of the frame (100 twips a millimetre);
    // nothing without a photo.
    std::optional<int> printDpi() const
    {
        if (!isLoaded() || m_frame.width() <= 0)
            return std::nullopt;
        return int(std::lround(m_crop.rect.width * Units::MillimetresPerInch
            * Units::TwipsPerMillimetre / m_frame.width()));
    }
    // Under 300 pixels per inch the fitted photo prints soft: its figure, else nothing.
    std::optional<int> softPrintDpi() const
    {
        const std::optional<int> dpi = printDpi();
        return dpi && *dpi < SharpPrintDpi ? dpi : std::nullopt;
    }
    // A frame of another size for the same format (the window's design frame is 3495 twips wide).
    void setFrame(const QSizeF &frameTwips) { m_frame = frameTwips; }

    // Runs the reading and decoding of a photo, which the window keeps off its own thread.
    using LoadRunner = std::function<PhotoLoadResult(const std::function<PhotoLoadResult()> &)>;
    void setLoadRunner(LoadRunner runner) { m_loadRunner = std::move(runner); }

    // A refused photo leaves the workspace exactly as it was.
    // `pixelRatio`: the screen's device pixels per logical pixel, for the size of the picture
    // shown first.
    LoadOutcome load(const QString &path, qreal pixelRatio = 1.0);
    // A fresh fit of the loaded photo to the present frame: to the face when the automatic
    // face fit is on and one face was found, else centred. False when no photo is loaded. A
    // refused rectangle keeps the previous picture. The undo history starts afresh.
    bool refit();
    // True when switching it on fitted an untouched photo to its face.
    bool setAutoFaceFit(bool on);
    bool autoFaceFit() const { return m_autoFaceFit; }
    // What the search found in the loaded photo; the search of another photo is ignored. True
    // when the fit changed: the automatic fit of an untouched photo, or the fit to the face
    // asked for while the search ran.
    bool setFaceSearch(const PhotoPtr &photo, const FaceSearch &search);
    // The fit to the face, or the centred fit and the verdict that there is no single face;
    // asked during the search, it happens when the search ends. True when the fit may have
    // changed.
    bool fitFaceOrCentre();
    // The last fit to the face found no single face.
    bool noSingleFace() const { return m_noSingleFace; }
    // Nothing until the search of the loaded photo has ended.
    const std::optional<FaceSearch> &faceSearch() const { return m_face; }
    // Fits the frame's rule to the one face found, as one step that undo takes back; false
    // without a single face or when that fit is already there.
    bool fitToFace();
    // Turns the photo so the face's eye line is level and fits the face, as one step that undo
    // takes back; false without a single face or when that is already the fit.
    bool straighten();
    // The one face found, where it is on the photo as it is turned now.
    std::optional<FaceMarks> fittedFace() const;
    // The fit as the photo checks see it.
    FitToCheck fitToCheck() const
    {
        return { m_shown, fittedFace(), PhotoFormats[m_format].faceRule };
    }
    // No command has changed the fit since the photo was loaded or fitted afresh.
    bool untouched() const { return m_history.empty(); }
    const PhotoPtr &photo() const { return m_photo; }
    // True when the frame's picture changed. A refused command changes nothing: the
    // rectangle, the pan counters and the picture stay as they were. A command `continuing`
    // the accepted one before it (a held key's repeat, a drag) joins its undo step.
    bool run(PhotoCommand command, bool continuing = false);
    // Back to the state before the last accepted command or reset; false when there is none.
    bool undo();
    // Back to the centred fit of the present frame, as one step that undo takes back.
    bool resetFit();
    // How far one pan step moves the photo in a frame of this size on the screen.
    QSizeF panStepOn(const QSizeF &framePixels) const;

    bool isLoaded() const { return m_loaded; }
    const CropSource &cropSource() const { return m_crop; }
    // What the frame shows.
    const ClipImage &shown() const { return m_shown; }
    // The photo's own pixels of the part the frame shows, for printing and export; waits for
    // the photo's decode to finish.
    QImage photoCrop() const { return m_shown.fullResolution(); }
    // False while the photo's own pixels are still being decoded.
    bool isPhotoComplete() const { return !m_photo || m_photo->isComplete(); }
    int16_t panStepsX() const { return m_panStepsX; }
    int16_t panStepsY() const { return m_panStepsY; }

    static constexpr std::size_t UndoDepth = 100;
    static constexpr int SharpPrintDpi = 300;
    // The fit to the face levels a head tilted this far (degrees); the straighten command any
    // tilt from the least one.
    static constexpr double AutomaticTurnMin = 1;
    static constexpr double AutomaticTurnMax = 15;
    static constexpr double LeastTurn = 0.1;

private:
    CropState fit() const { return { m_crop.rect, m_panStepsX, m_panStepsY, m_crop.turn }; }
    std::optional<CropState> faceFit(bool straighten = false) const;
    // As one step that undo takes back, or as part of the step under way.
    bool apply(const CropState &fit, bool newStep = true);
    void restore(const CropState &fit);
    void remember(const CropState &fit);

    LoadRunner m_loadRunner;
    int m_format = 1;
    QSizeF m_frame;
    bool m_fitWhenFound = false; // the fit to the face was asked for during the search
    bool m_noSingleFace = false;
    bool m_stepOpen = false; // the last accepted command may be continued in its undo step
    PhotoPtr m_photo; // the whole photo; the crop source and the frame share it
    CropSource m_crop;
    ClipImage m_shown;
    int16_t m_panStepsX = 0;
    int16_t m_panStepsY = 0;
    bool m_loaded = false;
    bool m_autoFaceFit = true;
    std::optional<FaceSearch> m_face;
    std::deque<CropState> m_history; // oldest first
};
