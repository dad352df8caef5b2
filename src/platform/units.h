#pragma once

// The program's units. A twip is 1/15 of a logical screen pixel; the photo frame is sized at
// 100 twips per millimetre of print, so its width and height are the photo's print size in
// hundredths of a millimetre, and a photo's pixel counts as a screen pixel does.
namespace Units {
inline constexpr double TwipsPerPixel = 15.0;
inline constexpr double TwipsPerMillimetre = 100.0;
inline constexpr double MillimetresPerInch = 25.4;
} // namespace Units
