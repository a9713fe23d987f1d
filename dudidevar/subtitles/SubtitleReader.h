// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "dudidevar/subtitles/SubtitleEvents.h"

// Reads all subtitles of a track of a media file, or of a subtitle file, decoded: text as lines
// for libass, pictures (PGS, DVD, DVB) as coloured pixels. Damaged subtitles are passed over.
namespace SubtitleReader {

// Stream `index` of the media file; forcedOnly keeps only the subtitles marked forced (all of
// them when the track itself is).
bool readTrack(const std::string& path, int index, bool forcedOnly, SubtitleEvents* out, std::string* error);
// A .srt, .ass, .ssa or .vtt file. Text that is not UTF-8 is read as Windows-1252 (Latin-1 with
// the printer's quotes), and a notice says so.
bool readFile(const std::string& path, SubtitleEvents* out, std::string* error);
// Whether the bytes are UTF-8 text.
bool isUtf8(const std::string& bytes);

}  // namespace SubtitleReader
