#pragma once

#include <cstdint>

enum class TaskStatus : std::int32_t { Waiting = 0, Done = 1 };
