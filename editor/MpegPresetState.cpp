// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/MpegPresetState.h"

#include <algorithm>
#include <array>
#include <string>

const MpegPresetState::Preset& MpegPresetState::preset(int mode)
{
    static constexpr std::array<Preset, 4> presets{{
        {5000, false, true, 44, 29, 35, 3, 2},   // DVD: 720 x 480 / 576
        {1150, true, true, 21, 14, 17, 3, 2},    // VCD: 352 x 240 / 288
        {2500, true, true, 29, 29, 35, 3, 2},    // SVCD: 480 x 480 / 576
        {2000, false, false, -1, -1, -1, -1, -1}, // custom: the last disc picture stays
    }};
    return presets[static_cast<std::size_t>(std::clamp(mode, 0, 3))];
}

MpegChoice MpegPresetState::presetChoice(OutputKind kind, bool ntsc)
{
    MpegPresetState state;
    state.open();
    state.setNtsc(ntsc);
    state.apply(OutputKinds::presetMode(kind));
    return state.shown();
}

void MpegPresetState::open()
{
    audioBitRatePosition_ = 1;
    ntsc_ = true;
    apply(Dvd);
}

void MpegPresetState::apply(int mode)
{
    mode_ = std::clamp(mode, 0, 3);
    setPresetValues();
    setEnables();
}

void MpegPresetState::setPresetValues()
{
    const Preset& p = preset(mode_);
    videoBitRate_ = p.videoBitRate;
    if (p.clearsVbr)
        vbr_ = false;
    if (p.fixesPicture) {
        widthPosition_ = p.widthPosition;
        heightPosition_ = ntsc_ ? p.ntscHeightPosition : p.palHeightPosition;
        frameRatePosition_ = ntsc_ ? p.ntscFrameRatePosition : p.palFrameRatePosition;
    }
}

void MpegPresetState::setEnables()
{
    const Preset& p = preset(mode_);
    if (p.fixesPicture)
        enables_.originalSizeBox = false;
    const bool vbrOffered = mode_ == Dvd || mode_ == Custom;
    enables_.standardButtons = mode_ != Custom;
    enables_.vbrBox = vbrOffered;
    enables_.qualityField = vbrOffered && vbr_;
    enables_.bitRateField = vbrOffered && !vbr_;
    enables_.sizeAndRateLists = !p.fixesPicture;
}

void MpegPresetState::load(const MpegChoice& stored, bool ntsc)
{
    takeBack(stored);
    videoBitRate_ = static_cast<std::uint32_t>(MpegChoice::fieldNumber(stored.videoBitRate));
    ntsc_ = ntsc;
    setEnables();
}

void MpegPresetState::setNtsc(bool ntsc)
{
    ntsc_ = ntsc;
    apply(mode_);
}

void MpegPresetState::setVbr(bool vbr)
{
    vbr_ = vbr;
    apply(mode_);
}

void MpegPresetState::takeBack(const MpegChoice& shown)
{
    vbr_ = shown.vbr;
    quality_ = static_cast<std::uint32_t>(MpegChoice::fieldNumber(shown.quality));
    frameRatePosition_ = shown.frameRatePosition;
    heightPosition_ = shown.heightPosition;
    widthPosition_ = shown.widthPosition;
    videoOnly_ = shown.videoOnly;
    audioBitRatePosition_ = shown.audioBitRatePosition;
}

MpegChoice MpegPresetState::shown() const
{
    MpegChoice c;
    c.vbr = vbr_;
    c.quality = std::to_string(quality_);
    c.videoBitRate = std::to_string(videoBitRate_);
    c.frameRatePosition = frameRatePosition_;
    c.heightPosition = heightPosition_;
    c.widthPosition = widthPosition_;
    c.videoOnly = videoOnly_;
    c.audioBitRatePosition = audioBitRatePosition_;
    return c;
}
