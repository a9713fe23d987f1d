// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "tasks/OutputKind.h"
#include "tasks/TaskSettings.h"

// A settings panel of the task editor: it shows the stored record of the task being edited and
// writes what its controls show into a record at OK. The editor keeps one per group of kinds.
class SettingsPanel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void showRecord(const TaskSettings& settings) = 0;
    virtual void writeRecord(TaskSettings& settings, OutputKind kind) const = 0;
};
