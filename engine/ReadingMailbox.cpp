// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingMailbox.h"

int ReadingMailbox::startReading()
{
    const std::lock_guard<std::mutex> hold(lock_);
    return ++wanted_;
}

void ReadingMailbox::close()
{
    const std::lock_guard<std::mutex> hold(lock_);
    receiver_ = nullptr;
}

bool ReadingMailbox::wants(int reading)
{
    const std::lock_guard<std::mutex> hold(lock_);
    return receiver_ && wanted_ == reading;
}

// A newer reading may start while the result is queued, so it is asked for again on arrival. A
// result still queued when the receiver goes is dropped with it.
void ReadingMailbox::deliver(int reading, std::function<void()> take)
{
    const std::lock_guard<std::mutex> hold(lock_);
    if (!receiver_ || wanted_ != reading)
        return;
    QMetaObject::invokeMethod(
        receiver_,
        [mailbox = shared_from_this(), reading, take = std::move(take)] {
            if (mailbox->wants(reading))
                take();
        },
        Qt::QueuedConnection);
}
