#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>

#include <functional>
#include <thread>
#include <utility>

// Holds back the user's input while work runs, so nothing acts on a half-changed state. A
// request to quit (Ctrl+Q, closing a window) is the exception: nothing has changed yet, so
// the program may end at once rather than after the work.
class InputHold : public QObject
{
public:
    InputHold(QList<QKeySequence> quitKeys, std::function<void()> quit)
        : m_quitKeys(std::move(quitKeys))
        , m_quit(std::move(quit))
    {
        qApp->installEventFilter(this);
    }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *target, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            if (m_quitKeys.contains(
                    QKeySequence(static_cast<QKeyEvent *>(event)->keyCombination())))
                quit();
            return true;
        case QEvent::Close:
            if (target->isWidgetType() && static_cast<QWidget *>(target)->isWindow())
                quit();
            event->ignore();
            return true;
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

private:
    // Once: a key comes as a shortcut override and again as a key press.
    void quit()
    {
        if (!std::exchange(m_asked, true))
            m_quit();
    }

    QList<QKeySequence> m_quitKeys;
    std::function<void()> m_quit;
    bool m_asked = false;
};

// Runs work on a thread of its own, with the busy pointer and the user's input held back; the
// windows are painted meanwhile. `quit` answers a request to quit made meanwhile: one of the
// quit keys or closing a window.
template<class Result>
Result runOffThread(const std::function<Result()> &work, const QList<QKeySequence> &quitKeys,
    const std::function<void()> &quit)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result result;
    QEventLoop loop;
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    {
        const InputHold hold(quitKeys, quit);
        loop.exec();
    }
    worker.join();
    QApplication::restoreOverrideCursor();
    return result;
}
