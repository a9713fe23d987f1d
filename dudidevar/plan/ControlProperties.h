// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

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
    // MP4: the codec (0 H.264, 1 H.265, 2 AV1), its constant rate factor (0: the codec's
    // default) and speed (0 faster, 1 balanced, 2 smaller file).
    short videoCodec = 0;
    long quality = 0;
    short speed = 1;
    // Which sound track, and which subtitles are burned in, as SetSoundTrack and SetSubtitles
    // take them.
    std::string soundTrack;
    std::string subtitles;
    bool softSubtitles = false;  // kept as a track of an MP4 output
    std::string stillSubtitles;  // drawn onto still pictures
};
