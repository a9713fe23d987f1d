// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>
#include <string>

// The reason of the control's last refused or failed run. Written by the worker thread when
// a run fails, read on the user-interface thread once the failure event has arrived.
class LastFailureReason {
public:
    void set(const std::string& reason)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        reason_ = reason;
    }
    void clear() { set({}); }
    std::string get() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return reason_;
    }

private:
    mutable std::mutex mutex_;
    std::string reason_;
};
