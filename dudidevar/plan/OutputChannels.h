// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/plan/OutputPlan.h"

// How many channels of the sources' sound an output keeps.
namespace OutputChannels {

// A DVD's AC-3 sound keeps surround up to 5.1 (at 448 kbit/s); sources of two channels or fewer
// stay stereo. Every other output keeps what its plan says (VCD and SVCD allow only stereo).
void fit(OutputPlan& plan, int sourceChannels);

}  // namespace OutputChannels
