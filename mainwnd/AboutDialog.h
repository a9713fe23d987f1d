// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "skin/LinkLabel.h"

// The About box: the program's name, version and maker, and a link to the maker's web page.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLinkId = 1089;

    explicit AboutDialog(QWidget* parent = nullptr);

private:
    void BuildControls();
    void InitialiseLink();

    LinkLabel link;
};
