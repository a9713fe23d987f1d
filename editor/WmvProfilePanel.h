// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "editor/SettingsPanel.h"
#include "editor/WmvProfileChoices.h"

class CDudidEvar;
class QCheckBox;
class QComboBox;

// The WMV/ASF settings of the task editor (template 145): the control's profiles that carry
// video, and "Video Only". Made hidden; it fills its list from the control as it is made.
class WmvProfilePanel : public SettingsPanel {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 145;

    WmvProfilePanel(CDudidEvar& control, QWidget* parent);

    // The control's index of the profile the list shows selected; -1 without a selection.
    int chosenProfileIndex() const;
    bool videoOnly() const;

    // The stored profile by the control's index, and "Video Only".
    void showRecord(const TaskSettings& settings) override;
    void writeRecord(TaskSettings& settings, OutputKind kind) const override;

private:
    void buildControls();
    void open();

    CDudidEvar& control_;
    std::optional<WmvProfileChoices> choices_;
    QComboBox* profiles_ = nullptr;
    QCheckBox* videoOnly_ = nullptr;
};
