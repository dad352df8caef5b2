#pragma once

#include "i18n/texttable.h"
#include "platform/units.h"

#include <array>
#include <cmath>

// Where an accepted identity photo has the head, as fractions of the photo's height. The
// head's height runs from the chin to the top of the skull or, where the office measures so,
// to the top of the hair. Portrait formats place that top (below the top edge), square ones
// the eye line (above the bottom).
struct FaceRule
{
    enum class Anchor { Crown, EyeLine };
    enum class Top { Skull, Hair };
    double headMin, headMax, headTarget; // chin to the top
    Anchor anchor;
    double anchorMin, anchorMax, anchorTarget;
    Top top = Top::Skull;
};

// ICAO: chin to crown 70-80 % of the height, the crown a tenth below the top edge.
inline constexpr FaceRule PortraitFaceRule { 0.70, 0.80, 0.75, FaceRule::Anchor::Crown, 0.08, 0.12,
    0.10 };
// The Schengen offices' 32-36 mm of 45.
inline constexpr FaceRule SchengenFaceRule { 32.0 / 45, 36.0 / 45, 34.0 / 45,
    FaceRule::Anchor::Crown, 0.08, 0.12, 0.10 };
inline constexpr FaceRule SquareFaceRule { 0.50, 0.69, 0.60, FaceRule::Anchor::EyeLine, 0.56, 0.69,
    0.62 };
// The US rule on 2 x 2 in: chin to the top of the hair 1 to 1 3/8 in, the eyes 1 1/8 to
// 1 3/8 in above the bottom.
inline constexpr FaceRule UsFaceRule { 1.0 / 2, 1.375 / 2, 1.1875 / 2, FaceRule::Anchor::EyeLine,
    1.125 / 2, 1.375 / 2, 1.25 / 2, FaceRule::Top::Hair };

// The frame is sized at 100 twips per millimetre of print, so its width and height in
// twips are the photo's size in hundredths of a millimetre.
struct PhotoFormat
{
    const char *caption;
    int frameWidth; // twips
    int frameHeight; // twips
    TextId noteText; // shown in the note label
    FaceRule faceRule;
};

// A photo's pixel counts as a pixel of the screen does.
inline constexpr double TwipsPerPhotoPixel = Units::TwipsPerPixel;

inline constexpr int PhotoFormatCount = 5;

inline constexpr std::array<PhotoFormat, PhotoFormatCount> PhotoFormats = { {
    { "30 x 40 mm", 3000, 4000, TextId::NoteSmallPage, PortraitFaceRule },
    { "35 x 45 mm", 3500, 4500, TextId::NoteSmallPage, SchengenFaceRule },
    { "40 x 40 mm", 4000, 4000, TextId::NoteSmallPage, SquareFaceRule },
    { "50 x 50 mm", 5000, 5000, TextId::NoteSmallPage, SquareFaceRule },
    { "2 x 2 in", 5080, 5080, TextId::NoteLargePage, UsFaceRule },
} };

inline constexpr bool isPhotoFormatIndex(int index)
{
    return index >= 0 && index < PhotoFormatCount;
}
