// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "editor/AviChoice.h"
#include "editor/SettingsPanel.h"

class CDudidEvar;
class CSkinButton;
class QCheckBox;
class QComboBox;

// The AVI settings of the task editor (template 142): video and audio compressor from the
// control, picture size or the source's size, frame rate, and "Video Only". Made hidden; it
// fills its lists from the control as it is made.
class AviSettingsPanel : public SettingsPanel {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 142;

    AviSettingsPanel(CDudidEvar& control, QWidget* parent);

    // What the controls show at this moment.
    AviChoice shownChoice() const;

    void showRecord(const TaskSettings& settings) override;
    void writeRecord(TaskSettings& settings, OutputKind kind) const override;

private:
    void buildControls();
    void connectControls();
    void open();
    void fillCompressors(QComboBox* list, const std::vector<std::string>& names, int selected);
    void showChoice(const AviChoice& choice);
    void showPropertyPage();
    void onVideoOnly(bool checked);
    void onOriginalSize(bool checked);

    CDudidEvar& control_;
    QComboBox* videoCompressors_ = nullptr;
    QComboBox* audioCompressors_ = nullptr;
    QComboBox* widths_ = nullptr;
    QComboBox* heights_ = nullptr;
    QComboBox* frameRates_ = nullptr;
    QCheckBox* originalSize_ = nullptr;
    QCheckBox* videoOnly_ = nullptr;
    CSkinButton* pageButton_ = nullptr;
};
