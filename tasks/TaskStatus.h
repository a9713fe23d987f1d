// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Failed: the task's conversion did not start or failed midway while the run went on past it.
enum class TaskStatus : std::int32_t { Waiting = 0, Done = 1, Failed = 2 };
