// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

// A decoded picture and the time of the preview at which it is due.
struct PreviewFrame {
    double time = 0.0;
    QImage image;
};

// The pictures decoded ahead of the preview's clock, bounded so that decoding waits for the
// screen instead of filling memory. Filled by the decoding thread, emptied by the screen.
class PreviewFrameQueue {
public:
    explicit PreviewFrameQueue(std::size_t capacity) : capacity_(capacity) {}

    // Waits while the queue is full; false (the frame dropped) once the queue is closed.
    bool push(PreviewFrame frame);
    // The latest picture due at `clock`, dropping the older due ones; none when nothing is due.
    std::optional<PreviewFrame> takeDue(double clock);
    bool empty() const;
    // Wakes and refuses every waiting and later push.
    void close();
    // Empty and open again, for the next playback.
    void reopen();

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable spaceFreed_;
    std::deque<PreviewFrame> frames_;
    bool closed_ = false;
};
