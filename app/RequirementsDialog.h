// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// The notice shown instead of the main window when the conversion control or the media
// runtime is missing; "More info..." opens the maker's page on system requirements.
class RequirementsDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMoreInfoId = 1109;

    explicit RequirementsDialog(QWidget* parent = nullptr);

private:
    void OpenRequirementsPage();
};
