// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/FileIdentity.h"

// Files opened and probed to be measured while tasks run, kept open for their conversions: the
// length of a run's tasks is measured while its first task converts, and probing each source
// again (reading and decoding its start) would hold up its task's start. Each file is handed
// out once, as the probe left it, and only while it is still the file probed. A full shelf keeps
// the files that came first, as tasks run in the order they were measured; a file not taken
// within half a minute is closed. Used from several threads.
class ProbeShelf {
public:
    using Clock = std::chrono::steady_clock;

    // Keeps a file that nothing has been read from since its probe.
    void put(const std::string& path, const FileIdentity& identity, ff::InputContext input,
             Clock::time_point now = Clock::now());
    // The file as probed, when it is on the shelf and unchanged; null otherwise.
    ff::InputContext take(const std::string& path, Clock::time_point now = Clock::now());
    // Closes every kept file.
    void clear();

private:
    struct Entry {
        std::string path;
        FileIdentity identity;
        ff::InputContext input;
        Clock::time_point kept;
    };

    // Takes the entries kept too long out of the shelf.
    std::deque<Entry> expired(Clock::time_point now);

    std::mutex lock_;
    std::deque<Entry> entries_;
};
