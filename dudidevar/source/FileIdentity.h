// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// What tells that a file is still the one that was read: the same file (device and inode), of
// the same size, not written nor changed since.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;
    std::int64_t modified = 0;  // nanoseconds
    std::int64_t changed = 0;
    bool operator==(const FileIdentity&) const = default;

    // False when the path names no regular file (or a link to one).
    static bool of(const std::string& path, FileIdentity* identity);
};
