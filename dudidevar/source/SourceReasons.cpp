// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/SourceReasons.h"

#include <algorithm>
#include <cstdio>

namespace SourceReasons {

namespace {

std::string withDecimals(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f s", decimals, std::max(0.0, value));
    std::string shown = text;
    for (char& c : shown) {
        if (c == ',')
            c = '.';
    }
    return shown;
}

}  // namespace

std::string seconds(double value)
{
    return withDecimals(value, 1);
}

std::string noPicture(const std::string& path)
{
    return path + " has no picture";
}

std::string noSound(const std::string& path)
{
    return path + " has no sound";
}

std::string cutShort(const std::string& path, const std::string& what, double stopsAt, double shouldEnd)
{
    return path + " is cut short: its " + what + " stops at " + seconds(stopsAt) + " of " + seconds(shouldEnd);
}

std::string unreadable(const std::string& path)
{
    return path + " is damaged or not a video file";
}

std::string damaged(const std::string& path, const std::string& fault)
{
    return path + ": " + fault;
}

std::string pastTheEnd(double time, double videoEnd)
{
    // As many decimals as it takes to tell the two times apart.
    constexpr int kMostDecimals = 6;
    int decimals = 1;
    while (decimals < kMostDecimals && withDecimals(time, decimals) == withDecimals(videoEnd, decimals))
        ++decimals;
    return "there is no picture at " + withDecimals(time, decimals) + ": the video ends at " +
           withDecimals(videoEnd, decimals);
}

}  // namespace SourceReasons
