#pragma once

#include "i18n/texttable.h"

#include <array>

// The frame is sized at 100 twips per millimetre of print, so its width and height in
// twips are the photo's size in hundredths of a millimetre.
struct PhotoFormat
{
    const char *caption;
    int frameWidth; // twips
    int frameHeight; // twips
    TextId noteText; // shown in the note label
};

// A photo's pixel counts as 15 twips, as a pixel of the screen does.
inline constexpr double TwipsPerPhotoPixel = 15.0;

inline constexpr int PhotoFormatCount = 5;

inline constexpr std::array<PhotoFormat, PhotoFormatCount> PhotoFormats = { {
    { "30 x 40 mm", 3000, 4000, TextId::NoteSmallPage },
    { "35 x 45 mm", 3500, 4500, TextId::NoteSmallPage },
    { "40 x 40 mm", 4000, 4000, TextId::NoteSmallPage },
    { "50 x 50 mm", 5000, 5000, TextId::NoteSmallPage },
    { "2 x 2 in", 5080, 5080, TextId::NoteLargePage },
} };

inline constexpr bool isPhotoFormatIndex(int index)
{
    return index >= 0 && index < PhotoFormatCount;
}
