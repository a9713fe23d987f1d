// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/SourceTrack.h"

class QWidget;

// Receives the control's events. The control delivers them on the thread that owns it
// (the user-interface thread), queued, and never after the run they belong to was stopped.
class IControlEvents {
public:
    virtual ~IControlEvents() = default;
    virtual void OnConvertDone() = 0;
    virtual void OnConvertProgress(double secondsDone, double totalSeconds) = 0;
    // A run that began (its start call returned true) but could not be completed: nothing was
    // written at the target. Takes the place of OnConvertDone for that run.
    virtual void OnConvertFailed(const std::string& reason) = 0;
};

// A compressor collection as fetched from the control; indices are zero-based.
class ICompressorCollection {
public:
    virtual ~ICompressorCollection() = default;
    virtual short GetCount() = 0;
    virtual short FindIndex(const std::string& name) = 0;  // -1 when no compressor has that name
    virtual std::string GetName(short index) = 0;           // empty outside the range
    virtual bool ShowPropertyPage(short index) = 0;         // false: no settings page
};

class IWmvProfileCollection {
public:
    virtual ~IWmvProfileCollection() = default;
    virtual short GetCount() = 0;
    virtual std::string GetProfileName(short index) = 0;
};

// The conversion control: one virtual function per operation and property. Paths are UTF-8,
// times seconds, sizes pixels, bit rates kbit/s. One run (conversion, preview or sound
// extraction) at a time.
class IConversionControl {
public:
    virtual ~IConversionControl() = default;

    // The widget the control paints in (previews play here).
    virtual QWidget* Widget() = 0;
    virtual void SetEventSink(IControlEvents* sink) = 0;

    virtual void SetWmvProfile(short index) = 0;
    virtual void SetVideoCompressor(short index) = 0;
    virtual void SetUseVideoCompressor(bool use) = 0;
    virtual void SetAudioCompressor(short index) = 0;
    virtual void SetUseAudioCompressor(bool use) = 0;
    virtual void SetOutputHeight(short height) = 0;
    virtual void SetOutputWidth(short width) = 0;
    virtual void SetOutputFormat(long format) = 0;
    virtual void SetFrameRate(double fps) = 0;
    virtual void SetVbrQuality(long quality) = 0;
    virtual void SetVbr(bool vbr) = 0;
    virtual void SetVideoBitRate(long kbps) = 0;
    virtual void SetAudioBitRate(long kbps) = 0;
    // MP4 output: codec 0 H.264, 1 H.265, 2 AV1; quality is the constant rate factor (0: the
    // codec's default); speed 0 faster, 1 balanced, 2 smaller file.
    virtual void SetVideoCodec(short codec) = 0;
    virtual void SetQuality(long quality) = 0;
    virtual void SetSpeed(short speed) = 0;
    // The sound track of each source: "" the one its file marks as default (else its first), a
    // number counted from 1 among its sound tracks, or a language ("eng", "ja").
    virtual void SetSoundTrack(const std::string& track) = 0;
    // Subtitles burned into the picture: "" none, a subtitle track of each source by number or
    // language, "forced" (only what the source marks forced), or the path of a subtitle file
    // (.srt, .ass, .ssa, .vtt).
    virtual void SetSubtitles(const std::string& subtitles) = 0;
    // MP4 output: the chosen text subtitles are kept as a subtitle track that players switch on
    // and off, instead of being burned in.
    virtual void SetSoftSubtitles(bool soft) = 0;
    // Subtitles drawn onto the still pictures of SaveFrame and SaveFrameSized, named as for
    // SetSubtitles: "" none (the default).
    virtual void SetStillSubtitles(const std::string& subtitles) = 0;
    // Whether the media libraries can write that MP4 codec.
    virtual bool HasVideoCodec(short codec) = 0;

    virtual std::unique_ptr<IWmvProfileCollection> GetWmvProfiles() = 0;
    virtual std::unique_ptr<ICompressorCollection> GetVideoCompressors() = 0;
    virtual std::unique_ptr<ICompressorCollection> GetAudioCompressors() = 0;

    virtual void ClearClips() = 0;
    virtual bool AddVideoClip(const std::string& path, double start, double end, short keepSize) = 0;
    virtual bool AddAudioClip(const std::string& path, double start, double end) = 0;

    virtual bool Convert(const std::string& outputPath) = 0;
    virtual bool Preview() = 0;
    virtual void Stop() = 0;

    virtual double GetDuration(const std::string& path) = 0;
    virtual short GetVideoWidth(const std::string& path) = 0;
    virtual short GetVideoHeight(const std::string& path) = 0;
    // The file's picture, sound and subtitle tracks in the file's order; none when it cannot
    // be read. May be called from any thread.
    virtual std::vector<SourceTrack> GetTracks(const std::string& path) = 0;

    virtual bool SaveFrame(const std::string& mediaPath, double time, const std::string& bitmapPath) = 0;
    virtual bool SaveFrameSized(const std::string& mediaPath, double time, const std::string& bitmapPath,
                                short width, short height) = 0;
    virtual bool SaveAudioAsWma(const std::string& outputPath) = 0;
    virtual bool SaveAudioAsWav(const std::string& outputPath, short channels, long sampleRate,
                                short bytesPerSample) = 0;

    // Why the last run or clip was refused or the last run failed, in words for the user
    // ("cannot open /a.avi: No such file or directory"); empty when the last run started and has
    // not failed. Cleared when a run starts.
    virtual std::string GetLastError() = 0;
};
