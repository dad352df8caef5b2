#pragma once

#include <cstdint>

// The credits panel of the About box: it rises through its viewport, rests while its end is in
// view, rises out at the top and starts again from below. Heights and positions in twips.
struct AboutScroll
{
    static constexpr double StartTop = 2200;
    static constexpr double Step = 10;
    static constexpr int16_t PauseLength = 120;

    double top = StartTop;
    int16_t pauseTicks = 0;

    // One timer tick.
    void step(double viewportHeight, double panelHeight);
};

// The version label stands this far right of the end of the title label.
constexpr double VersionGap = 180;
constexpr double versionLabelLeft(double titleLeft, double titleWidth)
{
    return titleLeft + titleWidth + VersionGap;
}
