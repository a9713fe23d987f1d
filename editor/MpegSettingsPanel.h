// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/MpegChoice.h"
#include "editor/MpegPresetState.h"
#include "editor/SettingsPanel.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class UpDownButton;

// The MPEG settings of the task editor (template 143) for DVD, VCD, SVCD and custom MPEG:
// NTSC or PAL, size and frame rate (fixed by the disc presets), VBR with its quality or a
// video bit rate, "Video Only" and the audio bit rate. Made hidden; opens on the DVD preset
// for NTSC.
class MpegSettingsPanel : public SettingsPanel {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 143;
    static constexpr int kSpinMinimum = 10;
    static constexpr int kSpinMaximum = 100;

    explicit MpegSettingsPanel(QWidget* parent);

    // Mode 0 DVD, 1 VCD, 2 SVCD, 3 custom MPEG: the preset's values and enable states. What
    // the user entered in the fields and lists the preset does not fix is kept.
    void ApplyPreset(int mode);
    bool IsNtsc() const { return state_.ntsc(); }
    int Mode() const { return state_.mode(); }

    // What the controls show at this moment.
    MpegChoice shownChoice() const;

    // The record's standard and values, shown under the mode applied last.
    void showRecord(const TaskSettings& settings) override;
    void writeRecord(TaskSettings& settings, OutputKind kind) const override;

private:
    void buildControls();
    void connectControls();
    void open();
    void fillLists();
    void showState();
    void showEnables();
    void onStandard(bool ntsc);
    void onVbr(bool checked);
    void onVideoOnly(bool checked);

    MpegPresetState state_;
    QRadioButton* ntsc_ = nullptr;
    QRadioButton* pal_ = nullptr;
    QComboBox* widths_ = nullptr;
    QCheckBox* originalSize_ = nullptr;
    QComboBox* heights_ = nullptr;
    QComboBox* frameRates_ = nullptr;
    QCheckBox* vbr_ = nullptr;
    QLineEdit* quality_ = nullptr;
    UpDownButton* qualitySpin_ = nullptr;
    QLineEdit* videoBitRate_ = nullptr;
    QCheckBox* videoOnly_ = nullptr;
    QComboBox* audioBitRates_ = nullptr;
};
