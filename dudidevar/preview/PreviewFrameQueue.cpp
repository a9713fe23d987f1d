// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/preview/PreviewFrameQueue.h"

bool PreviewFrameQueue::push(PreviewFrame frame)
{
    std::unique_lock lock(mutex_);
    spaceFreed_.wait(lock, [this] { return closed_ || frames_.size() < capacity_; });
    if (closed_)
        return false;
    frames_.push_back(std::move(frame));
    return true;
}

std::optional<PreviewFrame> PreviewFrameQueue::takeDue(double clock)
{
    std::optional<PreviewFrame> due;
    {
        std::lock_guard lock(mutex_);
        while (!frames_.empty() && frames_.front().time <= clock) {
            due = std::move(frames_.front());
            frames_.pop_front();
        }
    }
    if (due)
        spaceFreed_.notify_all();
    return due;
}

bool PreviewFrameQueue::empty() const
{
    std::lock_guard lock(mutex_);
    return frames_.empty();
}

void PreviewFrameQueue::reopen()
{
    std::lock_guard lock(mutex_);
    frames_.clear();
    closed_ = false;
}

void PreviewFrameQueue::close()
{
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        frames_.clear();
    }
    spaceFreed_.notify_all();
}
