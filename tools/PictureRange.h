// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules the image tool applies to what the user asked for: the rate of pictures and the
// range of the file. Shared with marvane-cli frames.
class PictureRange {
public:
    static constexpr long kFewestPerSecond = 1;
    static constexpr long kMostPerSecond = 25;

    // A rate outside 1 to 25 brought to the nearer end.
    static long clampedRate(long perSecond);
    static bool rateInRange(long perSecond) { return perSecond >= kFewestPerSecond && perSecond <= kMostPerSecond; }

    // The end-time field shows the duration to one decimal; an end equal to that text's value
    // is the duration itself, so a rounded-up end does not throw away the start time.
    static double endAsDuration(double end, double duration);

    // The range the run uses: start to end when 0 <= start < end <= duration (after the end is
    // read as above), else the whole file.
    PictureRange(double start, double end, double duration);

    double start() const { return start_; }
    double end() const { return end_; }
    double span() const { return end_ - start_; }
    // False when the asked range was replaced by the whole file.
    bool asAsked() const { return asAsked_; }

private:
    double start_ = 0.0;
    double end_ = 0.0;
    bool asAsked_ = true;
};
