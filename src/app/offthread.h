#pragma once

#include <QApplication>
#include <QEventLoop>

#include <functional>
#include <thread>

// Runs work on a thread of its own, with the busy pointer. The windows are painted meanwhile;
// the user's input waits until the work is done, so nothing acts on a half-changed state.
template<class Result> Result runOffThread(const std::function<Result()> &work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result result;
    QEventLoop loop;
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    QApplication::restoreOverrideCursor();
    return result;
}
