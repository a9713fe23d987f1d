// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A progress bar's range and positions for a run of a given length in seconds. Bars count
// whole seconds, up to the 16-bit limit of their range; a longer run is scaled down to fit,
// and a run shorter than one second is counted in hundredths of its length, so a bar never
// has an empty range.
class BarScale {
public:
    static constexpr int kLargestRange = 65535;
    static constexpr int kShortRunRange = 100;

    explicit BarScale(double totalSeconds);

    int maximum() const { return maximum_; }
    // The bar position for the seconds done, kept within 0 and the maximum.
    int position(double seconds) const;

private:
    double totalSeconds_ = 0.0;
    double unitsPerSecond_ = 1.0;
    int maximum_ = 0;
};
