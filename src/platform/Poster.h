#pragma once

#include <functional>

// Hands a task to another thread (the GUI thread in the program) without waiting for it.
// Tasks posted from one thread are served in the order they were posted.
class IPoster {
public:
    virtual ~IPoster() = default;
    virtual void Post(std::function<void()> task) = 0;
};
