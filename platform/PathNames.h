// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Path pieces as the system names them. The directory separator is '/'; a folder path ends
// with it.
namespace PathNames {

inline constexpr char kSeparator = '/';

// The path up to and including its last separator; empty when it has none.
std::string folderPart(const std::string& path);
// The text between the last separator and the last dot after it; empty when no dot follows
// the last separator (a dot in a folder name is never used).
std::string baseName(const std::string& path);
// As baseName, but the whole file name when it has no dot.
std::string baseNameOrFileName(const std::string& path);
// The file name: the text after the last separator.
std::string fileName(const std::string& path);
// The folder with a separator appended when it does not end in one; empty stays empty.
std::string withTrailingSeparator(const std::string& folder);
// The extension of the file name, with its dot ("" when the file name has no dot).
std::string extension(const std::string& path);

}  // namespace PathNames
