// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>

// The threads of this process that start while an object of this class lives: the codec threads
// that preparing a run starts on the window's thread. The run's own thread gives them its lower
// priority, as it does to the threads it starts itself.
class ThreadsStartedMeanwhile {
public:
    ThreadsStartedMeanwhile();
    // Notes the threads started since construction.
    void collect();
    // Gives each collected thread the calling thread's priority where that is lower than its own.
    void takeCallersPriority() const;
    const std::set<int>& started() const { return started_; }

    // The ids of this process's threads (empty where the system does not list them).
    static std::set<int> all();

private:
    std::set<int> before_;
    std::set<int> started_;
};
