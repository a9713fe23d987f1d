// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <mutex>
#include <string>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/FileIdentity.h"

// Files opened and probed to be measured, kept open for the conversion that follows: a task's
// source is measured while the task before it runs, and probing it again (reading and decoding
// its start) would hold up the task's start. Each file is handed out once, as the probe left it,
// and only while it is still the file probed. Used from several threads.
class ProbeShelf {
public:
    // Keeps a file that nothing has been read from since its probe; the oldest goes when the
    // shelf is full.
    void put(const std::string& path, const FileIdentity& identity, ff::InputContext input);
    // The file as probed, when it is on the shelf and unchanged; null otherwise.
    ff::InputContext take(const std::string& path);

private:
    struct Entry {
        std::string path;
        FileIdentity identity;
        ff::InputContext input;
    };

    std::mutex lock_;
    std::deque<Entry> entries_;
};
