// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as the program writes them and reads them back: a dot before the decimals, whatever
// the user's locale says (a comma-decimal locale must not turn "60.0" into "60,0" and back into
// no number at all).
namespace PlainNumber {

// The value with exactly `decimals` digits after the dot ("60.0", "50.5").
std::string fixed(double value, int decimals);
// The whole text as a number ("1.5", "-2", "3e2"); nothing when any of it is not part of one.
std::optional<double> parse(std::string_view text);

}  // namespace PlainNumber
