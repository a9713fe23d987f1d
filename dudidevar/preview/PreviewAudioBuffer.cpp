// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/preview/PreviewAudioBuffer.h"

#include <algorithm>
#include <cstring>

bool PreviewAudioBuffer::append(const QByteArray& bytes)
{
    std::unique_lock lock(mutex_);
    spaceFreed_.wait(lock, [this] { return closed_ || std::size_t(bytes_.size()) < capacity_; });
    if (closed_)
        return false;
    bytes_.append(bytes);
    return true;
}

std::size_t PreviewAudioBuffer::read(char* data, std::size_t size)
{
    std::size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        count = std::min(size, std::size_t(bytes_.size()));
        std::memcpy(data, bytes_.constData(), count);
        bytes_.remove(0, qsizetype(count));
    }
    if (count > 0)
        spaceFreed_.notify_all();
    return count;
}

void PreviewAudioBuffer::finish()
{
    std::lock_guard lock(mutex_);
    finished_ = true;
}

bool PreviewAudioBuffer::finished() const
{
    std::lock_guard lock(mutex_);
    return finished_ && bytes_.isEmpty();
}

void PreviewAudioBuffer::reopen()
{
    std::lock_guard lock(mutex_);
    bytes_.clear();
    finished_ = false;
    closed_ = false;
}

void PreviewAudioBuffer::close()
{
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        bytes_.clear();
    }
    spaceFreed_.notify_all();
}
