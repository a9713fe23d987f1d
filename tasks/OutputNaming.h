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

// The file of the split part starting at partStart: the output path itself for the first part,
// else "_%03d" of the part number before the file name's extension (appended when it has none).
std::string splitPartPath(const std::string& outputPath, std::uint32_t partStart, std::uint32_t splitSeconds);

// Prefix of picture files: the output folder and the source's base name (the whole file name
// when it has no dot).
std::string picturePrefix(const std::string& outputFolder, const std::string& source);
// The n-th picture file, "%s_%d.bmp".
std::string picturePath(const std::string& prefix, int n);

// The sound-track file of a source: folder + base name + ".wma" or ".wav".
std::string audioOutputPath(const std::string& outputFolder, const std::string& source, bool wma);

}  // namespace OutputNaming
