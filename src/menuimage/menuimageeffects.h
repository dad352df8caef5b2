#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

// Pixel rules of the menu images. Every image here is ARGB32 with straight (not
// premultiplied) alpha, so colours and alpha can be changed independently.

// The source drawn scaled from its full size to exactly the slot size.
QImage fitToSlot(const QImage &source, QSize size);
// Colours kept, alpha multiplied by 0.7: a faded image.
QImage ghostedImage(const QImage &image);
// The look of a disabled item: each colour becomes the luminance
// 0.299 R + 0.587 G + 0.114 B, and alpha is halved.
QImage greyedImage(const QImage &image);
