#pragma once

#include <string>

#include "tasks/ConversionTask.h"

// The texts of a task's row in the task list view.
namespace TaskRowText {

std::string source(const ConversionTask& task);
std::string status(const ConversionTask& task);
std::string description(const ConversionTask& task);
// "%.1f%% Finished"
std::string progress(double percent);

}  // namespace TaskRowText
