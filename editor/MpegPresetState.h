// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "editor/MpegChoice.h"
#include "tasks/OutputKind.h"

// The stored values of the MPEG settings panel and the presets that set them: DVD, VCD and
// SVCD fix size, frame rate and bit rate for NTSC or PAL; custom MPEG leaves size and rate to
// the user. The panel writes shown() into its controls and enables them by enables().
class MpegPresetState {
public:
    enum Mode { Dvd = 0, Vcd = 1, Svcd = 2, Custom = 3 };

    struct Enables {
        bool standardButtons = true;  // NTSC and PAL
        bool vbrBox = true;
        bool qualityField = false;    // with its spin button
        bool bitRateField = true;
        bool sizeAndRateLists = true; // width, height and frame rate
        bool originalSizeBox = true;
    };

    struct Preset {
        std::uint32_t videoBitRate;
        bool clearsVbr;
        bool fixesPicture;  // size and rate below are used and the lists locked
        int widthPosition;
        int ntscHeightPosition;
        int palHeightPosition;
        int ntscFrameRatePosition;
        int palFrameRatePosition;
    };

    static const Preset& preset(int mode);
    // What a fresh panel shows for a kind when the standard is chosen before the kind, as a
    // user picks NTSC or PAL under DVD and then the kind.
    static MpegChoice presetChoice(OutputKind kind, bool ntsc);

    // The panel's opening: audio bit rate "224", NTSC, then the DVD preset.
    void open();
    // Sets the preset's values and enable states for the mode and the current standard.
    void apply(int mode);
    void setNtsc(bool ntsc);  // then the current preset again
    void setVbr(bool vbr);    // then the current preset again
    // A stored record's values and standard shown under the current mode, as they are: the
    // preset's fixed values do not replace them.
    void load(const MpegChoice& stored, bool ntsc);
    void setVideoOnly(bool videoOnly) { videoOnly_ = videoOnly; }
    // The user's own entries, kept when a preset is applied again (a preset still overrides
    // what it fixes).
    void takeBack(const MpegChoice& shown);

    MpegChoice shown() const;
    const Enables& enables() const { return enables_; }
    bool ntsc() const { return ntsc_; }
    int mode() const { return mode_; }

private:
    void setPresetValues();
    void setEnables();

    bool vbr_ = false;
    std::uint32_t quality_ = 100;
    std::uint32_t videoBitRate_ = 4000;
    int frameRatePosition_ = -1;
    int heightPosition_ = -1;
    int widthPosition_ = -1;
    bool videoOnly_ = false;
    int audioBitRatePosition_ = -1;
    bool ntsc_ = true;
    int mode_ = Dvd;
    Enables enables_;
};
