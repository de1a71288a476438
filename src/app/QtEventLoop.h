#pragma once

#include <QObject>
#include <functional>

#include "conversion/Scheduler.h"
#include "platform/Poster.h"
#include "storage/MessageBoxes.h"

// The GUI thread's event loop as the core reaches it: posted tasks and timers both run from the
// Qt event loop of the thread that owns `context`, inside the handler guard, so an error in a
// task is reported like any handler's. Tasks still pending when `context` is destroyed are
// dropped; nothing may be posted after that (the threads that post end before it).
class QtEventLoop : public IScheduler, public IPoster {
public:
    QtEventLoop(QObject& context, IMessageBoxes& boxes);

    // IScheduler: a single-shot timer; 0 runs after the events already queued.
    void After(int milliseconds, std::function<void()> task) override;
    // IPoster: safe from any thread; tasks from one thread run in the order posted.
    void Post(std::function<void()> task) override;

private:
    QObject* context_;
    IMessageBoxes& boxes_;
};
