// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/run/LeftoverSweep.h"

// A temporary file beside an output's target. It is renamed onto the target on commit() and
// removed otherwise, so a target is replaced only by a complete output.
//
// Its name, ".<target name>.part-<pid>-XXXXXX", says whose it is, and the run holds an advisory
// lock (flock) on it while it lasts. A run killed before it could remove its file leaves it
// behind; the next run that writes into the same folder removes it (LeftoverSweep).
class TempOutput {
public:
    TempOutput() = default;
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    // Creates the empty temporary file; false with the reason when the folder is not writable
    // or the target exists and is no regular file (a folder, a device, a FIFO). A target that is a symbolic link stands for the file it
    // points to: that file is replaced and the link kept. The folder is swept of leftovers
    // first: by `sweep`, once for all the files of a run, else by a sweep of its own.
    bool create(const std::string& target, std::string* error, LeftoverSweep* sweep = nullptr);
    const std::string& path() const { return path_; }
    bool commit(std::string* error);
    void discard();

private:
    void release();

    std::string target_;
    std::string path_;
    int fd_ = -1;  // open on the temporary file and locked while it exists
};
