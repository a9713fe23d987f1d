// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

// A queue of at most `capacity` items between one thread that makes them and one that takes
// them. The maker closes it at its end, with a reason when it failed; the taker cancels it
// when it wants no more, which also wakes a maker waiting for room.
template <typename T>
class BoundedQueue {
public:
    explicit BoundedQueue(std::size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

    // Waits for room; false when the queue was cancelled (the item is dropped).
    bool push(T item)
    {
        std::unique_lock lock(mutex_);
        roomOrCancel_.wait(lock, [this] { return cancelled_ || items_.size() < capacity_; });
        if (cancelled_)
            return false;
        items_.push_back(std::move(item));
        itemOrEnd_.notify_one();
        return true;
    }

    // Waits for an item; nothing once the queue is closed and empty, or cancelled.
    std::optional<T> pop()
    {
        std::unique_lock lock(mutex_);
        itemOrEnd_.wait(lock, [this] { return cancelled_ || closed_ || !items_.empty(); });
        if (cancelled_ || items_.empty())
            return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        roomOrCancel_.notify_one();
        return item;
    }

    // No more items will come; `failure` is why, empty for a normal end.
    void close(std::string failure = {})
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        failure_ = std::move(failure);
        itemOrEnd_.notify_all();
    }

    void cancel()
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
        items_.clear();
        roomOrCancel_.notify_all();
        itemOrEnd_.notify_all();
    }

    bool cancelled() const
    {
        std::lock_guard lock(mutex_);
        return cancelled_;
    }

    // Why the maker stopped early; empty while it has not, or when it ended normally.
    std::string failure() const
    {
        std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable roomOrCancel_;
    std::condition_variable itemOrEnd_;
    std::deque<T> items_;
    bool closed_ = false;
    bool cancelled_ = false;
    std::string failure_;
};
