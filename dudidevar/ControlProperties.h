#pragma once

// The property values a caller sets on the control before a run.
struct ControlProperties {
    long outputFormat = 7;
    short outputWidth = 0;
    short outputHeight = 0;
    double frameRate = 0.0;
    bool vbr = false;
    long vbrQuality = 100;
    long videoBitRate = 0;
    long audioBitRate = 0;
    short videoCompressor = -1;
    bool useVideoCompressor = false;
    short audioCompressor = -1;
    bool useAudioCompressor = false;
    short wmvProfile = 0;
};
