// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "tasks/OutputKind.h"

// Names of the files the system writes.
namespace OutputNaming {

// The editor's default output path for a first source and a kind: the source's folder, its
// base name (empty when the file name has no dot) and the kind's suffix.
std::string defaultOutputPath(const std::string& firstSource, OutputKind kind);
// The same inside another folder (the editor's Browse).
std::string defaultOutputPathIn(const std::string& folder, const std::string& firstSource, OutputKind kind);

// The n-th output of sources with one base name converted into one folder ("clip_2_output.mpg"
// for n = 2), so that outputs of equal names never overwrite each other.
std::string numberedOutputPathIn(const std::string& folder, const std::string& source, OutputKind kind, int n);

// The file of the split part starting at partStart: the output path itself for the first part,
// else "_%03d" of the part number before the file name's extension (appended when it has none).
std::string splitPartPath(const std::string& outputPath, std::uint32_t partStart, std::uint32_t splitSeconds);

// The output path whose split part the file would be ("/o/a.mpg" for "/o/a_002.mpg"), or empty
// when its name is no part's name.
std::string splitOutputOf(const std::string& partPath);

// Prefix of picture files: the output folder and the source's base name (the whole file name
// when it has no dot).
std::string picturePrefix(const std::string& outputFolder, const std::string& source);
// The n-th picture file, "%s_%d.bmp".
std::string picturePath(const std::string& prefix, int n);

// The sound-track file of a source: folder + base name + ".wma" or ".wav".
std::string audioOutputPath(const std::string& outputFolder, const std::string& source, bool wma);

}  // namespace OutputNaming
