// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The walk through the pictures of one run: picture n (from 1) is taken at start + (n − 1) ×
// interval, counted in whole numbers so that rounding never adds a picture, while that time stays
// below the end of the span. Shared by the image tool's progress dialog and marvane-cli frames.
class PictureLoop {
public:
    PictureLoop(std::string namePrefix, double startTime, double span, double interval);

    // True while another picture is due.
    bool hasNext() const;
    // The number of the next picture and its file, "<prefix>_<n>.bmp".
    int number() const { return number_; }
    std::string path() const;
    // Its time in the file.
    double time() const { return startTime_ + elapsed(); }
    // Moves past the picture just taken.
    void advance();

    // After pictures 1, 3, 5, … the progress shown is brought up to date.
    bool refreshDue() const { return number_ % 2 == 0; }
    // The seconds of the span passed so far.
    double elapsed() const { return double(number_ - 1) * interval_; }
    double span() const { return span_; }
    // The whole part of (100 / span) × elapsed: above 100 once the last step overshoots the span.
    int percent() const;

private:
    std::string namePrefix_;
    double startTime_;
    double span_;
    double interval_;
    long long count_ = 0;
    int number_ = 1;
};
