// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/ThreadsStartedMeanwhile.h"

#include <filesystem>
#include <string>

#include "dudidevar/run/ThreadPriority.h"

ThreadsStartedMeanwhile::ThreadsStartedMeanwhile() : before_(all()) {}

void ThreadsStartedMeanwhile::collect()
{
    for (int id : all()) {
        if (!before_.count(id))
            started_.insert(id);
    }
}

void ThreadsStartedMeanwhile::takeCallersPriority() const
{
    ThreadPriority::passOnTo(started_);
}

std::set<int> ThreadsStartedMeanwhile::all()
{
    std::set<int> ids;
#ifdef __linux__
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", failed)) {
        try {
            ids.insert(std::stoi(entry.path().filename().string()));
        } catch (const std::exception&) {
        }
    }
#endif
    return ids;
}
