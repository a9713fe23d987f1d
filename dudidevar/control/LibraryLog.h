// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The media libraries' own messages ("moov atom not found") mean nothing to a user; the control
// reports every failure in its own words. They reach standard error only when this environment
// variable is set when the control is made (marvane-cli --verbose sets it).
inline constexpr const char* kLibraryLogVariable = "MARVANE_LIBRARY_LOG";
