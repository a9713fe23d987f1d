// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Media files made for the tests with the ffmpeg program, and what ffprobe says of outputs.
namespace TestMedia {

// The folder the generated files live in (shared by the test programs, made once).
std::string folder();
// A fresh empty folder for one test's outputs.
std::string scratchFolder();

// 2 s, 160×120, 25 fps, MPEG-4 with MP3 sound at 44.1 kHz stereo, in AVI.
std::string withSound();
// 2 s, 161×121 (odd), 30 fps, no sound.
std::string silentOddSize();
// 1.5 s, 176×144, 24 fps, MPEG-1 with MP2 mono at 32 kHz, in MPEG-PS.
std::string mpegWithMonoSound();
// 3 s, 640×360, 25 fps, MPEG-2 with MP2 in a program stream, whose last pictures carry no time.
std::string mpeg2ProgramStream();
// 3 s, 160×120, 25 fps, lossless grey picture whose level is 4 × the frame number, with sound.
std::string frameCounter();
// 12 s, 640×360, 25 fps with sound: long enough to stop mid-run.
std::string longer();
// The same 2 s clip truncated to half its size.
std::string truncated();
// 2 s of MPEG transport stream, MPEG-2 with AC-3 sound: 6 channels for the first second, then
// 2 (two files joined end to end, the second's times following on).
std::string surroundThenStereo();
// 2 s of MP2 sound: stereo at 44.1 kHz, then mono at 22.05 kHz (two files joined).
std::string stereoThenMonoMp2();
// A file made by the ffmpeg program from the arguments (inputs, codecs, filters, format), once.
std::string made(const std::string& name, const std::vector<std::string>& args);
// Files joined end to end.
std::string joined(const std::string& name, const std::vector<std::string>& parts);
// The bytes of a file.
std::string contentOf(const std::string& path);
// Any file with the given bytes.
std::string fileWith(const std::string& name, const std::string& bytes);

struct Stream {
    std::string type;  // "video" or "audio"
    std::string codec;
    int width = 0;
    int height = 0;
    double fps = 0.0;
    int sampleRate = 0;
    int channels = 0;
    long frames = 0;  // decoded frames
    double sampleAspect = 1.0;  // pixel shape
};

struct Info {
    std::string format;
    double duration = 0.0;
    std::vector<Stream> streams;

    const Stream* video() const;
    const Stream* audio() const;
};

// ffprobe's view of a file, with every frame counted.
Info probe(const std::string& path);
// The mean grey level of the decoded frame at index n of a file's picture.
int greyLevelOfFrame(const std::string& path, int n);
// A decoded picture as grey levels, row by row.
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> levels;

    int at(int x, int y) const { return levels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};
// The decoded frame at index n of a file's picture, at its stored size; empty when there is none.
GreyPicture greyFrame(const std::string& path, int n);
// The length of a file's sound, counted in decoded samples.
double soundSeconds(const std::string& path);
// A file's sound as signed 16-bit mono samples at the given rate.
std::vector<short> monoSamples(const std::string& path, int rate);
// The mean loudness of samples [from, to) of a sound at the given rate, 0 for silence.
double loudness(const std::vector<short>& samples, int rate, double from, double to);
// The frequency of a tone in samples [from, to) seconds, from its zero crossings.
double pitch(const std::vector<short>& samples, int rate, double from, double to);
// Times at which a file's picture turns bright after being dark, and its sound turns from
// silence to a tone, in the file's timeline as the ffmpeg program reads it.
std::vector<double> flashOnsets(const std::string& path);
std::vector<double> toneOnsets(const std::string& path);
// Files in a folder, names only.
std::vector<std::string> filesIn(const std::string& folder);

}  // namespace TestMedia
