// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/source/TrackChoice.h"
#include "engine/SourceTrack.h"

// Finding a file's track of a type by the user's choice, and naming the tracks a file has.
namespace StreamPicker {

// The index of the stream the choice names among the file's streams of the type (never a
// cover picture); the main one for the default choice; -1 when the file has no such track.
int find(AVFormatContext* input, AVMediaType type, const TrackChoice& choice);
// The file's tracks of the type in words, numbered as a choice names them:
// "1 eng (default), 2 jpn \"Commentary\"", or "none".
std::string tracksInWords(const AVFormatContext* input, AVMediaType type);
// The file's picture, sound and subtitle tracks (never a cover picture) in the file's order.
std::vector<SourceTrack> tracks(const AVFormatContext* input);
// The language tag of a stream, lower case; empty when it has none or "und".
std::string languageOf(const AVStream* stream);
// The three-letter code of a language as media files tag it ("en" and "eng" give "eng"); empty
// for a code that is not one of the common languages nor three letters.
std::string threeLetterCode(const std::string& language);
// Whether a stream's language tag is the language asked for: two- and three-letter codes of
// the common languages name the same one ("en", "eng"), and a region is ignored.
bool sameLanguage(const std::string& tag, const std::string& asked);

}  // namespace StreamPicker
