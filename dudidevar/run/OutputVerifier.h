// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What a finished output must hold before it may replace its target: the streams the run
// asked for, and no other kind, each as long as its clips.
struct OutputExpectation {
    bool picture = false;
    bool sound = false;
    double pictureSeconds = 0.0;
    double soundSeconds = 0.0;
    double framePeriod = 0.0;  // seconds of one picture; 0 without pictures
};

// Opens a finished output again with the control's own probe and checks it against what the
// run asked for, so that nothing that looks finished is short or lacks a stream.
class OutputVerifier {
public:
    explicit OutputVerifier(const OutputExpectation& expected) : expected_(expected) {}

    // False with the reason, in words for the user, when the output falls short. The reason
    // names the target rather than the temporary file being checked.
    bool verify(const std::string& path, const std::string& target, std::string* reason) const;

    // How far an output may fall short of its clips: one picture, and never less than 0.1 s.
    double shortfallAllowed() const;
    // How far it may run over them: encoders end on whole frames and some containers add
    // a preroll, but minutes of a frozen picture are damage.
    static double overrunAllowed(double seconds);

private:
    bool lengthFits(double actual, double expected, const char* what, const std::string& target,
                    std::string* reason) const;

    OutputExpectation expected_;
};
