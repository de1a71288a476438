#pragma once

#include "platform/Poster.h"

#include <deque>
#include <functional>
#include <mutex>

// Queues posted tasks until the test serves them, as the GUI thread's queue would.
class QueuePoster : public IPoster {
public:
    void Post(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }

    std::size_t Pending() const {
        std::lock_guard lock(mutex_);
        return tasks_.size();
    }

    // Serves every task queued so far, in order, on the calling thread; how many it served.
    std::size_t Drain() {
        std::deque<std::function<void()>> tasks;
        {
            std::lock_guard lock(mutex_);
            tasks.swap(tasks_);
        }
        for (auto& task : tasks) {
            task();
        }
        return tasks.size();
    }

private:
    mutable std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
};

// Serves every task at once on the posting thread.
class InlinePoster : public IPoster {
public:
    void Post(std::function<void()> task) override { task(); }
};
