#pragma once

#include "cropcommands.h"

#include <QList>
#include <QPointF>
#include <QSizeF>

#include <optional>

// A held button or key runs its command at once, again after FirstDelayMs, then every
// IntervalMs until it is let go. The time comes from the caller, in milliseconds.
class CommandRepeat
{
public:
    static constexpr qint64 FirstDelayMs = 400;
    static constexpr qint64 IntervalMs = 40;

    // The caller runs the command once now.
    void press(PhotoCommand command, qint64 nowMs);
    void release() { m_held.reset(); }
    std::optional<PhotoCommand> held() const { return m_held; }
    // Whether the held command is due again. A caller that fell behind gets one run, not a
    // burst, so a slow photo never jumps.
    bool due(qint64 nowMs);

private:
    std::optional<PhotoCommand> m_held;
    qint64 m_pressedAt = 0;
    qint64 m_runs = 0;
};

// The mouse over the frame: a drag moves the photo after the pointer by whole pan steps, the
// wheel zooms by one command per notch.
class FrameGestures
{
public:
    // At most this many commands for one pointer event, so a wild jump cannot stall the window.
    static constexpr int MaxCommands = 50;

    void startDrag(const QPointF &at) { m_anchor = at; }
    // The commands that bring the photo after the pointer, given one pan step's length on the
    // screen.
    QList<PhotoCommand> dragTo(const QPointF &at, const QSizeF &step);
    // Wheel turns in eighths of a degree, 120 to a notch; away from the user zooms in.
    QList<PhotoCommand> wheel(int angleDelta);

private:
    QPointF m_anchor;
    int m_wheel = 0;
};
