#include "bmptojpg.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

int16_t BMPToJPG(const QString &bmpPath, const QString &jpgPath, int quality, BmpToJpgFailure *failure)
{
    auto fail = [failure](BmpToJpgFailure why) {
        if (failure)
            *failure = why;
        return int16_t(0);
    };
    QImageReader reader(bmpPath, "bmp");
    const QImage image = reader.read();
    if (image.isNull())
        return fail(BmpToJpgFailure::SourceUnreadable);

    // Encoded in memory first: the file is then written in one checked piece.
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        return fail(BmpToJpgFailure::SourceUnreadable);

    QSaveFile file(jpgPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(BmpToJpgFailure::TargetUnwritable);
    if (file.write(jpeg) != jpeg.size()) {
        file.cancelWriting();
        return fail(BmpToJpgFailure::TargetUnwritable);
    }
    if (!file.commit())
        return fail(BmpToJpgFailure::TargetUnwritable);
    if (failure)
        *failure = BmpToJpgFailure::None;
    return 1;
}
