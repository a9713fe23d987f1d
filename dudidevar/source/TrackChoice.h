// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// One of a file's tracks of a type as the user names it: the file's own (empty text), a number
// counted from 1 among the file's tracks of that type ("2"), or a language ("eng", "en", "ja").
struct TrackChoice {
    enum class By { Default, Number, Language };
    By by = By::Default;
    int number = 0;
    std::string language;  // lower case

    // False for text that is neither a number from 1 nor a language code of 2 or 3 letters
    // (with an optional region, "pt-br").
    static bool parse(const std::string& text, TrackChoice* choice);
    // How the choice reads in a reason: "track 2", "language jpn".
    std::string words() const;
};
