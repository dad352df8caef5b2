#include "fitcontrols.h"

#include "photoframe.h"
#include "workspaceview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

FitControls::FitControls(QWidget *window, WorkspaceView *view, std::function<QSizeF()> stepOnScreen,
    std::function<bool()> active)
    : QObject(window)
    , m_window(window)
    , m_stepOnScreen(std::move(stepOnScreen))
    , m_active(std::move(active))
{
    m_clock.start();
    // Often enough that a repeat never waits long past its time.
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // A menu or dialog that opened meanwhile takes the key's release.
        if (!windowHasKeyboard())
            letGo();
        else if (m_repeat.held() && m_repeat.due(m_clock.elapsed()))
            emit command(*m_repeat.held(), true);
    });
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (m_heldKey)
            letGo();
    });
    connect(view, &WorkspaceView::held, this, &FitControls::hold);
    connect(view, &WorkspaceView::letGo, this, &FitControls::letGo);
    connect(view->frame(), &PhotoFrame::dragStarted, this, [this](const QPointF &at) {
        m_gestures.startDrag(at);
        m_dragMoved = false;
    });
    connect(view->frame(), &PhotoFrame::dragged, this, [this](const QPointF &at) {
        for (PhotoCommand c : m_gestures.dragTo(at, m_stepOnScreen()))
            emit command(c, std::exchange(m_dragMoved, true));
    });
    connect(view->frame(), &PhotoFrame::wheeled, this, [this](int angleDelta) {
        for (PhotoCommand c : m_gestures.wheel(angleDelta))
            emit command(c, false);
    });
    // The keys reach whichever of the window's controls has the focus; the arrows would
    // otherwise move between the format options.
    window->installEventFilter(this);
    for (QWidget *child : window->findChildren<QWidget *>())
        child->installEventFilter(this);
}

std::optional<PhotoCommand> FitControls::commandForKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return PhotoCommand::Up;
    case Qt::Key_Down:
        return PhotoCommand::Down;
    case Qt::Key_Left:
        return PhotoCommand::Left;
    case Qt::Key_Right:
        return PhotoCommand::Right;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return PhotoCommand::ZoomIn;
    case Qt::Key_Minus:
        return PhotoCommand::ZoomOut;
    default:
        return std::nullopt;
    }
}

bool FitControls::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: // a shortcut such as Ctrl+Z is about to run
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return key(watched, static_cast<QKeyEvent *>(event));
    case QEvent::WindowDeactivate:
        // The key's release goes to another window now.
        if (watched == m_window)
            letGo();
        return false;
    default:
        return false;
    }
}

bool FitControls::windowHasKeyboard() const
{
    return m_window->isActiveWindow() && !QApplication::activePopupWidget()
        && !QApplication::activeModalWidget()
        && !qobject_cast<QMenuBar *>(QApplication::focusWidget());
}

// The scan code names the physical key; without one, the key's command does, so "+" let go
// as "=" after Shift still ends the zoom it started.
bool FitControls::isHeldKey(const QKeyEvent *event) const
{
    if (m_heldKey->scanCode && event->nativeScanCode())
        return m_heldKey->scanCode == event->nativeScanCode();
    return commandForKey(event->key()) == m_heldKey->command;
}

bool FitControls::key(QObject *watched, QKeyEvent *event)
{
    const bool release = event->type() == QEvent::KeyRelease;
    if (m_heldKey && !event->isAutoRepeat() && release == isHeldKey(event)) {
        // The held key's own release, or any other key pressed meanwhile.
        letGo();
        if (release)
            return true;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    const std::optional<PhotoCommand> command = commandForKey(event->key());
    if (event->type() == QEvent::ShortcutOverride || !command || !m_active() || !widget
        || widget->window() != m_window || !windowHasKeyboard()
        || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    // The system's own key repeat is not used: the held key repeats at the buttons' pace.
    if (!event->isAutoRepeat() && !release) {
        m_heldKey = HeldKey { event->nativeScanCode(), *command };
        hold(*command);
    }
    return true;
}

void FitControls::hold(PhotoCommand command)
{
    emit this->command(command, false);
    m_repeat.press(command, m_clock.elapsed());
    m_timer.start();
}

void FitControls::letGo()
{
    m_repeat.release();
    m_timer.stop();
    m_heldKey.reset();
}
