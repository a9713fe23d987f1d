// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "dudidevar/plan/CompressorCatalog.h"

class QFormLayout;
class QSpinBox;

// A compressor's settings page: its bit rate or quality and, where it has one, the key-frame
// interval.
class CompressorSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CompressorSettingsDialog(const VideoCompressorInfo& info, const CompressorSettings& current,
                             QWidget* parent = nullptr);
    CompressorSettingsDialog(const AudioCompressorInfo& info, const CompressorSettings& current,
                             QWidget* parent = nullptr);

    // The values the dialog shows now.
    CompressorSettings settings() const;

private:
    void build(const QString& title);
    QSpinBox* addRow(const QString& label, int minimum, int maximum, int value);

    CompressorSettings settings_;
    QSpinBox* kbps_ = nullptr;
    QSpinBox* quality_ = nullptr;
    QSpinBox* keyInterval_ = nullptr;
    QFormLayout* form_ = nullptr;
};
