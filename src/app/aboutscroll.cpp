#include "aboutscroll.h"

#include <limits>

void AboutScroll::step(double viewportHeight, double panelHeight)
{
    // The pause position is computed in single precision, as the panel's position always was.
    const float pausePosition = float(viewportHeight) - float(panelHeight);
    if (top > pausePosition) {
        top -= Step;
    } else {
        if (pauseTicks < std::numeric_limits<int16_t>::max())
            ++pauseTicks;
        if (pauseTicks > PauseLength)
            top -= Step;
    }
    if (top < -panelHeight) {
        top = StartTop;
        pauseTicks = 0;
    }
}
