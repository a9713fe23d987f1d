// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "engine/SourceTrack.h"

class QComboBox;

// The task editor's two track choices, each an editable drop-down whose first entry names the
// default: "Default sound" (the track each source marks), then the sound tracks found in the
// sources, a language typed in; "No subtitles", "Forced only", the subtitle files beside the
// first source with its base name ("holiday.srt", "holiday.en.srt"), then the subtitle tracks
// found in the sources, a track number, a language or a file typed in.
class TrackChoiceFields {
public:
    static constexpr const char* kDefaultSound = "Default sound";
    static constexpr const char* kNoSubtitles = "No subtitles";
    static constexpr const char* kForcedOnly = "Forced only";

    // A track offered: how it reads, and the choice it stands for as the task keeps it.
    struct Entry {
        std::string label;
        std::string value;
    };
    using SourceTracks = std::vector<std::vector<SourceTrack>>;  // each source's tracks

    TrackChoiceFields(QComboBox& sound, QComboBox& subtitles) : sound_(sound), subtitles_(subtitles) {}

    // Fills both lists for a task whose first source is `firstSource`, showing the stored
    // choices (as the task keeps them: "" the defaults).
    void fill(const std::string& firstSource, const std::string& soundTrack, const std::string& subtitles);
    // Offers the tracks found in the task's sources, keeping what each list shows.
    void offerTracks(const SourceTracks& tracks);
    // The choices as the task keeps them.
    std::string soundTrack() const;
    std::string subtitles() const;

    // The subtitle files beside a source with its base name, in name order.
    static std::vector<std::string> besideSource(const std::string& source);
    // The tracks of a kind, once each: chosen by language where that names one track of every
    // source that has it ("jpn – Commentary"), else by number ("Track 3: eng – Director").
    static std::vector<Entry> entriesFor(const SourceTracks& tracks, SourceTrack::Kind kind);

private:
    void rebuild(const std::string& soundTrack, const std::string& subtitles);

    QComboBox& sound_;
    QComboBox& subtitles_;
    std::string firstSource_;
    SourceTracks tracks_;
};
