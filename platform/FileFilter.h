// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

// Open-file filters written "description|pattern;pattern|...||" become Qt's
// "description (pattern pattern);;..." form.
namespace FileFilter {

QString toQt(const QString& filter);

// The file suffixes of the videos the conversion control reads: those of the source filter's
// own entries first, then the other containers.
inline constexpr std::array<const char*, 18> kVideoSuffixes{
    "mpg", "mpeg", "avi", "asf", "wmv", "mp4", "m4v", "mkv", "mov",
    "webm", "ts", "m2ts", "mts", "vob", "flv", "3gp", "dv", "ogv"};

// The filter for source videos, used wherever source files are picked: "All Support Files"
// holds every suffix above, and "All files (*)" comes last.
extern const char* const kSourceVideoFilter;

}  // namespace FileFilter
