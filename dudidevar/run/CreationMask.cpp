// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/CreationMask.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
constexpr mode_t kUsualMask = 022;
}

int CreationMask::fromStatus(const std::string& text)
{
    const std::size_t at = text.find("\nUmask:");
    if (at == std::string::npos)
        return -1;
    const char* digits = text.c_str() + at + 7;
    char* end = nullptr;
    const long value = std::strtol(digits, &end, 8);
    if (end == digits || value < 0 || value > 0777)
        return -1;
    return int(value);
}

mode_t CreationMask::current()
{
    std::ifstream status("/proc/self/status");
    std::ostringstream text;
    text << "\n" << status.rdbuf();
    const int mask = status ? fromStatus(text.str()) : -1;
    return mask >= 0 ? mode_t(mask) : kUsualMask;
}
