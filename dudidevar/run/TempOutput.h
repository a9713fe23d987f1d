// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// A temporary file beside an output's target. It is renamed onto the target on commit() and
// removed otherwise, so a target is replaced only by a complete output.
//
// Its name, ".<target name>.part-<pid>-XXXXXX", says whose it is, and the run holds an advisory
// lock (flock) on it while it lasts. A run killed before it could remove its file leaves it
// behind; the next run for the same target removes such a file when its process is gone and no
// one holds its lock. Nothing else is ever removed: not another user's file, nor one whose name
// differs in any way, nor a link or a folder.
class TempOutput {
public:
    TempOutput() = default;
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    // Creates the empty temporary file; false with the reason when the folder is not writable
    // or the target is a folder. A target that is a symbolic link stands for the file it
    // points to: that file is replaced and the link kept.
    bool create(const std::string& target, std::string* error);
    const std::string& path() const { return path_; }
    bool commit(std::string* error);
    void discard();

private:
    // Removes the temporary files of earlier runs for the target whose processes are gone.
    static void removeStale(const std::string& folder, const std::string& name);
    void release();

    std::string target_;
    std::string path_;
    int fd_ = -1;  // open on the temporary file and locked while it exists
};
