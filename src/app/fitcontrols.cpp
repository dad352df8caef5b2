#include "fitcontrols.h"

#include "photoframe.h"
#include "workspaceview.h"

#include <QApplication>
#include <QKeyEvent>

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
        if (m_repeat.held() && m_repeat.due(m_clock.elapsed()))
            emit command(*m_repeat.held());
    });
    connect(view, &WorkspaceView::held, this, &FitControls::hold);
    connect(view, &WorkspaceView::letGo, this, &FitControls::letGo);
    connect(view->frame(), &PhotoFrame::dragStarted, this,
        [this](const QPointF &at) { m_gestures.startDrag(at); });
    connect(view->frame(), &PhotoFrame::dragged, this, [this](const QPointF &at) {
        for (PhotoCommand c : m_gestures.dragTo(at, m_stepOnScreen()))
            emit command(c);
    });
    connect(view->frame(), &PhotoFrame::wheeled, this, [this](int angleDelta) {
        for (PhotoCommand c : m_gestures.wheel(angleDelta))
            emit command(c);
    });
    // The keys reach whichever control has the focus; the arrows would otherwise move between
    // the format options.
    qApp->installEventFilter(this);
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
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto *widget = qobject_cast<QWidget *>(watched);
        return widget && widget->window() == m_window && key(static_cast<QKeyEvent *>(event));
    }
    case QEvent::WindowDeactivate:
        // The key's release goes to another window now.
        if (watched == m_window)
            letGo();
        return false;
    default:
        return false;
    }
}

bool FitControls::key(QKeyEvent *event)
{
    const std::optional<PhotoCommand> command = commandForKey(event->key());
    if (!command || !m_active()
        || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    // The system's own key repeat is not used: the held key repeats at the buttons' pace.
    if (event->isAutoRepeat())
        return true;
    if (event->type() == QEvent::KeyPress) {
        m_heldKey = event->key();
        hold(*command);
    } else if (m_heldKey == event->key()) {
        letGo();
    }
    return true;
}

void FitControls::hold(PhotoCommand command)
{
    emit this->command(command);
    m_repeat.press(command, m_clock.elapsed());
    m_timer.start();
}

void FitControls::letGo()
{
    m_repeat.release();
    m_timer.stop();
    m_heldKey.reset();
}
