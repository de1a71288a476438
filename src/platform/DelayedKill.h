#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

// Sends SIGKILL, a fixed delay after it was scheduled, to a process that is still there.
// The process is identified by pid and start time, so a pid reused in between is left alone.
// One small thread, started with the first schedule, serves all.
class DelayedKill {
public:
    explicit DelayedKill(std::chrono::milliseconds delay);
    // Delivers what is still scheduled when it falls due, then stops the thread.
    ~DelayedKill();

    DelayedKill(const DelayedKill&) = delete;
    DelayedKill& operator=(const DelayedKill&) = delete;

    void Schedule(pid_t pid, std::uint64_t startTime);
    // Whether a kill for exactly this process is still to come.
    bool IsScheduled(pid_t pid, std::uint64_t startTime);

private:
    struct Pending {
        pid_t Pid;
        std::uint64_t StartTime;
        std::chrono::steady_clock::time_point Due;
    };

    void Run();

    const std::chrono::milliseconds delay_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pending> pending_;
    bool stopping_ = false;
    std::thread worker_;
};
