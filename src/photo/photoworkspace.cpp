#include "photoworkspace.h"

#include "cropcommands.h"
#include "facefit.h"
#include "photoformat.h"
#include "photoloader.h"

#include <QFileInfo>

LoadOutcome PhotoWorkspace::load(const QString &path, qreal pixelRatio)
{
    const QFileInfo file(path);
    const QString name = path.toUpper();
    const bool jpegName = name.endsWith(QLatin1String("JPG"))
        || name.endsWith(QLatin1String("JPEG")) || name.endsWith(QLatin1String("JPE"));
    if (!jpegName || !file.isFile() || file.isHidden())
        return LoadOutcome::Ignored;

    // The frame's pixels on the screen: a screen pixel counts as 15 twips.
    const QSizeF framePixels = m_frame / TwipsPerPhotoPixel * pixelRatio;
    const auto decode = [&path, framePixels] { return loadPhoto(path, framePixels); };
    const PhotoLoadResult loaded = m_loadRunner ? m_loadRunner(decode) : decode();
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
    m_fitWhenFound = false;
    m_noSingleFace = false;
    m_history.clear();
    m_stepOpen = false;
    return LoadOutcome::Accepted;
}

bool PhotoWorkspace::refit()
{
    if (!m_loaded)
        return false;
    m_crop.setPicture(m_photo);
    const std::optional<CropState> face = m_autoFaceFit ? faceFit() : std::nullopt;
    if (face)
        restore(*face);
    else if (const std::optional<CropRect> rect
        = centreCrop(m_crop.width(), m_crop.height(), m_frame.width(), m_frame.height()))
        restore({ *rect, 0, 0, {} });
    if (const std::optional<ClipImage> clip = m_crop.clipImage())
        m_shown = *clip;
    m_history.clear();
    m_stepOpen = false;
    return true;
}

void PhotoWorkspace::selectFormat(int index)
{
    if (!isPhotoFormatIndex(index))
        return;
    m_format = index;
    m_frame = QSizeF(PhotoFormats[index].frameWidth, PhotoFormats[index].frameHeight);
}

bool PhotoWorkspace::setAutoFaceFit(bool on)
{
    m_autoFaceFit = on;
    return on && m_loaded && untouched() && fitFaceOrCentre();
}

bool PhotoWorkspace::setFaceSearch(const PhotoPtr &photo, const FaceSearch &search)
{
    if (!m_loaded || photo != m_photo)
        return false;
    m_face = search;
    // The automatic fit leaves a fit the user has begun alone.
    if (std::exchange(m_fitWhenFound, false) || (m_autoFaceFit && untouched()))
        return fitFaceOrCentre();
    return false;
}

bool PhotoWorkspace::fitFaceOrCentre()
{
    if (!m_loaded)
        return false;
    if (!m_face) {
        m_fitWhenFound = true;
        return false;
    }
    m_noSingleFace = !m_face->face;
    if (m_face->face)
        fitToFace();
    else
        resetFit();
    return true;
}

std::optional<CropState> PhotoWorkspace::faceFit(bool straighten) const
{
    const FaceRule *rule = &PhotoFormats[m_format].faceRule;
    if (!m_loaded || !m_face || !m_face->face)
        return std::nullopt;
    const FaceMarks &face = *m_face->face;
    // A slight tilt is levelled with every fit; a steep one only when asked, since the
    // landmarks of a face turned that far are less sure.
    const double tilt = std::abs(face.tilt());
    const bool turned
        = straighten ? tilt >= LeastTurn : tilt >= AutomaticTurnMin && tilt <= AutomaticTurnMax;
    const Turn turn = turned ? levellingTurn(face) : Turn {};
    const int width = m_crop.width();
    const int height = m_crop.height();
    const std::optional<CropRect> rect = faceCrop(width, height, m_frame.width(), m_frame.height(),
        turn.isNull() ? face : face.turned(turn), *rule, turn);
    if (!rect)
        return std::nullopt;
    const PanSteps steps = panStepsFor(*rect, width, height);
    return CropState { *rect, steps.x, steps.y, turn };
}

std::optional<FaceMarks> PhotoWorkspace::fittedFace() const
{
    if (!m_loaded || !m_face || !m_face->face)
        return std::nullopt;
    return m_crop.turn.isNull() ? *m_face->face : m_face->face->turned(m_crop.turn);
}

bool PhotoWorkspace::straighten()
{
    const std::optional<CropState> face = faceFit(true);
    return face && apply(*face);
}

bool PhotoWorkspace::fitToFace()
{
    const std::optional<CropState> face = faceFit();
    return face && apply(*face);
}

bool PhotoWorkspace::run(PhotoCommand command, bool continuing)
{
    const bool joined = continuing && m_stepOpen;
    m_stepOpen = joined;
    if (!m_loaded)
        return false;
    const std::optional<CropState> next
        = applyCommand(command, fit(), QSize(m_crop.width(), m_crop.height()), m_frame);
    if (!next || !apply(*next, !joined))
        return false;
    m_stepOpen = true;
    return true;
}

bool PhotoWorkspace::undo()
{
    m_stepOpen = false;
    if (m_history.empty())
        return false;
    restore(m_history.back());
    m_history.pop_back();
    if (const std::optional<ClipImage> clip = m_crop.clipImage())
        m_shown = *clip;
    return true;
}

bool PhotoWorkspace::resetFit()
{
    if (!m_loaded)
        return false;
    const std::optional<CropRect> rect
        = centreCrop(m_crop.width(), m_crop.height(), m_frame.width(), m_frame.height());
    return rect && apply({ *rect, 0, 0, {} });
}

bool PhotoWorkspace::apply(const CropState &next, bool newStep)
{
    m_stepOpen = false;
    const CropState before = fit();
    if (next == before)
        return false;
    restore(next);
    const std::optional<ClipImage> clip = m_crop.clipImage();
    if (!clip) {
        restore(before);
        return false;
    }
    m_shown = *clip;
    if (newStep)
        remember(before);
    return true;
}

QSizeF PhotoWorkspace::panStepOn(const QSizeF &framePixels) const
{
    const CropRect &r = m_crop.rect;
    if (!m_loaded || r.width <= 0 || r.height <= 0)
        return {};
    return { panStep(m_crop.width()) * framePixels.width() / r.width,
        panStep(m_crop.height()) * framePixels.height() / r.height };
}

void PhotoWorkspace::restore(const CropState &fit)
{
    m_crop.rect = fit.rect;
    m_crop.turn = fit.turn;
    m_panStepsX = fit.panStepsX;
    m_panStepsY = fit.panStepsY;
}

void PhotoWorkspace::remember(const CropState &fit)
{
    m_history.push_back(fit);
    if (m_history.size() > UndoDepth)
        m_history.pop_front();
}
