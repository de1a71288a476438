#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

#include "conversion/Scheduler.h"
#include "platform/Poster.h"

// The GUI thread's loop for tests without a window: real timers and tasks posted from other
// threads, all run on the thread that calls RunUntil.
class RealTimeLoop : public IScheduler, public IPoster {
public:
    using Clock = std::chrono::steady_clock;

    void After(int milliseconds, std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        timers_.emplace(std::make_pair(Clock::now() + std::chrono::milliseconds(milliseconds),
                                       seq_++),
                        std::move(task));
        changed_.notify_all();
    }
    void Post(std::function<void()> task) override {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(task));
        changed_.notify_all();
    }

    // Serves posted tasks and due timers until `done` holds; false when `timeout` passed first.
    // `longestTask` is the longest single task seen (a stall of the loop).
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        while (!done()) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                for (;;) {
                    if (!posted_.empty()) {
                        task = std::move(posted_.front());
                        posted_.pop_front();
                        break;
                    }
                    const auto now = Clock::now();
                    if (!timers_.empty() && timers_.begin()->first.first <= now) {
                        task = std::move(timers_.begin()->second);
                        timers_.erase(timers_.begin());
                        break;
                    }
                    if (now >= deadline) return false;
                    auto wake = deadline;
                    if (!timers_.empty() && timers_.begin()->first.first < wake)
                        wake = timers_.begin()->first.first;
                    changed_.wait_until(lock, wake);
                }
            }
            const auto started = Clock::now();
            task();
            longestTask = std::max(longestTask, Clock::now() - started);
        }
        return true;
    }

    Clock::duration longestTask{};

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> posted_;
    std::map<std::pair<Clock::time_point, std::uint64_t>, std::function<void()>> timers_;
    std::uint64_t seq_ = 0;
};
