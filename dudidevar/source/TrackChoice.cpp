// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/TrackChoice.h"

#include <algorithm>
#include <cctype>

namespace {

bool allOf(const std::string& text, int (*test)(int))
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [test](char c) { return test((unsigned char)c) != 0; });
}

bool isLanguageCode(const std::string& text)
{
    const std::string code = text.substr(0, text.find('-'));
    const bool region = code.size() < text.size();
    if (code.size() < 2 || code.size() > 3 || !allOf(code, std::isalpha))
        return false;
    return !region || allOf(text.substr(code.size() + 1), std::isalnum);
}

}  // namespace

bool TrackChoice::parse(const std::string& text, TrackChoice* choice)
{
    *choice = {};
    if (text.empty())
        return true;
    if (allOf(text, std::isdigit)) {
        if (text.size() > 3 || std::stoi(text) < 1)
            return false;
        choice->by = By::Number;
        choice->number = std::stoi(text);
        return true;
    }
    if (!isLanguageCode(text))
        return false;
    choice->by = By::Language;
    choice->language = text;
    std::transform(choice->language.begin(), choice->language.end(), choice->language.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return true;
}

std::string TrackChoice::words() const
{
    switch (by) {
    case By::Number: return "track " + std::to_string(number);
    case By::Language: return "language " + language;
    case By::Default: break;
    }
    return "default track";
}
