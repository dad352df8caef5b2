#include "photoworkspace.h"

#include "cropcommands.h"
#include "photoformat.h"
#include "photoloader.h"

#include <QFileInfo>

LoadOutcome PhotoWorkspace::LoadPhoto(const QString &path)
{
    const QFileInfo file(path);
    if (path.right(3).toUpper() != QLatin1String("JPG") || !file.isFile() || file.isHidden())
        return LoadOutcome::Ignored;

    const PhotoLoadResult loaded = loadPhoto(path);
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
    PictureClip candidate;
    candidate.setPicture(photo);
    const std::optional<CropRect> rect
        = CentreCrop(candidate.width(), candidate.height(), m_frame.width(), m_frame.height());
    if (!rect)
        return LoadOutcome::NoFit;
    candidate.ClipRect = *rect;
    const std::optional<ClipImage> clip = candidate.clipImage();
    if (!clip)
        return LoadOutcome::TooSmall;
    Picture1 = photo;
    PictureClip1 = candidate;
    m_shown = *clip;
    PanStepsX = 0;
    PanStepsY = 0;
    m_loaded = true;
    return LoadOutcome::Accepted;
}

bool PhotoWorkspace::refit()
{
    if (!m_loaded)
        return false;
    PictureClip1.setPicture(Picture1);
    if (const std::optional<CropRect> rect = CentreCrop(
            PictureClip1.width(), PictureClip1.height(), m_frame.width(), m_frame.height()))
        PictureClip1.ClipRect = *rect;
    if (const std::optional<ClipImage> clip = PictureClip1.clipImage())
        m_shown = *clip;
    PanStepsX = 0;
    PanStepsY = 0;
    return true;
}

bool PhotoWorkspace::run(PhotoCommand command)
{
    if (!m_loaded)
        return false;
    bool changed = false;
    CropContext context { PictureClip1, m_frame.width(), m_frame.height(), PanStepsX, PanStepsY,
        [&](const ClipImage &clip) {
            m_shown = clip;
            changed = true;
        } };
    switch (command) {
    case PhotoCommand::ZoomIn:
        ZoomIn(context);
        break;
    case PhotoCommand::ZoomOut:
        ZoomOut(context);
        break;
    case PhotoCommand::Up:
        PhotoUp(context);
        break;
    case PhotoCommand::Down:
        PhotoDown(context);
        break;
    case PhotoCommand::Left:
        PhotoLeft(context);
        break;
    case PhotoCommand::Right:
        PhotoRight(context);
        break;
    }
    return changed;
}
