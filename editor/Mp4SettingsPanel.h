// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "editor/Mp4Choice.h"
#include "editor/SettingsPanel.h"

class CDudidEvar;
class CSkinButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The MP4 settings of the task editor: codec (those the control can write), quality with its
// default button, speed, picture height or the source's size, frame rate, and the sound's bit
// rate or "Video Only", and whether the chosen subtitles are kept as a track rather than burned
// in (kept by the task, not its settings record). Made hidden.
class Mp4SettingsPanel : public SettingsPanel {
    Q_OBJECT
public:
    static constexpr int kCodecListId = 1200;
    static constexpr int kQualityId = 1201;
    static constexpr int kQualitySpinId = 1202;
    static constexpr int kDefaultQualityId = 1203;
    static constexpr int kSpeedListId = 1204;
    static constexpr int kHeightListId = 1205;
    static constexpr int kOriginalSizeId = 1206;
    static constexpr int kFrameRateListId = 1207;
    static constexpr int kVideoOnlyId = 1208;
    static constexpr int kAudioBitRateListId = 1209;
    static constexpr int kSubtitleTrackId = 1210;

    Mp4SettingsPanel(CDudidEvar& control, QWidget* parent);

    // Shows a stored choice (a codec the control cannot write falls back to the first it can).
    void showChoice(const Mp4Choice& choice);
    // What the controls show at this moment.
    Mp4Choice shownChoice() const;

    void showRecord(const TaskSettings& settings) override;
    void writeRecord(TaskSettings& settings, OutputKind kind) const override;

    // The subtitles kept as a track players switch on and off.
    void showSubtitleTrack(bool kept);
    bool subtitleTrack() const;

    // Heights above the source's picture read "(enlarges)"; 0 when the height is not known.
    void MarkHeightsAbove(int sourceHeight);

private:
    void buildControls();
    void connectControls();
    void fillLists();
    void onCodec(int position);
    void showDefaultQuality();
    int shownCodec() const;

    std::vector<int> codecs_;  // the codec of each list position
    QComboBox* codecList_ = nullptr;
    QLineEdit* quality_ = nullptr;
    CSkinButton* defaultQuality_ = nullptr;
    QComboBox* speeds_ = nullptr;
    QComboBox* heights_ = nullptr;
    QCheckBox* originalSize_ = nullptr;
    QComboBox* frameRates_ = nullptr;
    QCheckBox* videoOnly_ = nullptr;
    QComboBox* audioBitRates_ = nullptr;
    QCheckBox* subtitleTrack_ = nullptr;
};
