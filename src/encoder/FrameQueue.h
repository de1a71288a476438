#pragma once

// A bounded queue between two pipeline threads. Push blocks while full, Pop while empty; Close
// ends the stream after the queued items, Abort ends it at once (both wake every waiter).

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace kestrava::encoder {

template <typename T>
class FrameQueue {
public:
    explicit FrameQueue(size_t capacity) : capacity_(capacity) {}

    // False when the queue was aborted (the item is dropped).
    bool Push(T&& item) {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [&] { return aborted_ || items_.size() < capacity_; });
        if (aborted_ || closed_)
            return false;
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    // False at the end of the stream (closed and drained) or when aborted.
    bool Pop(T& item) {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [&] { return aborted_ || closed_ || !items_.empty(); });
        if (aborted_ || items_.empty())
            return false;
        item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return true;
    }

    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

    void Abort() {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        items_.clear();
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable notEmpty_, notFull_;
    std::deque<T> items_;
    size_t capacity_;
    bool closed_ = false;
    bool aborted_ = false;
};

}  // namespace kestrava::encoder
