// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ctrl-C and termination requests: recorded, so that a running command stops its run (which
// removes the unfinished output) instead of dying with a temporary file left behind.
namespace Interrupt {

void install();
bool requested();
// While on, Ctrl-C and termination end the program at once with status 130: for stretches that
// write nothing, such as reading a task list, however long they take.
void setEndAtOnce(bool on);

}  // namespace Interrupt
