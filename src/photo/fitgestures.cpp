#include "fitgestures.h"

#include <algorithm>
#include <cmath>

void CommandRepeat::press(PhotoCommand command, qint64 nowMs)
{
    m_held = command;
    m_pressedAt = nowMs;
    m_runs = 1;
}

bool CommandRepeat::due(qint64 nowMs)
{
    const qint64 held = nowMs - m_pressedAt;
    if (!m_held || held < FirstDelayMs)
        return false;
    const qint64 runs = 2 + (held - FirstDelayMs) / IntervalMs;
    if (runs <= m_runs)
        return false;
    m_runs = runs;
    return true;
}

namespace {

// Whole steps of `delta`, each one a command; the anchor moves by the steps taken.
void steps(double delta, double step, PhotoCommand forward, PhotoCommand back, double &anchor,
    QList<PhotoCommand> &commands)
{
    if (step <= 0)
        return;
    const int count = std::min(int(std::abs(delta) / step), FrameGestures::MaxCommands);
    commands.insert(commands.size(), count, delta > 0 ? forward : back);
    anchor += std::copysign(count * step, delta);
}

} // namespace

QList<PhotoCommand> FrameGestures::dragTo(const QPointF &at, const QSizeF &step)
{
    QList<PhotoCommand> commands;
    steps(at.x() - m_anchor.x(), step.width(), PhotoCommand::Right, PhotoCommand::Left,
        m_anchor.rx(), commands);
    steps(at.y() - m_anchor.y(), step.height(), PhotoCommand::Down, PhotoCommand::Up, m_anchor.ry(),
        commands);
    return commands;
}

QList<PhotoCommand> FrameGestures::wheel(int angleDelta)
{
    m_wheel += angleDelta;
    const int notches = std::clamp(m_wheel / 120, -MaxCommands, MaxCommands);
    m_wheel -= notches * 120;
    return QList<PhotoCommand>(
        std::abs(notches), notches > 0 ? PhotoCommand::ZoomIn : PhotoCommand::ZoomOut);
}
