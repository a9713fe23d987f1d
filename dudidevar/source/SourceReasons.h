// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The reasons a source cannot be used, in the words of someone who knows the file and not the
// libraries: what is wrong with it, and where.
namespace SourceReasons {

// "<path> has no picture".
std::string noPicture(const std::string& path);
// "<path> has no sound".
std::string noSound(const std::string& path);
// "<path> is cut short: its <what> stops at 2.1 s of 4.0 s".
std::string cutShort(const std::string& path, const std::string& what, double stopsAt, double shouldEnd);
// "<path> is damaged or not a video file".
std::string unreadable(const std::string& path);
// "<path>: <what is wrong>", for a fault found while the file is read.
std::string damaged(const std::string& path, const std::string& fault);
// "there is no picture at 3.2 s: the video ends at 2.9 s", with more decimals where one would
// show both times alike ("at 2.06 s: the video ends at 2.00 s").
std::string pastTheEnd(double seconds, double videoEnd);
// A time as the reasons show it: one decimal, a point whatever the locale.
std::string seconds(double value);

}  // namespace SourceReasons
