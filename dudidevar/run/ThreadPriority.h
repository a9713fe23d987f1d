// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>

// The scheduling priority of a run's threads. In a process that shows windows, a run yields the
// processor to the user-interface thread: its worker runs a few steps below normal priority, and so does every thread it
// starts (they inherit it) or that was started for it beforehand.
namespace ThreadPriority {

// Lowers the calling thread's priority by the run's step, in a process that shows windows.
void lowerThisThread();
// Gives each thread the calling thread's priority where that is lower than its own; a thread
// that has ended since is passed over.
void passOnTo(const std::set<int>& threadIds);

}  // namespace ThreadPriority
