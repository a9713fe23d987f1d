// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "tasks/ConversionTask.h"

// The texts of a task's row in the task list view.
namespace TaskRowText {

std::string source(const ConversionTask& task);
std::string status(const ConversionTask& task);
std::string description(const ConversionTask& task);
// "%.1f%% Finished", with a dot whatever the locale.
std::string progress(double percent);
// The row's tooltip: every source and the output in full, one to a line.
std::string tooltip(const ConversionTask& task);
// "1 task", "3 tasks".
std::string taskCount(std::size_t count);

}  // namespace TaskRowText
