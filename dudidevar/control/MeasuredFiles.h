// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine/SourceTrack.h"

// The length, picture size and tracks of the files asked about, each file opened and measured
// once while it stays as it was: a task list asks for a source's length and size several times
// before and while it converts it, and each opening reads and decodes the start of the file.
// Files may be asked about from several threads at once.
class MeasuredFiles {
public:
    struct Measures {
        double seconds = 0.0;  // 0 when the file cannot be read
        int width = 0;         // the picture as shown; 0 without one
        int height = 0;
        std::vector<SourceTrack> tracks;
    };

    Measures of(const std::string& path);

private:
    // What tells that a file is still the one measured.
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = -1;
        std::int64_t modified = 0;  // nanoseconds
        std::int64_t changed = 0;
        bool operator==(const Identity&) const = default;
    };
    struct Entry {
        Identity identity;
        Measures measures;
    };

    static bool identify(const std::string& path, Identity* identity);
    static Measures measure(const std::string& path);

    std::mutex lock_;  // guards files_, not the measuring
    std::map<std::string, Entry> files_;
};
