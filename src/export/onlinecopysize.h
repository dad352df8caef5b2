#pragma once

#include "photo/photoformat.h"

#include <QSize>
#include <QString>

#include <optional>

// How the copy of the fitted photo for an online application is written.
struct OnlineCopyPlan
{
    QSize pixels;
    int dotsPerInch = 0; // at the format's print size
    qint64 limitBytes = 0; // 0: no limit
};

inline constexpr int OnlineCopyDefaultDpi = 600;
inline constexpr int OnlineCopyLargestSide = 10000;
// A KB of a size limit: portals count 1000 or 1024 bytes, and a file within 1000 passes both.
inline constexpr qint64 OnlineCopyBytesPerKb = 1000;

// The format's print size at 600 dots per inch.
QSize defaultOnlineCopyPixels(const PhotoFormat &format);
// "827 x 1063": how the dialog shows a size, and a text planOnlineCopy() reads back.
QString pixelSizeText(const QSize &pixels);

// Reads the typed size ("600 x 771", "600x771", "600×771" or just the width "600") and the
// limit in KB of 1000 bytes (empty: none). The copy keeps the format's proportions: a typed
// height within one pixel of the one the width gives is kept, as the other rounding of the same
// height; any other is taken from the width. Nothing for text that is not whole numbers, a zero,
// or a side, typed or following from the width, above 10000 pixels.
std::optional<OnlineCopyPlan> planOnlineCopy(
    const QString &size, const QString &limitKb, const PhotoFormat &format);
