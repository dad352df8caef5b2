#pragma once

#include "photo/iddocument.h"

#include <QSize>
#include <QString>

#include <optional>

// How the copy of the fitted photo for an online application is written.
struct OnlineCopyPlan
{
    QSize pixels;
    int dotsPerInch = 0; // at the document's print size
    qint64 limitBytes = 0; // 0: no limit
    qint64 leastBytes = 0; // the document's lower limit; 0: none
};

inline constexpr int OnlineCopyDefaultDpi = 600;
// A document given in pixels has no print size: its copy says what a photo lab prints at.
inline constexpr int OnlineCopyDigitalDpi = 300;
inline constexpr int OnlineCopyLargestSide = 10000;
// A KB of a size limit: portals count 1000 or 1024 bytes, and a file within 1000 passes both.
inline constexpr qint64 OnlineCopyBytesPerKb = 1000;
// Up to 5 % more pixels than the photo holds blur less than the JPEG itself does, and the
// factor, told with one decimal, would read 1.0.
inline constexpr double OnlineCopySoftAbove = 1.05;

// What the dialog offers first.
struct OnlineCopyDefaults
{
    QSize pixels;
    int limitKb = 0; // 0: no limit
};

// The file the document's office takes. Where its rule gives a range of widths: the widest
// width in it that enlarges neither side of the photo's own pixels (`ownPixels`, the crop in
// them), the narrowest of the range when they hold less, the height in the document's
// proportions. Otherwise a document in pixels at that size, a printed one at its print size
// at 600 dots per inch. The rule's upper KB limit, if any.
OnlineCopyDefaults defaultOnlineCopy(const IdDocument &document, const QSize &ownPixels);
// How many times the copy enlarges the photo's own pixels, in the direction it enlarges more.
double onlineCopyEnlargement(const QSize &copy, const QSize &ownPixels);
// "827 x 1063": how the dialog shows a size, and a text planOnlineCopy() reads back.
QString pixelSizeText(const QSize &pixels);

// Reads the typed size ("600 x 771", "600x771", "600×771" or just the width "600") and the
// limit in KB of 1000 bytes (empty: none); the lower limit is the document's. The copy keeps
// the document's proportions: a typed height within one pixel of the one the width gives is
// kept, as the other rounding of the same height; any other is taken from the width. Nothing for
// text that is not whole numbers, a zero, or a side, typed or following from the width, above 10000
// pixels.
std::optional<OnlineCopyPlan> planOnlineCopy(
    const QString &size, const QString &limitKb, const IdDocument &document);
