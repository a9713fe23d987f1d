// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/widgets/CompressorSettingsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

CompressorSettingsDialog::CompressorSettingsDialog(const VideoCompressorInfo& info,
                                                   const CompressorSettings& current, QWidget* parent)
    : QDialog(parent), settings_(current)
{
    build(QString::fromUtf8(info.name));
    if (info.rate == RateControl::BitRate)
        kbps_ = addRow(tr("Bit rate (kbit/s)"), 100, 20000, current.kbps);
    if (info.rate == RateControl::Quality)
        quality_ = addRow(tr("Quality (1-100)"), 1, 100, current.quality);
    if (info.defaultKeyInterval > 0)
        keyInterval_ = addRow(tr("Key frame every (frames)"), 1, 1000, current.keyInterval);
}

CompressorSettingsDialog::CompressorSettingsDialog(const AudioCompressorInfo& info,
                                                   const CompressorSettings& current, QWidget* parent)
    : QDialog(parent), settings_(current)
{
    build(QString::fromUtf8(info.name));
    kbps_ = addRow(tr("Bit rate (kbit/s)"), 32, 448, current.kbps);
}

void CompressorSettingsDialog::build(const QString& title)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QSpinBox* CompressorSettingsDialog::addRow(const QString& label, int minimum, int maximum, int value)
{
    auto* box = new QSpinBox(this);
    box->setRange(minimum, maximum);
    box->setValue(value);
    form_->addRow(label, box);
    return box;
}

CompressorSettings CompressorSettingsDialog::settings() const
{
    CompressorSettings s = settings_;
    if (kbps_)
        s.kbps = kbps_->value();
    if (quality_)
        s.quality = quality_->value();
    if (keyInterval_)
        s.keyInterval = keyInterval_->value();
    return s;
}
