#pragma once

#include "photo/photoformat.h"

#include <QSize>
#include <QString>

#include <array>
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
// Up to 5 % more pixels than the photo holds blur less than the JPEG itself does, and the
// factor, told with one decimal, would read 1.0.
inline constexpr double OnlineCopySoftAbove = 1.05;

// What a portal takes for the photos of one print size: a width between two sides (the
// height follows the print's proportions) and a file size limit.
struct OnlineCopyRule
{
    int frameWidth, frameHeight; // twips: the print size it is for
    int smallestWidth, largestWidth; // pixels
    int limitKb;
};

inline constexpr std::array<OnlineCopyRule, 1> OnlineCopyRules = { {
    // The US visa and passport portals: 2 x 2 in as a square of 600 to 1200 pixels, 240 KB.
    { 5080, 5080, 600, 1200, 240 },
} };

// What the dialog offers first.
struct OnlineCopyDefaults
{
    QSize pixels;
    int limitKb = 0; // 0: no limit
};

// The portal's rule for the format, with the photo's own pixels kept where the rule allows, or
// else the format's print size at 600 dots per inch without a limit. `ownPixels` is the size
// of the crop in the photo's own pixels.
OnlineCopyDefaults defaultOnlineCopy(const PhotoFormat &format, const QSize &ownPixels);
// How many times the copy enlarges the photo's own pixels, in the direction it enlarges more.
double onlineCopyEnlargement(const QSize &copy, const QSize &ownPixels);
// "827 x 1063": how the dialog shows a size, and a text planOnlineCopy() reads back.
QString pixelSizeText(const QSize &pixels);

// Reads the typed size ("600 x 771", "600x771", "600×771" or just the width "600") and the
// limit in KB of 1000 bytes (empty: none). The copy keeps the format's proportions: a typed
// height within one pixel of the one the width gives is kept, as the other rounding of the same
// height; any other is taken from the width. Nothing for text that is not whole numbers, a zero,
// or a side, typed or following from the width, above 10000 pixels.
std::optional<OnlineCopyPlan> planOnlineCopy(
    const QString &size, const QString &limitKb, const PhotoFormat &format);
