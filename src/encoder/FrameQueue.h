#pragma once

// A bounded queue between two pipeline threads. Push blocks while full, Pop while empty; Close
// ends the stream after the queued items, Abort ends it at once (both wake every waiter).
// With a batch above 1, a waiting consumer is woken once a batch is queued (and a waiting
// producer once a batch is free), so that small items do not cost a thread switch each.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

namespace kestrava::encoder {

template <typename T>
class FrameQueue {
public:
    explicit FrameQueue(size_t capacity, size_t batch = 1)
        : capacity_(capacity), batch_(batch < 1 ? 1 : batch > capacity ? capacity : batch) {}

    // False when the queue was aborted (the item is dropped).
    bool Push(T&& item) {
        std::unique_lock lock(mutex_);
        if (items_.size() >= capacity_)
            notFull_.wait(lock, [&] { return aborted_ || items_.size() + batch_ <= capacity_; });
        if (aborted_ || closed_)
            return false;
        items_.push_back(std::move(item));
        if (items_.size() >= batch_)
            notEmpty_.notify_one();
        return true;
    }

    // False at the end of the stream (closed and drained) or when aborted.
    bool Pop(T& item) {
        std::unique_lock lock(mutex_);
        if (items_.empty())
            notEmpty_.wait(lock, [&] { return aborted_ || closed_ || items_.size() >= batch_; });
        if (aborted_ || items_.empty())
            return false;
        item = std::move(items_.front());
        items_.pop_front();
        if (items_.size() + batch_ == capacity_)
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
    size_t batch_;
    bool closed_ = false;
    bool aborted_ = false;
};

}  // namespace kestrava::encoder
