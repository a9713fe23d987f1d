// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Why a file could not be written, in the same words for outputs and pictures: a full disk, a
// used-up quota and a file too large for its disk by name, anything else with the system's text.
namespace WriteFailureReason {

// `errorNumber` is the errno value of the failed call; `name` the file as the user named it.
std::string text(const std::string& name, int errorNumber);

}  // namespace WriteFailureReason
