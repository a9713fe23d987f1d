#pragma once

// Ctrl-C and termination requests: recorded, so that a running command stops its run (which
// removes the unfinished output) instead of dying with a temporary file left behind.
namespace Interrupt {

void install();
bool requested();

}  // namespace Interrupt
