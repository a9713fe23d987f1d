// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/MpegSettingsPanel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

#include "dialogs/TemplateBuilder.h"
#include "editor/PanelLists.h"
#include "editor/UpDownButton.h"

namespace {

constexpr int kFrameRateDropWidth = 150;
constexpr int kDropDownArrowRoom = 32;

const char* const kFrameRateTexts[] = {"23.976 fps - NTSC", "24 fps - Standard Cinema", "25 fps - PAL",
                                       "29.97 fps - NTSC", "30 fps - NTSC"};

}  // namespace

MpegSettingsPanel::MpegSettingsPanel(QWidget* parent) : SettingsPanel(parent)
{
    setObjectName(QString::number(kTemplateId));
    hide();
    buildControls();
    connectControls();
    open();
}

void MpegSettingsPanel::buildControls()
{
    TemplateBuilder t(this);
    t.sizeOwner(189, 170);
    t.addGroupBox(-1, QStringLiteral("Video"), 0, 0, 189, 118);
    ntsc_ = t.addRadioButton(1073, QStringLiteral("NTSC"), 5, 12, 33, 10);
    pal_ = t.addRadioButton(1076, QStringLiteral("PAL"), 52, 12, 28, 10);
    t.addStatic(QStringLiteral("Width"), 17, 32, 27, 9);
    widths_ = t.addDropDownList(1031, 50, 30, 48, 86);
    originalSize_ = t.addCheckBox(1071, QStringLiteral("Original Size"), 109, 30, 54, 13);
    t.addStatic(QStringLiteral("Height"), 17, 49, 27, 9);
    heights_ = t.addDropDownList(1032, 50, 48, 48, 80);
    t.addStatic(QStringLiteral("Frame Rate"), 6, 67, 41, 11);
    frameRates_ = t.addDropDownList(1047, 50, 66, 57, 67);
    vbr_ = t.addCheckBox(1021, QStringLiteral("VBR Mode"), 5, 87, 48, 10);
    t.addStatic(QStringLiteral("Quality(10-100)"), 59, 87, 58, 11);
    quality_ = t.addEdit(1024, 119, 85, 45, 15, true);
    qualitySpin_ = t.place(new UpDownButton(quality_, kSpinMinimum, kSpinMaximum, this), 1049, 167, 85, 10, 14);
    t.addStatic(QStringLiteral("Video Bit Rate(Kbps)"), 5, 103, 68, 11);
    videoBitRate_ = t.addEdit(1074, 78, 101, 38, 13, true);
    t.addGroupBox(-1, QStringLiteral("Audio"), 0, 121, 189, 40);
    videoOnly_ = t.addCheckBox(1069, QStringLiteral("Video Only"), 6, 132, 54, 10);
    t.addStatic(QStringLiteral("Audio Bit Rate(Kbps)"), 6, 146, 68, 11);
    audioBitRates_ = t.addDropDownList(1048, 78, 144, 40, 53);
}

void MpegSettingsPanel::connectControls()
{
    connect(ntsc_, &QRadioButton::clicked, this, [this] { onStandard(true); });
    connect(pal_, &QRadioButton::clicked, this, [this] { onStandard(false); });
    connect(vbr_, &QCheckBox::clicked, this, &MpegSettingsPanel::onVbr);
    connect(videoOnly_, &QCheckBox::toggled, this, &MpegSettingsPanel::onVideoOnly);
}

void MpegSettingsPanel::open()
{
    fillLists();
    frameRates_->view()->setMinimumWidth(kFrameRateDropWidth);
    // The closed list shows its rate in full; the group leaves room to the right.
    const QFontMetrics metrics(frameRates_->font());
    int textWidth = 0;
    for (const char* text : kFrameRateTexts)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(QString::fromLatin1(text)));
    frameRates_->resize(std::max(frameRates_->width(), textWidth + kDropDownArrowRoom), frameRates_->height());
    ntsc_->setChecked(true);
    state_.open();
    showState();
}

void MpegSettingsPanel::fillLists()
{
    for (const char* text : kFrameRateTexts)
        frameRates_->addItem(QString::fromLatin1(text));
    PanelLists::fillSizes(widths_, -1);
    PanelLists::fillSizes(heights_, -1);
    for (const char* text : MpegChoice::kAudioBitRates)
        audioBitRates_->addItem(QString::fromLatin1(text));
}

void MpegSettingsPanel::ApplyPreset(int mode)
{
    state_.takeBack(shownChoice());
    state_.apply(mode);
    showState();
}

void MpegSettingsPanel::showState()
{
    const MpegChoice shown = state_.shown();
    vbr_->setChecked(shown.vbr);
    quality_->setText(QString::fromStdString(shown.quality));
    videoBitRate_->setText(QString::fromStdString(shown.videoBitRate));
    frameRates_->setCurrentIndex(shown.frameRatePosition);
    heights_->setCurrentIndex(shown.heightPosition);
    widths_->setCurrentIndex(shown.widthPosition);
    videoOnly_->setChecked(shown.videoOnly);
    audioBitRates_->setCurrentIndex(shown.audioBitRatePosition);
    showEnables();
}

void MpegSettingsPanel::showEnables()
{
    const MpegPresetState::Enables& e = state_.enables();
    ntsc_->setEnabled(e.standardButtons);
    pal_->setEnabled(e.standardButtons);
    vbr_->setEnabled(e.vbrBox);
    quality_->setEnabled(e.qualityField);
    qualitySpin_->setEnabled(e.qualityField);
    videoBitRate_->setEnabled(e.bitRateField);
    widths_->setEnabled(e.sizeAndRateLists);
    heights_->setEnabled(e.sizeAndRateLists);
    frameRates_->setEnabled(e.sizeAndRateLists);
    originalSize_->setEnabled(e.originalSizeBox);
}

void MpegSettingsPanel::onStandard(bool ntsc)
{
    state_.takeBack(shownChoice());
    state_.setNtsc(ntsc);
    showState();
}

void MpegSettingsPanel::onVbr(bool checked)
{
    state_.takeBack(shownChoice());
    state_.setVbr(checked);
    showState();
}

void MpegSettingsPanel::onVideoOnly(bool checked)
{
    state_.setVideoOnly(checked);
    audioBitRates_->setEnabled(!checked);
}

void MpegSettingsPanel::showRecord(const TaskSettings& settings)
{
    const bool ntsc = MpegChoice::isNtsc(settings.format);
    (ntsc ? ntsc_ : pal_)->setChecked(true);
    state_.load(MpegChoice::fromRecord(settings), ntsc);
    showState();
    originalSize_->setChecked(settings.keepSourceSize != 0);
}

void MpegSettingsPanel::writeRecord(TaskSettings& settings, OutputKind kind) const
{
    shownChoice().writeTo(settings, kind, IsNtsc());
}

MpegChoice MpegSettingsPanel::shownChoice() const
{
    MpegChoice c;
    c.vbr = vbr_->isChecked();
    c.quality = quality_->text().toStdString();
    c.videoBitRate = videoBitRate_->text().toStdString();
    c.frameRatePosition = frameRates_->currentIndex();
    c.heightPosition = heights_->currentIndex();
    c.widthPosition = widths_->currentIndex();
    c.videoOnly = videoOnly_->isChecked();
    c.audioBitRatePosition = audioBitRates_->currentIndex();
    c.originalSize = originalSize_->isChecked();
    return c;
}
