#pragma once

#include <functional>

// Timers and posted calls on the GUI thread. The window's scheduler runs each task from the
// event loop (so pending window messages are handled before it) and reports a task that throws
// as any handler's error; tests use a manual clock.
class IScheduler {
public:
    virtual ~IScheduler() = default;
    // Runs `task` on the GUI thread once `milliseconds` have passed; 0 runs it as soon as the
    // messages already pending have been handled. Tasks due at the same time run in the order
    // they were scheduled.
    virtual void After(int milliseconds, std::function<void()> task) = 0;
};
