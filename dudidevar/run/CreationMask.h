// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>

// The process's file-creation mask, read without changing it: umask() can only be read by
// setting it, and a mask set to 0 for a moment would give files that other threads create
// meanwhile the wrong permissions.
class CreationMask {
public:
    // From the "Umask:" line of /proc/self/status; where that cannot be read, the usual 022.
    static mode_t current();

private:
    // The same line's value in the text of a status file; -1 when it has none.
    static int fromStatus(const std::string& text);
};
