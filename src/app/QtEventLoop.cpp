#include "app/QtEventLoop.h"

#include <QMetaObject>
#include <QTimer>

#include "app/HandlerGuard.h"

QtEventLoop::QtEventLoop(QObject& context, IMessageBoxes& boxes)
    : context_(&context), boxes_(boxes) {}

void QtEventLoop::After(int milliseconds, std::function<void()> task) {
    QTimer::singleShot(milliseconds < 0 ? 0 : milliseconds, context_,
                       [&boxes = boxes_, task = std::move(task)] { Guarded(boxes, task); });
}

void QtEventLoop::Post(std::function<void()> task) {
    // A queued call runs on the context's thread; Qt keeps the order of calls posted from one
    // thread, and drops them when the context goes away first.
    QMetaObject::invokeMethod(
        context_, [&boxes = boxes_, task = std::move(task)] { Guarded(boxes, task); },
        Qt::QueuedConnection);
}
