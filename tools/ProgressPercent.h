// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Percentages of the extraction tools' progress displays. None divides by zero: an empty or
// unknown whole reads 0.
namespace ProgressPercent {

// The whole part of (100.0 / whole) × part; not capped at 100.
int ofSpan(double part, double whole);

// The current sound item: seconds done of its length, both as the control reports them. For a
// length of a whole second or more it is done × 100 / length on the whole seconds; a shorter
// item is measured on the fractions.
int ofItem(double done, double length);

}  // namespace ProgressPercent
