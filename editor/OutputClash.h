// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

class TaskList;

// Outputs within one list never overwrite each other: the files a task writes are its output
// path and, for a split task, the part files ("name_002.avi", ...) beside it.
class OutputClash {
public:
    struct Found {
        std::size_t task;  // index in the list
        std::string file;  // the file both would write
    };

    // The first task of the list, other than the one being edited, that writes a file that a
    // task with that output path (split or not) would write too.
    static std::optional<Found> find(const TaskList& tasks, std::optional<std::size_t> edited,
                                     const std::string& outputPath, bool split);

    // Whether a task with that output writes the file: the output itself, or for a split task
    // one of its part files.
    static bool writes(const std::string& outputPath, bool split, const std::string& file);
};
