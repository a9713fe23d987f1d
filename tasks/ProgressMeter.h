// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The progress bar and percentage of a run that has done `done` seconds of `length`. The bar
// counts milliseconds, so runs shorter than a second still move it and runs of many hours do not
// overflow it; a length of zero or less shows nothing done.
namespace ProgressMeter {

int barMaximum(double length);
int barPosition(double done, double length);
// 0 to 100.
double percent(double done, double length);

}  // namespace ProgressMeter
