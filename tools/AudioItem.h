// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// The sound file formats of the audio tool, in the order of its format list.
enum class AudioFormat { Wma = 0, Wav = 1 };

// One source of the audio tool: the whole sound track of a video, written to its own file.
// Shared by the tool's dialog and marvane-cli audio.
struct AudioItem {
    std::string sourcePath;
    std::string outputPath;  // set before the item starts
    double startTime = 0.0;
    double endTime = 0.0;
    double length = 0.0;

    // The item for a source, its end time the duration the control reports.
    static AudioItem forSource(CDudidEvar& control, const std::string& sourcePath);
    // The output folder, the source's base name (the whole file name when it has no dot) and
    // ".wma" or ".wav".
    static std::string outputPathFor(const std::string& outputFolder, const std::string& sourcePath,
                                     AudioFormat format);
    // The outputs of a whole run, in the sources' order, so that no item overwrites another:
    // an item whose file an earlier item already writes gets the lowest number that names a
    // file no other item writes ("talk.wma", "talk_2.wma").
    static std::vector<std::string> outputPathsFor(const std::string& outputFolder,
                                                   const std::vector<std::string>& sourcePaths, AudioFormat format);

    // Fills the control's clip list with the item's sound and starts the save to outputPath:
    // stereo 11025 Hz 16-bit for WAV. False when the control refuses to start.
    bool start(CDudidEvar& control, AudioFormat format);
};
