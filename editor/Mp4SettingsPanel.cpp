// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Mp4SettingsPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "dialogs/TemplateBuilder.h"
#include "editor/MpegChoice.h"
#include "editor/UpDownButton.h"
#include "skin/CSkinButton.h"

namespace {

constexpr int kLowestQuality = 63;

template <typename List>
int positionOf(const List& list, int value)
{
    const auto it = std::find(list.begin(), list.end(), value);
    return it == list.end() ? -1 : int(it - list.begin());
}

}  // namespace

Mp4SettingsPanel::Mp4SettingsPanel(CDudidEvar& control, QWidget* parent)
    : SettingsPanel(parent), codecs_(Mp4Choice::availableCodecs(control))
{
    setObjectName(QStringLiteral("Mp4SettingsPanel"));
    hide();
    buildControls();
    fillLists();
    connectControls();
    showChoice(Mp4Choice::defaults(codecs_));
}

void Mp4SettingsPanel::buildControls()
{
    TemplateBuilder t(this);
    t.sizeOwner(189, 164);
    t.addGroupBox(-1, QStringLiteral("Video"), 0, 0, 189, 114);
    t.addStatic(QStringLiteral("Codec"), 7, 12, 41, 9);
    codecList_ = t.addDropDownList(kCodecListId, 50, 10, 106, 50);
    t.addStatic(QStringLiteral("Quality"), 7, 30, 41, 9);
    quality_ = t.addEdit(kQualityId, 50, 28, 30, 13, true);
    t.place(new UpDownButton(quality_, 1, kLowestQuality, this), kQualitySpinId, 82, 28, 10, 14);
    defaultQuality_ = t.addSkinButton(kDefaultQualityId, QStringLiteral("Default"), CSkinButton::PushButtonStyle, 96, 28,
                                      40, 14);
    t.addStatic(QStringLiteral("Speed"), 7, 48, 41, 9);
    speeds_ = t.addDropDownList(kSpeedListId, 50, 46, 106, 50);
    t.addStatic(QStringLiteral("Height"), 7, 66, 41, 9);
    heights_ = t.addDropDownList(kHeightListId, 50, 64, 70, 80);
    originalSize_ = t.addCheckBox(kOriginalSizeId, QStringLiteral("Original Size"), 109, 64, 60, 13);
    t.addStatic(QStringLiteral("Frame Rate"), 7, 84, 41, 9);
    frameRates_ = t.addDropDownList(kFrameRateListId, 50, 82, 70, 80);
    subtitleTrack_ = t.addCheckBox(kSubtitleTrackId, QStringLiteral("Subtitle Track"), 124, 82, 62, 13);
    subtitleTrack_->setToolTip(QStringLiteral("Keeps the chosen text subtitles as a track players switch on and off, "
                                              "instead of burning them into the picture"));
    t.addStatic(QStringLiteral("Lower numbers: better picture, larger file."), 7, 99, 178, 10);
    t.addGroupBox(-1, QStringLiteral("Audio"), 0, 117, 189, 44);
    videoOnly_ = t.addCheckBox(kVideoOnlyId, QStringLiteral("Video Only"), 6, 128, 54, 10);
    t.addStatic(QStringLiteral("AAC Bit Rate"), 7, 144, 50, 9);
    audioBitRates_ = t.addDropDownList(kAudioBitRateListId, 60, 142, 60, 80);
}

void Mp4SettingsPanel::fillLists()
{
    for (const int codec : codecs_)
        codecList_->addItem(QString::fromLatin1(Mp4Choice::kCodecNames[std::size_t(codec)]));
    for (const char* speed : Mp4Choice::kSpeedNames)
        speeds_->addItem(QString::fromLatin1(speed));
    for (const int height : Mp4Choice::kHeights)
        heights_->addItem(QString::number(height));
    frameRates_->addItem(QStringLiteral("Source's"));
    for (const int rate : Mp4Choice::kFrameRates)
        frameRates_->addItem(QStringLiteral("%1 fps").arg(rate));
    for (const int kbps : Mp4Choice::kAudioKbps)
        audioBitRates_->addItem(QStringLiteral("%1 kbit/s").arg(kbps));
}

void Mp4SettingsPanel::MarkHeightsAbove(int sourceHeight)
{
    for (std::size_t i = 0; i < Mp4Choice::kHeights.size(); ++i) {
        const int height = Mp4Choice::kHeights[i];
        const bool enlarges = sourceHeight > 0 && height > sourceHeight;
        heights_->setItemText(static_cast<int>(i), enlarges ? QStringLiteral("%1 (enlarges)").arg(height)
                                                            : QString::number(height));
    }
}

void Mp4SettingsPanel::connectControls()
{
    connect(codecList_, &QComboBox::activated, this, &Mp4SettingsPanel::onCodec);
    connect(defaultQuality_, &QPushButton::clicked, this, &Mp4SettingsPanel::showDefaultQuality);
    connect(originalSize_, &QCheckBox::toggled, heights_, [this](bool on) { heights_->setEnabled(!on); });
    connect(videoOnly_, &QCheckBox::toggled, audioBitRates_, [this](bool on) { audioBitRates_->setEnabled(!on); });
}

void Mp4SettingsPanel::onCodec(int)
{
    showDefaultQuality();
}

void Mp4SettingsPanel::showDefaultQuality()
{
    quality_->setText(QString::number(Mp4Choice::kDefaultQualities[std::size_t(shownCodec())]));
}

int Mp4SettingsPanel::shownCodec() const
{
    const int position = codecList_->currentIndex();
    return position >= 0 && position < int(codecs_.size()) ? codecs_[std::size_t(position)] : 0;
}

void Mp4SettingsPanel::showChoice(const Mp4Choice& choice)
{
    const int codecPosition = positionOf(codecs_, choice.codec);
    codecList_->setCurrentIndex(codecPosition >= 0 ? codecPosition : codecs_.empty() ? -1 : 0);
    quality_->setText(QString::number(codecPosition >= 0 ? choice.quality
                                                         : Mp4Choice::kDefaultQualities[std::size_t(shownCodec())]));
    speeds_->setCurrentIndex(choice.speed);
    originalSize_->setChecked(choice.height == 0);
    heights_->setEnabled(choice.height != 0);
    const int heightPosition = positionOf(Mp4Choice::kHeights, choice.height);
    heights_->setCurrentIndex(heightPosition >= 0 ? heightPosition : positionOf(Mp4Choice::kHeights, 720));
    frameRates_->setCurrentIndex(positionOf(Mp4Choice::kFrameRates, choice.frameRate) + 1);
    videoOnly_->setChecked(choice.videoOnly);
    audioBitRates_->setEnabled(!choice.videoOnly);
    const int kbpsPosition = positionOf(Mp4Choice::kAudioKbps, choice.audioKbps);
    audioBitRates_->setCurrentIndex(kbpsPosition >= 0 ? kbpsPosition
                                                      : positionOf(Mp4Choice::kAudioKbps, Mp4Choice::kDefaultAudioKbps));
}

Mp4Choice Mp4SettingsPanel::shownChoice() const
{
    Mp4Choice c;
    c.codec = shownCodec();
    const long long quality = MpegChoice::fieldNumber(quality_->text().toStdString());
    const int lowest = Mp4Choice::kMaxQualities[std::size_t(c.codec)];
    c.quality = quality > 0 ? int(std::min<long long>(quality, lowest)) : Mp4Choice::kDefaultQualities[std::size_t(c.codec)];
    c.speed = std::max(0, speeds_->currentIndex());
    c.height = originalSize_->isChecked() ? 0 : Mp4Choice::kHeights[std::size_t(std::max(0, heights_->currentIndex()))];
    const int ratePosition = frameRates_->currentIndex();
    c.frameRate = ratePosition > 0 ? Mp4Choice::kFrameRates[std::size_t(ratePosition - 1)] : 0;
    c.audioKbps = Mp4Choice::kAudioKbps[std::size_t(std::max(0, audioBitRates_->currentIndex()))];
    c.videoOnly = videoOnly_->isChecked();
    return c;
}

void Mp4SettingsPanel::showRecord(const TaskSettings& settings)
{
    showChoice(Mp4Choice::fromSettings(settings));
}

void Mp4SettingsPanel::writeRecord(TaskSettings& settings, OutputKind) const
{
    shownChoice().writeTo(settings);
}

void Mp4SettingsPanel::showSubtitleTrack(bool kept)
{
    subtitleTrack_->setChecked(kept);
}

bool Mp4SettingsPanel::subtitleTrack() const
{
    return subtitleTrack_->isChecked();
}
