#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

// Every conversion of a floating-point value to an integer rounds to the nearest
// integer with halves going to the even neighbour (1285.5 -> 1286, 0.5 -> 0).
inline double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default rounding mode is to-nearest-even
}

// A value that does not fit is a failure of the step, never a silent wrap-around.
template<typename Int> std::optional<Int> roundToInt(double value)
{
    const double rounded = roundHalfEven(value);
    if (!(rounded >= double(std::numeric_limits<Int>::min())
            && rounded <= double(std::numeric_limits<Int>::max())))
        return std::nullopt; // also NaN
    return static_cast<Int>(rounded);
}

inline std::optional<int16_t> toInt16(double value)
{
    return roundToInt<int16_t>(value);
}
inline std::optional<int32_t> toInt32(double value)
{
    return roundToInt<int32_t>(value);
}
