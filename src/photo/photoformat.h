#pragma once

#include <array>

// The frame is sized at 100 twips per millimetre of print, so its width and height in
// twips are the photo's size in hundredths of a millimetre.
struct PhotoFormat
{
    const char *caption;
    int frameWidth; // twips
    int frameHeight; // twips
    int noteText; // text number shown in the note label
};

inline constexpr int PhotoFormatCount = 5;

inline constexpr std::array<PhotoFormat, PhotoFormatCount> PhotoFormats = {{
    {"30 x 40 mm", 3000, 4000, 44},
    {"35 x 45 mm", 3500, 4500, 44},
    {"40 x 40 mm", 4000, 4000, 44},
    {"50 x 50 mm", 5000, 5000, 44},
    {"2 x 2 in", 5080, 5080, 45},
}};

inline constexpr bool isPhotoFormatIndex(int index)
{
    return index >= 0 && index < PhotoFormatCount;
}
