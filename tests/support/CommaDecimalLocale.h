// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Switches the process to a locale that writes a comma before the decimals (de_DE.UTF-8) while
// the object lives, then back. A system without that locale gets it made with localedef into a
// folder of the temporary folder, once for every test program.
class CommaDecimalLocale {
public:
    CommaDecimalLocale();
    ~CommaDecimalLocale();
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    // False when no such locale could be had; whyNot says why.
    bool active() const { return active_; }
    const std::string& whyNot() const { return whyNot_; }

private:
    bool switchTo();

    std::string previous_;
    bool active_ = false;
    bool setLocPath_ = false;
    std::string whyNot_;
};
