#pragma once

#include <string>

// One span of a file in the control's clip list; times in seconds from the file's start.
struct Clip {
    std::string path;
    double start = 0.0;
    double end = 0.0;
    bool keepSize = false;

    double length() const { return end > start ? end - start : 0.0; }
};
