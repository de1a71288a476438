#include "platform/DelayedKill.h"

#include "platform/ProcStat.h"

#include <csignal>

namespace {

void KillIfStillThere(pid_t pid, std::uint64_t startTime) {
    const auto stat = ReadProcStat(pid);
    if (!stat || stat->StartTime != startTime || stat->State == 'Z' || stat->State == 'X') {
        return;  // gone, ended and waiting to be reaped, or a different process by now
    }
    // Failure here means it ended in the meantime; nothing is left to do.
    (void)::kill(pid, SIGKILL);
}

}  // namespace

DelayedKill::DelayedKill(std::chrono::milliseconds delay) : delay_(delay) {}

DelayedKill::~DelayedKill() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void DelayedKill::Schedule(pid_t pid, std::uint64_t startTime) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({pid, startTime, std::chrono::steady_clock::now() + delay_});
        if (!worker_.joinable()) {
            worker_ = std::thread([this] { Run(); });
        }
    }
    changed_.notify_all();
}

bool DelayedKill::IsScheduled(pid_t pid, std::uint64_t startTime) {
    std::lock_guard lock(mutex_);
    for (const Pending& p : pending_) {
        if (p.Pid == pid && p.StartTime == startTime) {
            return true;
        }
    }
    return false;
}

void DelayedKill::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (pending_.empty()) {
            if (stopping_) {
                return;
            }
            changed_.wait(lock);
            continue;
        }
        // Every entry waits the same delay, so the queue is in order of falling due.
        const Pending next = pending_.front();
        if (std::chrono::steady_clock::now() < next.Due) {
            changed_.wait_until(lock, next.Due);
            continue;
        }
        pending_.pop_front();
        lock.unlock();
        KillIfStillThere(next.Pid, next.StartTime);
        lock.lock();
    }
}
