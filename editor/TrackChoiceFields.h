// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class QComboBox;

// The task editor's two track choices, each an editable drop-down whose first entry names the
// default: "Default sound" (the track each source marks), then track numbers, a language
// typed in; "No subtitles", "Forced only", the subtitle files beside the first source with its
// base name ("holiday.srt", "holiday.en.srt"), then track numbers, a language or a file typed in.
class TrackChoiceFields {
public:
    static constexpr const char* kDefaultSound = "Default sound";
    static constexpr const char* kNoSubtitles = "No subtitles";
    static constexpr const char* kForcedOnly = "Forced only";

    TrackChoiceFields(QComboBox& sound, QComboBox& subtitles) : sound_(sound), subtitles_(subtitles) {}

    // Fills both lists for a task whose first source is `firstSource`, showing the stored
    // choices (as the task keeps them: "" the defaults).
    void fill(const std::string& firstSource, const std::string& soundTrack, const std::string& subtitles);
    // The choices as the task keeps them.
    std::string soundTrack() const;
    std::string subtitles() const;

    // The subtitle files beside a source with its base name, in name order.
    static std::vector<std::string> besideSource(const std::string& source);

private:
    QComboBox& sound_;
    QComboBox& subtitles_;
};
