// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>

// The temporary files that runs killed before they could remove them left in a folder
// (".<target name>.part-<pid>-XXXXXX", see TempOutput): each one of this user whose process
// is gone and that no one holds locked is removed, whatever target it was for. Nothing else is
// ever removed: not another user's file, nor one whose name differs in any way, nor a link or
// a folder.
//
// A sweep reads each folder once while it lasts, so a run that writes many files into one
// large folder reads that folder once, not at every file.
class LeftoverSweep {
public:
    // Removes the folder's leftovers unless this sweep has read the folder already.
    void sweep(const std::string& folder);

private:
    std::set<std::string> swept_;
};
