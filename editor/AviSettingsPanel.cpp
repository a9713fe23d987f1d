// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/AviSettingsPanel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>

#include "dialogs/TemplateBuilder.h"
#include "editor/PictureSizes.h"
#include "editor/PanelLists.h"
#include "engine/CDudidEvar.h"
#include "platform/Prompts.h"
#include "skin/CSkinButton.h"

namespace {

constexpr int kSettingsPageIcon = 181;
constexpr int kVideoCompressorDropWidth = 200;

}  // namespace

AviSettingsPanel::AviSettingsPanel(CDudidEvar& control, QWidget* parent) : SettingsPanel(parent), control_(control)
{
    setObjectName(QString::number(kTemplateId));
    hide();
    buildControls();
    connectControls();
    open();
}

void AviSettingsPanel::buildControls()
{
    TemplateBuilder t(this);
    t.sizeOwner(189, 152);
    t.addGroupBox(-1, QStringLiteral("Video"), 0, 0, 189, 82);
    t.addStatic(QStringLiteral("Compressor"), 7, 11, 41, 11);
    videoCompressors_ = t.addDropDownList(1028, 50, 10, 106, 82);
    pageButton_ = t.addSkinButton(1029, QString(), CSkinButton::PushButtonStyle, 164, 10, 18, 13);
    t.addStatic(QStringLiteral("Width"), 17, 30, 27, 9);
    widths_ = t.addDropDownList(1031, 50, 28, 48, 82);
    originalSize_ = t.addCheckBox(1071, QStringLiteral("Original Size"), 109, 28, 54, 13);
    t.addStatic(QStringLiteral("Height"), 17, 47, 27, 9);
    heights_ = t.addDropDownList(1032, 50, 46, 48, 85);
    t.addStatic(QStringLiteral("Frame Rate"), 6, 65, 41, 11);
    frameRates_ = t.addDropDownList(1047, 50, 64, 48, 85);
    t.addGroupBox(-1, QStringLiteral("Audio"), 0, 85, 189, 57);
    videoOnly_ = t.addCheckBox(1069, QStringLiteral("Video Only"), 6, 96, 54, 10);
    t.addStatic(QStringLiteral("Compressor"), 7, 112, 40, 11);
    audioCompressors_ = t.addDropDownList(1030, 50, 111, 106, 82);
}

void AviSettingsPanel::connectControls()
{
    connect(pageButton_, &QPushButton::clicked, this, &AviSettingsPanel::showPropertyPage);
    connect(videoOnly_, &QCheckBox::toggled, this, &AviSettingsPanel::onVideoOnly);
    connect(originalSize_, &QCheckBox::toggled, this, &AviSettingsPanel::onOriginalSize);
    // A long compressor name is cut at the box's edge; its tip shows it whole.
    for (QComboBox* list : {videoCompressors_, audioCompressors_})
        connect(list, &QComboBox::currentTextChanged, list, &QWidget::setToolTip);
}

void AviSettingsPanel::open()
{
    const std::vector<std::string> videoNames = AviChoice::videoCompressorNames(control_);
    videoCompressors_->view()->setMinimumWidth(kVideoCompressorDropWidth);
    const std::vector<std::string> audioNames = AviChoice::audioCompressorNames(control_);
    const AviChoice defaults = AviChoice::defaults(videoNames, audioNames);
    fillCompressors(videoCompressors_, videoNames, defaults.videoCompressor);
    fillCompressors(audioCompressors_, audioNames, defaults.audioCompressor);
    PanelLists::fillSizes(widths_, defaults.widthPosition);
    PanelLists::fillSizes(heights_, defaults.heightPosition);
    for (const int rate : AviChoice::kFrameRates)
        frameRates_->addItem(QStringLiteral("%1 fps").arg(rate));
    showChoice(defaults);
    pageButton_->SetIcons(kSettingsPageIcon, CSkinButton::NoSecondIcon);
    pageButton_->setToolTip(QStringLiteral("Settings of the video compressor"));
}

void AviSettingsPanel::fillCompressors(QComboBox* list, const std::vector<std::string>& names, int selected)
{
    for (const std::string& name : names)
        list->addItem(QString::fromStdString(name));
    list->setCurrentIndex(selected);
}

void AviSettingsPanel::showPropertyPage()
{
    const std::string name = videoCompressors_->currentIndex() >= 0 ? videoCompressors_->currentText().toStdString()
                                                                      : std::string();
    const short index = control_.GetVideoCompressors().FindIndex(name);
    if (!control_.GetVideoCompressors().ShowPropertyPage(index)) {
        Prompts::get().messageBox(this, QCoreApplication::applicationName(), QStringLiteral("No Property Page"),
                                  PromptIcon::None, PromptButtons::Ok);
    }
}

void AviSettingsPanel::onVideoOnly(bool checked)
{
    audioCompressors_->setEnabled(!checked);
}

void AviSettingsPanel::onOriginalSize(bool checked)
{
    widths_->setEnabled(!checked);
    heights_->setEnabled(!checked);
}

void AviSettingsPanel::showChoice(const AviChoice& choice)
{
    videoCompressors_->setCurrentIndex(choice.videoCompressor);
    audioCompressors_->setCurrentIndex(choice.audioCompressor);
    widths_->setCurrentIndex(choice.widthPosition);
    heights_->setCurrentIndex(choice.heightPosition);
    frameRates_->setCurrentIndex(choice.frameRatePosition);
    originalSize_->setChecked(choice.originalSize);
    videoOnly_->setChecked(choice.videoOnly);
}

void AviSettingsPanel::showRecord(const TaskSettings& settings)
{
    showChoice(AviChoice::fromRecord(settings, videoCompressors_->count(), audioCompressors_->count()));
}

void AviSettingsPanel::writeRecord(TaskSettings& settings, OutputKind) const
{
    shownChoice().writeTo(settings);
}

AviChoice AviSettingsPanel::shownChoice() const
{
    AviChoice c;
    c.videoCompressor = videoCompressors_->currentIndex();
    c.audioCompressor = audioCompressors_->currentIndex();
    c.widthPosition = widths_->currentIndex();
    c.heightPosition = heights_->currentIndex();
    c.frameRatePosition = frameRates_->currentIndex();
    c.originalSize = originalSize_->isChecked();
    c.videoOnly = videoOnly_->isChecked();
    return c;
}
