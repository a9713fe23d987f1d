// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <condition_variable>
#include <cstddef>
#include <mutex>

// Sound decoded ahead of the audio output, bounded. The decoding thread appends; the audio
// output reads on the user-interface thread.
class PreviewAudioBuffer {
public:
    explicit PreviewAudioBuffer(std::size_t capacity) : capacity_(capacity) {}

    // Waits while the buffer is full; false once it is closed.
    bool append(const QByteArray& bytes);
    // Up to `size` bytes into `data`; the number read.
    std::size_t read(char* data, std::size_t size);
    // No more sound will come.
    void finish();
    bool finished() const;
    // Wakes and refuses every waiting and later append.
    void close();
    // Empty and open again, for the next playback.
    void reopen();

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable spaceFreed_;
    QByteArray bytes_;
    bool finished_ = false;
    bool closed_ = false;
};
