#pragma once

#include "photo/fitgestures.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;
class WorkspaceView;

// Every way of fitting the photo besides a single click, all ending in the six commands: a
// held button or key repeats, the arrow keys and + / - act as the buttons, a drag moves the
// photo after the pointer and the wheel zooms. A held key repeats until its own key is let
// go; any other key, a focus change, a menu or a dialog ends the repetition. Made once the
// window's controls are there.
class FitControls : public QObject
{
    Q_OBJECT
public:
    // `stepOnScreen` gives one pan step's length in the frame's pixels; `active` whether a
    // photo is there to fit (until then the keys keep their usual meaning).
    FitControls(QWidget *window, WorkspaceView *view, std::function<QSizeF()> stepOnScreen,
        std::function<bool()> active);

    // The command of a key, if it has one: the arrows as the arrow buttons, + and - (also
    // on the keypad) as the zoom buttons.
    static std::optional<PhotoCommand> commandForKey(int key);

    // Ends a held key's or button's repetition.
    void letGo();

signals:
    // `continuing`: the command continues the one before it in one gesture (a repeat, a
    // drag), which undo takes back as one step.
    void command(PhotoCommand command, bool continuing);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct HeldKey
    {
        quint32 scanCode; // 0 when the platform gives none
        PhotoCommand command;
    };

    bool key(QObject *watched, QKeyEvent *event);
    bool isHeldKey(const QKeyEvent *event) const;
    // The main window itself has the keyboard: no popup, no dialog, not the menu bar.
    bool windowHasKeyboard() const;
    void hold(PhotoCommand command);

    QWidget *m_window;
    std::function<QSizeF()> m_stepOnScreen;
    std::function<bool()> m_active;
    CommandRepeat m_repeat;
    FrameGestures m_gestures;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::optional<HeldKey> m_heldKey;
    bool m_dragMoved = false;
};
