#pragma once

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>

namespace BenchPhotos {

// Soft gradients, shapes and grain, so the encoder works as hard as on a real photo.
inline QImage photoLike(int width, int height, quint32 seed = 1)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = int(random.bounded(24u)) - 12;
            const int r = std::clamp(60 + 150 * x / width + grain, 0, 255);
            const int g = std::clamp(90 + 100 * y / height + grain, 0, 255);
            const int b = std::clamp(200 - 120 * (x + y) / (width + height) + grain, 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(QColor::fromHsv(int(random.bounded(360u)), 120, 200, 140));
        painter.setPen(Qt::NoPen);
        const int size = int(random.bounded(quint32(std::max(2, std::min(width, height) / 3))));
        painter.drawEllipse(
            int(random.bounded(quint32(width))), int(random.bounded(quint32(height))), size, size);
    }
    return image;
}

} // namespace BenchPhotos
