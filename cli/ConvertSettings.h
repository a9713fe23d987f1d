// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "tasks/TaskSettings.h"

class CDudidEvar;
struct ConvertOptions;

// The record of a marvane-cli convert task: what the task editor stores for the same choices
// (its defaults and presets), with the user's options applied on top.
namespace ConvertSettings {

// False with the reason when the options do not fit the output kind or the control.
bool fill(CDudidEvar& control, const ConvertOptions& options, TaskSettings& settings, std::string* error);

}  // namespace ConvertSettings
