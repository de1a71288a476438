#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "conversion/Scheduler.h"

// A scheduler on a virtual clock: nothing runs until the test advances time.
class ManualScheduler : public IScheduler {
public:
    void After(int milliseconds, std::function<void()> task) override {
        queue_.emplace(std::make_pair(now + (milliseconds > 0 ? milliseconds : 0), seq_++),
                       std::move(task));
    }

    // Runs every task due within `milliseconds` from now, in time order, advancing the clock.
    void RunFor(std::int64_t milliseconds) {
        const std::int64_t end = now + milliseconds;
        while (!queue_.empty() && queue_.begin()->first.first <= end) RunNext();
        now = end;
    }
    // Runs tasks until none is left or `limit` tasks ran; returns how many ran.
    int RunUntilIdle(int limit = 100000) {
        int ran = 0;
        while (!queue_.empty() && ran < limit) {
            RunNext();
            ++ran;
        }
        return ran;
    }
    bool Idle() const { return queue_.empty(); }

    std::int64_t now = 0;

private:
    void RunNext() {
        auto it = queue_.begin();
        now = it->first.first;
        auto task = std::move(it->second);
        queue_.erase(it);
        task();
    }
    std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> queue_;
    std::uint64_t seq_ = 0;
};
