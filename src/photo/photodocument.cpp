#include "photodocument.h"

#include "cropcommands.h"
#include "facefit.h"
#include "photoformat.h"
#include "photoloader.h"

#include <QFileInfo>
#include <QUndoCommand>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

// One step of the fit's history: the states before and after it. A held key's repeats and a
// drag continue their step instead of adding one each.
class FitStep : public QUndoCommand
{
public:
    FitStep(PhotoDocument &document, FitStepKind kind, const PhotoDocument::FitState &before,
        const PhotoDocument::FitState &after, bool continuing)
        : m_document(document)
        , m_kind(kind)
        , m_before(before)
        , m_after(after)
        , m_continuing(continuing)
    {
        setText(m_document.m_stepNames.value(int(kind)));
    }
    int id() const override { return int(m_kind); }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const FitStep *>(other);
        if (!next->m_continuing)
            return false;
        m_after = next->m_after;
        return true;
    }
    void undo() override { m_document.restore(m_before); }
    void redo() override { m_document.restore(m_after); }

private:
    PhotoDocument &m_document;
    FitStepKind m_kind;
    PhotoDocument::FitState m_before;
    PhotoDocument::FitState m_after;
    bool m_continuing;
};

struct PhotoDocument::Read
{
    std::atomic<bool> stop { false };
};

PhotoDocument::PhotoDocument(const QString &faceModelPath, QObject *parent)
    : QObject(parent)
    , m_frame(frameTwipsFor(m_idDocument.printMm()))
    , m_faces(faceModelPath)
{
    m_undo.setUndoLimit(UndoDepth);
    m_checkThread.setMaxThreadCount(1);
    connect(&m_readWatch, &QFutureWatcherBase::finished, this, &PhotoDocument::readEnded);
    connect(&m_decodeWatch, &QFutureWatcherBase::finished, this, [this] {
        if (m_photo && m_photo->isComplete())
            emit photoDecoded(m_photo->hasOwnPixels());
    });
    connect(&m_faces, &FaceFinder::found, this, &PhotoDocument::setFaceSearch);
    connect(&m_checkWatch, &QFutureWatcherBase::finished, this, [this] {
        if (m_checkWatch.isCanceled())
            return;
        m_checks = m_checkWatch.result();
        emit checksChanged();
    });
}

PhotoDocument::~PhotoDocument()
{
    if (m_reading)
        m_reading->stop = true;
    m_checkThread.clear();
    m_checkThread.waitForDone();
}

namespace {

bool isPhotoFileName(const QString &path)
{
    const QFileInfo file(path);
    const QString name = path.toUpper();
    // What cameras and phones write; the loader goes by the content, whatever the name says.
    const bool photoName = std::any_of(std::begin(PhotoFileEndings), std::end(PhotoFileEndings),
        [&name](const char *ending) { return name.endsWith(QLatin1String(ending)); });
    return photoName && file.isFile() && !file.isHidden();
}

} // namespace

bool PhotoDocument::open(const QString &path, qreal pixelRatio)
{
    if (!isPhotoFileName(path))
        return false;
    const bool wasBusy = isBusy();
    if (m_reading)
        m_reading->stop = true;
    m_reading = std::make_shared<Read>();
    // The frame's pixels on the screen: a screen pixel counts as 15 twips.
    const QSizeF framePixels = m_frame / TwipsPerPhotoPixel * pixelRatio;
    m_readWatch.setFuture(
        QtConcurrent::run(&photoReadThreads(), [path, framePixels, read = m_reading] {
            return loadPhoto(path, framePixels, &read->stop);
        }));
    if (!wasBusy)
        emit busyChanged(true);
    return true;
}

LoadOutcome PhotoDocument::load(const QString &path, qreal pixelRatio)
{
    if (!isPhotoFileName(path))
        return LoadOutcome::Ignored;
    const LoadOutcome outcome
        = adopt(loadPhoto(path, m_frame / TwipsPerPhotoPixel * pixelRatio, nullptr));
    if (outcome == LoadOutcome::Accepted)
        emit loaded();
    return outcome;
}

void PhotoDocument::readEnded()
{
    if (!m_reading || m_readWatch.isCanceled())
        return;
    m_reading.reset();
    const LoadOutcome outcome = adopt(m_readWatch.result());
    // A photo of no use lets go of its pixels now, not with the next read.
    m_readWatch.setFuture(QFuture<PhotoLoadResult>());
    emit busyChanged(false);
    if (outcome == LoadOutcome::Accepted)
        emit loaded();
    else if (outcome != LoadOutcome::Ignored && outcome != LoadOutcome::NoFit)
        emit loadFailed(outcome);
}

LoadOutcome PhotoDocument::adopt(const PhotoLoadResult &loaded)
{
    if (loaded.error == PhotoLoadError::TooLarge)
        return LoadOutcome::TooLarge;
    if (loaded.error != PhotoLoadError::None)
        return LoadOutcome::NotAPhoto;
    const PhotoPtr &photo = loaded.photo;
    if (photo->width() * TwipsPerPhotoPixel < m_frame.width()
        || photo->height() * TwipsPerPhotoPixel < m_frame.height())
        return LoadOutcome::TooSmall;

    // The new photo takes the holders' place only once its first crop is accepted, so a
    // refused photo leaves the previous one whole (frame, crop and holders agree).
    CropSource candidate;
    candidate.setPicture(photo);
    const std::optional<CropRect> rect
        = centreCrop(candidate.width(), candidate.height(), m_frame.width(), m_frame.height());
    if (!rect)
        return LoadOutcome::NoFit;
    candidate.rect = *rect;
    const std::optional<ClipImage> clip = candidate.clipImage();
    if (!clip)
        return LoadOutcome::TooSmall;
    m_photo = photo;
    m_crop = candidate;
    m_shown = *clip;
    m_panStepsX = 0;
    m_panStepsY = 0;
    m_loaded = true;
    m_face.reset();
    m_marks = {};
    m_replacement.reset();
    m_chosen.reset();
    m_fitWhenFound = false;
    m_noSingleFace = false;
    m_undo.clear();
    m_stepOpen = false;
    watchDecode();
    if (m_searching)
        m_faces.search(m_photo);
    check();
    return LoadOutcome::Accepted;
}

void PhotoDocument::watchDecode()
{
    m_decodeWatch.setFuture(m_photo->decoded());
}

void PhotoDocument::refit()
{
    if (!m_loaded)
        return;
    m_crop.setPicture(m_photo);
    // The document's own colour follows the document chosen.
    if (m_crop.wall.choice == WallChoice::Document) {
        if (const std::optional<QRgb> colour = m_idDocument.backgroundColour())
            m_crop.wall.colour = *colour;
        else
            m_crop.wall = {};
    }
    const std::optional<CropState> face = m_autoFaceFit ? faceFit() : std::nullopt;
    if (face)
        setState(*face);
    else if (const std::optional<CropRect> rect
        = centreCrop(m_crop.width(), m_crop.height(), m_frame.width(), m_frame.height()))
        setState({ *rect, 0, 0, {}, {}, {}, m_crop.wall });
    // A refused rectangle keeps the previous picture.
    if (const std::optional<ClipImage> clip = m_crop.clipImage())
        m_shown = *clip;
    m_undo.clear();
    m_stepOpen = false;
    fitDone();
}

void PhotoDocument::selectFormat(int index)
{
    if (!isPhotoFormatIndex(index) || (index == m_format && m_idDocument.id.isEmpty()))
        return;
    selectDocument(formatDocument(index));
}

void PhotoDocument::selectDocument(const IdDocument &document)
{
    m_idDocument = document;
    if (const int band = document.bandFormat(); band >= 0)
        m_format = band;
    m_frame = frameTwipsFor(document.printMm());
    emit formatChanged(m_format);
    refit();
}

void PhotoDocument::setAutoFaceFit(bool on)
{
    if (on == m_autoFaceFit)
        return;
    m_autoFaceFit = on;
    emit autoFaceFitChanged(on);
    if (on && m_loaded && untouched())
        fitToFace();
}

void PhotoDocument::loadFaceModel()
{
    m_searching = true;
    m_faces.loadModel();
    if (m_loaded && !m_face)
        m_faces.search(m_photo);
}

void PhotoDocument::setFaceSearch(const PhotoPtr &photo, const FaceSearch &search)
{
    if (!m_loaded || photo != m_photo)
        return;
    m_face = search;
    // The automatic fit leaves a fit the user has begun alone, and a choice among several
    // faces to the user.
    if (std::exchange(m_fitWhenFound, false))
        fitToFoundFace(true);
    else if (m_autoFaceFit && untouched())
        fitToFoundFace(false);
    emit faceSearchEnded();
    check();
}

void PhotoDocument::fitToFace()
{
    if (!m_loaded)
        return;
    if (!m_face) {
        m_fitWhenFound = true;
        return;
    }
    fitToFoundFace(true);
}

void PhotoDocument::fitToFoundFace(bool choosing)
{
    if (choosing && hasFacesToChoose()) {
        const std::optional<FaceMarks> chosen = faceInFrame();
        // The marks put by hand belong to the face chosen before.
        if (!chosen || !m_chosen || chosen->points != m_chosen->points)
            m_marks = {};
        m_chosen = chosen;
    }
    const bool wasSingle = !m_noSingleFace;
    m_noSingleFace = !hasSingleFace();
    if (hasSingleFace()) {
        if (const std::optional<CropState> face = faceFit())
            apply(*face, FitStepKind::FitToFace);
    } else if (!resetFit() && wasSingle) {
        fitDone(); // the verdict changed, not the fit
    }
}

std::optional<CropState> PhotoDocument::faceFit(bool straighten) const
{
    const FaceRule *rule = &m_idDocument.rule;
    if (!m_loaded || !hasSingleFace())
        return std::nullopt;
    const FaceMarks face = *this->face();
    // A slight tilt is levelled with every fit; a steep one only when asked, since the
    // landmarks of a face turned that far are less sure.
    const double tilt = std::abs(face.tilt());
    const bool turned
        = straighten ? tilt >= LeastTurn : tilt >= AutomaticTurnMin && tilt <= AutomaticTurnMax;
    const Turn turn = turned ? levellingTurn(face) : Turn {};
    const QSize photo(m_crop.width(), m_crop.height());
    const FaceMarks seen = turn.isNull() ? face : face.turned(turn);
    const auto fitted = [&](Qt::Edges extendable) {
        return faceCrop(photo.width(), photo.height(), m_frame.width(), m_frame.height(), seen,
            *rule, turn, extendable);
    };
    // Where the rule's fit needs more room than the photo has, the photo's wall is continued
    // beyond the edges that allow it; the fit keeps within the photo on the others.
    const Qt::Edges all = Qt::TopEdge | Qt::BottomEdge | Qt::LeftEdge | Qt::RightEdge;
    std::optional<CropRect> rect = fitted(all);
    if (!rect)
        return std::nullopt;
    Qt::Edges wanted = edgesBeyond(photo, turn, QRectF(rect->toRect()));
    ExtensionPtr extension;
    std::optional<BackgroundExtension::Why> refused;
    if (wanted.toInt() != 0) {
        const QImage picture = wallPicture();
        const double scale = double(picture.width()) / photo.width();
        const FaceMarks small = face.mapped(QTransform::fromScale(scale, scale));
        while (wanted.toInt() != 0 && !extension) {
            BackgroundExtension::Why why;
            if (std::optional<BackgroundExtension> measured
                = BackgroundExtension::measure(picture, small, wanted, &why))
                extension = std::make_shared<const BackgroundExtension>(std::move(*measured));
            else {
                // The top's reason is the one the checks tell.
                if (!refused || why.edge == Qt::TopEdge)
                    refused = why;
                wanted &= ~Qt::Edges(why.edge);
            }
        }
        rect = fitted(wanted);
        if (!rect)
            return std::nullopt;
    }
    const PanSteps steps = panStepsFor(*rect, photo.width(), photo.height());
    return CropState { *rect, steps.x, steps.y, turn, extension, refused, m_crop.wall };
}

std::optional<FaceMarks> PhotoDocument::face() const
{
    if (!m_loaded || !hasSingleFace())
        return std::nullopt;
    FaceMarks face = m_face->face ? *m_face->face : *m_chosen;
    if (m_marks.hair) {
        face.hairTop = *m_marks.hair;
        face.topFound = FaceMarks::TopFound::ByHand;
    }
    if (m_marks.skull) {
        face.skullTop = *m_marks.skull;
        face.topFound = FaceMarks::TopFound::ByHand;
    }
    // Hair lies on the skull: a skull put above the hair stops at the hair's top, a hair put
    // below the skull takes the skull along.
    if (face.skullTop.y() < face.hairTop.y())
        face.skullTop = face.hairTop;
    return face;
}

std::optional<FaceMarks> PhotoDocument::faceInFrame() const
{
    const QRectF frame = m_crop.rect.toRect();
    std::optional<FaceMarks> nearest;
    double distance = 0;
    for (const FaceMarks &face : m_face->several) {
        const FaceMarks seen = m_crop.turn.isNull() ? face : face.turned(m_crop.turn);
        const QPointF eyes(seen.centreX, seen.eyeLine);
        const double off = QLineF(eyes, frame.center()).length();
        if (frame.contains(eyes) && (!nearest || off < distance)) {
            nearest = face;
            distance = off;
        }
    }
    return nearest;
}

std::optional<FaceMarks> PhotoDocument::fittedFace() const
{
    const std::optional<FaceMarks> upright = face();
    if (!upright || m_crop.turn.isNull())
        return upright;
    return upright->turned(m_crop.turn);
}

std::optional<PhotoDocument::HeadMarksShown> PhotoDocument::headMarks() const
{
    const std::optional<FaceMarks> face = fittedFace();
    const CropRect &r = m_crop.rect;
    if (!face || r.height <= 0)
        return std::nullopt;
    return HeadMarksShown { (face->hair() - r.top) / r.height, (face->crown() - r.top) / r.height,
        face->topFound };
}

bool PhotoDocument::moveHeadMark(FaceRule::Top which, double frameShare)
{
    const std::optional<FaceMarks> face = fittedFace();
    const CropRect &r = m_crop.rect;
    if (!face || r.height <= 0 || !std::isfinite(frameShare))
        return false;
    const bool hair = which == FaceRule::Top::Hair;
    // Along the face's axis, so only the height changes on the photo as shown.
    const QPointF shown((hair ? face->hairTop : face->skullTop).x(), r.top + frameShare * r.height);
    const QPointF upright = m_crop.turn.isNull() ? shown : m_crop.turn.unmap(shown);
    const FitState before { fit(), m_marks };
    HandMarks marks = m_marks;
    (hair ? marks.hair : marks.skull) = upright;
    m_marks = marks;
    std::optional<CropState> next;
    if (m_autoFaceFit)
        next = faceFit();
    m_marks = before.marks;
    return apply(FitState { next.value_or(before.crop), marks }, FitStepKind::HeadMark);
}

FitToCheck PhotoDocument::fitToCheck() const
{
    // The crop touches the top of the photo as it is turned, give or take the pixel a turned
    // fit is rounded inwards by: the head can be placed no lower in it.
    const QRectF rect = m_crop.rect.toRect();
    const QSize photo(m_crop.width(), m_crop.height());
    const QRectF area = m_crop.extension
        ? extendedArea(photo, m_crop.extension->edges(), rect.size())
        : QRectF(QPointF(), QSizeF(photo));
    const bool atTop = m_loaded && !coversRect(area, m_crop.turn, rect.translated(0, -2));
    return { m_shown, fittedFace(), m_idDocument.rule,
        { printMm(), atTop, m_idDocument.whiteForbidden, m_idDocument.teethAllowed,
            m_notExtended } };
}

bool PhotoDocument::straighten()
{
    const std::optional<CropState> face = faceFit(true);
    return face && apply(*face, FitStepKind::Straighten);
}

std::optional<BackgroundReplacement::Why> PhotoDocument::setWall(WallChoice choice)
{
    if (!m_loaded || choice == wall())
        return std::nullopt;
    CropState next = fit();
    next.wall = {};
    if (choice != WallChoice::AsShot) {
        const std::optional<QRgb> colour = choice == WallChoice::White ? WhiteWall
            : choice == WallChoice::LightGrey                          ? LightGreyWall
                                              : m_idDocument.backgroundColour();
        const std::optional<FaceMarks> face = this->face();
        if (!colour || !face)
            return BackgroundReplacement::Why { BackgroundReplacement::Refusal::NoFace };
        // Measured once for the face: a second colour costs nothing.
        if (!m_replacement || m_replacement->face.points != face->points) {
            BackgroundReplacement::Why why;
            const QImage picture = wallPicture();
            const double scale = double(picture.width()) / m_photo->width();
            std::optional<BackgroundReplacement> measured = BackgroundReplacement::measure(
                picture, face->mapped(QTransform::fromScale(scale, scale)), &why);
            if (!measured)
                return why;
            m_replacement = Replacement { *face,
                std::make_shared<const BackgroundReplacement>(std::move(*measured)) };
        }
        next.wall = { m_replacement->measured, *colour, choice };
    }
    apply(next, FitStepKind::Background);
    return std::nullopt;
}

QImage PhotoDocument::wallPicture() const
{
    const QSize photo = m_photo->size();
    const double scale
        = std::min(1.0, double(WallPictureSide) / std::max(photo.width(), photo.height()));
    const QSize size(std::max(1, int(std::lround(photo.width() * scale))),
        std::max(1, int(std::lround(photo.height() * scale))));
    return m_photo->scaledCrop(QRect(QPoint(), photo), size);
}

bool PhotoDocument::run(PhotoCommand command, bool continuing)
{
    const bool joined = continuing && m_stepOpen;
    m_stepOpen = joined;
    if (!m_loaded)
        return false;
    const std::optional<CropState> next
        = applyCommand(command, fit(), QSize(m_crop.width(), m_crop.height()), m_frame);
    const bool zoom = command == PhotoCommand::ZoomIn || command == PhotoCommand::ZoomOut;
    if (!next || !apply(*next, zoom ? FitStepKind::Zoom : FitStepKind::Move, joined))
        return false;
    m_stepOpen = true;
    return true;
}

bool PhotoDocument::undo()
{
    m_stepOpen = false;
    if (!m_undo.canUndo())
        return false;
    m_undo.undo();
    return true;
}

bool PhotoDocument::resetFit()
{
    if (!m_loaded)
        return false;
    const std::optional<CropRect> rect
        = centreCrop(m_crop.width(), m_crop.height(), m_frame.width(), m_frame.height());
    return rect && apply(CropState { *rect, 0, 0, {}, {}, {}, m_crop.wall }, FitStepKind::Reset);
}

bool PhotoDocument::apply(const CropState &next, FitStepKind kind, bool continuing)
{
    return apply(FitState { next, m_marks }, kind, continuing);
}

bool PhotoDocument::apply(const FitState &next, FitStepKind kind, bool continuing)
{
    m_stepOpen = false;
    const FitState before { fit(), m_marks };
    if (next == before)
        return false;
    setState(next.crop);
    const bool shown = m_crop.clipImage().has_value();
    setState(before.crop);
    if (!shown)
        return false;
    // The stack shows the step by redoing it; a step that continues the last one joins it.
    m_undo.push(new FitStep(*this, kind, before, next, continuing));
    return true;
}

void PhotoDocument::setState(const CropState &fit)
{
    m_crop.rect = fit.rect;
    m_crop.turn = fit.turn;
    m_crop.extension = fit.extension;
    m_crop.wall = fit.wall;
    m_notExtended = fit.notExtended;
    m_panStepsX = fit.panStepsX;
    m_panStepsY = fit.panStepsY;
}

void PhotoDocument::restore(const FitState &state)
{
    m_stepOpen = false;
    m_marks = state.marks;
    setState(state.crop);
    if (const std::optional<ClipImage> clip = m_crop.clipImage())
        m_shown = *clip;
    fitDone();
}

void PhotoDocument::fitDone()
{
    emit fitChanged();
    check();
}

void PhotoDocument::setStepNames(const QStringList &names)
{
    m_stepNames = names;
    // The steps keep no language of their own: those taken already are renamed.
    for (int i = 0; i < m_undo.count(); ++i) {
        const QUndoCommand *step = m_undo.command(i);
        const_cast<QUndoCommand *>(step)->setText(m_stepNames.value(step->id()));
    }
}

void PhotoDocument::check()
{
    // Checked once the search has said whether there is one face; the note says when not.
    m_checkThread.clear();
    if (!m_loaded || !m_face || m_noSingleFace || m_shown.isNull()) {
        m_checkWatch.cancel();
        if (std::exchange(m_checks, std::nullopt))
            emit checksChanged();
        return;
    }
    // The checks of an earlier fit are dropped; the note shows them until the new ones end.
    m_checkWatch.setFuture(
        QtConcurrent::run(&m_checkThread, [fit = fitToCheck()] { return fit.check(); }));
}

QSizeF PhotoDocument::panStepOn(const QSizeF &framePixels) const
{
    const CropRect &r = m_crop.rect;
    if (!m_loaded || r.width <= 0 || r.height <= 0)
        return {};
    return { panStep(m_crop.width()) * framePixels.width() / r.width,
        panStep(m_crop.height()) * framePixels.height() / r.height };
}
