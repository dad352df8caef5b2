#include "menuimageeffects.h"

#include "platform/rounding.h"

#include <algorithm>

namespace {

int channel(double value)
{
    return int(std::clamp(roundHalfEven(value), 0.0, 255.0));
}

template<typename PixelRule> QImage mapPixels(const QImage &image, PixelRule rule)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            line[x] = rule(line[x]);
    }
    return result;
}

} // namespace

QImage fitToSlot(const QImage &source, QSize size)
{
    if (source.isNull() || size.isEmpty())
        return {};
    if (source.size() == size)
        return source.convertToFormat(QImage::Format_ARGB32);
    // Scaled with premultiplied alpha, so transparent pixels lend no colour to their neighbours.
    return source.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QImage ghostedImage(const QImage &image)
{
    return mapPixels(image, [](QRgb pixel) {
        return qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), channel(qAlpha(pixel) * 0.7));
    });
}

QImage greyedImage(const QImage &image)
{
    return mapPixels(image, [](QRgb pixel) {
        const int grey
            = channel(0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel));
        return qRgba(grey, grey, grey, channel(qAlpha(pixel) * 0.5));
    });
}
