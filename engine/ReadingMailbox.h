// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

// Where a reading made off the user-interface thread leaves its result for an object on it (the
// receiver). Only the newest reading is wanted: the result of an older one, or one that comes
// after the receiver is gone, is dropped, so nothing ever waits for a reading. Made with
// std::make_shared, held by the receiver and by each reading; the receiver closes it as it goes.
class ReadingMailbox : public std::enable_shared_from_this<ReadingMailbox> {
public:
    explicit ReadingMailbox(QObject* receiver) : receiver_(receiver) {}

    // A new reading, whose result alone is wanted from now on.
    int startReading();
    // The receiver is going: nothing more is delivered.
    void close();
    // Whether the reading's result is still wanted; a long reading may give up once it is not.
    bool wants(int reading);
    // Runs `take` on the receiver's thread, if the reading is still the one wanted by then.
    void deliver(int reading, std::function<void()> take);

private:
    std::mutex lock_;  // keeps the receiver from going while a result is queued to it
    QObject* receiver_;
    int wanted_ = 0;
};
