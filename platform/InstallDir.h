// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The folder the program was installed in, filled once at start-up and read by component
// registration and the help command. Empty until then, and when no usable folder was found.
namespace InstallDir {

// The longest folder kept: the paths composed from it must stay within 259 characters.
inline constexpr std::size_t kMaxLength = 259;

const std::string& get();
// Keeps the folder; one longer than kMaxLength leaves it empty.
void set(const std::string& folder);

}  // namespace InstallDir
