// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Loads the conversion control module from a folder and lets it register its class.
namespace ControlModule {

inline constexpr const char* kFileName = "DudidEvar.ocx";
inline constexpr const char* kRegisterEntry = "DllRegisterServer";

// The path of the module in a folder (a folder without a trailing separator gets one).
std::string pathIn(const std::string& folder);
// Loads the module, calls its registration entry and keeps it loaded for the rest of the
// process. False when the file cannot be loaded or has no registration entry; the reason goes
// to *error when given.
bool registerFrom(const std::string& folder, std::string* error = nullptr);

}  // namespace ControlModule
