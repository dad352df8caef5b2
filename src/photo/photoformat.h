#pragma once

#include "i18n/texttable.h"
#include "platform/units.h"

#include <array>
#include <cmath>

// Where an accepted identity photo has the head, as fractions of the photo's height. Portrait
// formats place the crown (below the top edge), square ones the eye line (above the bottom).
struct FaceRule
{
    enum class Anchor { Crown, EyeLine };
    double headMin, headMax, headTarget; // chin to crown
    Anchor anchor;
    double anchorMin, anchorMax, anchorTarget;
};

inline constexpr FaceRule PortraitFaceRule { 0.70, 0.80, 0.75, FaceRule::Anchor::Crown, 0.08, 0.12,
    0.10 };
inline constexpr FaceRule SquareFaceRule { 0.50, 0.69, 0.60, FaceRule::Anchor::EyeLine, 0.56, 0.69,
    0.62 };

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
    { "35 x 45 mm", 3500, 4500, TextId::NoteSmallPage, PortraitFaceRule },
    { "40 x 40 mm", 4000, 4000, TextId::NoteSmallPage, SquareFaceRule },
    { "50 x 50 mm", 5000, 5000, TextId::NoteSmallPage, SquareFaceRule },
    { "2 x 2 in", 5080, 5080, TextId::NoteLargePage, SquareFaceRule },
} };

inline constexpr bool isPhotoFormatIndex(int index)
{
    return index >= 0 && index < PhotoFormatCount;
}
