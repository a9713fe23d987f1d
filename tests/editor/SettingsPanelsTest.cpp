// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRadioButton>

#include "EditorFixture.h"
#include "editor/AviSettingsPanel.h"
#include "editor/MpegSettingsPanel.h"
#include "editor/UpDownButton.h"
#include "editor/WmvProfilePanel.h"

using AviPanel = EditorFixture;

TEST_F(AviPanel, FetchesEachCollectionPerCallAndPrefersTheLastDivxAndVideoOnlyLocksTheAudioList)
{
    scripted_->script().videoCompressors = {"Cinepak", "DivX 4", "divx pro", "Xvid"};
    scripted_->script().audioCompressors = {"PCM"};
    AviSettingsPanel panel(control_, nullptr);
    const std::vector<std::string> expected = {
        "GetVideoCompressors()", "VideoCompressors.GetCount()",
        "GetVideoCompressors()", "VideoCompressors.GetName(0)",
        "GetVideoCompressors()", "VideoCompressors.GetName(1)",
        "GetVideoCompressors()", "VideoCompressors.GetName(2)",
        "GetVideoCompressors()", "VideoCompressors.GetName(3)",
        "GetAudioCompressors()", "AudioCompressors.GetCount()",
        "GetAudioCompressors()", "AudioCompressors.GetName(0)"};
    EXPECT_EQ(scripted_->calls(), expected);
    EXPECT_EQ(in<QComboBox>(&panel, 1028)->currentText(), "divx pro");
    QComboBox* audio = in<QComboBox>(&panel, 1030);
    EXPECT_EQ(audio->currentText(), "PCM");
    in<QCheckBox>(&panel, 1069)->click();
    EXPECT_FALSE(audio->isEnabled());
    in<QCheckBox>(&panel, 1069)->click();
    EXPECT_TRUE(audio->isEnabled());
    EXPECT_EQ(audio->currentIndex(), 0);
}

TEST_F(AviPanel, WithoutAudioCompressorsOkStoresMinusOne)
{
    scripted_->script().audioCompressors.clear();
    auto d = openNew(dir() + "a.mpg");
    EXPECT_EQ(in<QComboBox>(d->AviPanel(), 1030)->currentIndex(), -1);
    in<QComboBox>(d->AviPanel(), 1047)->setCurrentIndex(6);
    in<QCheckBox>(d->AviPanel(), 1069)->click();
    ASSERT_TRUE(pressOk(*d));
    const TaskSettings& s = *tasks_.at(0).settings;
    EXPECT_EQ(s.audioCompressor, -1);
    EXPECT_EQ(s.videoCompressor, 1);
    EXPECT_EQ(s.videoOnly, 1);
    EXPECT_FLOAT_EQ(s.frameRate, 60.0f);
    EXPECT_EQ(s.width, 352);
}

TEST_F(AviPanel, SettingsPageOfTheSelectedCompressorOrANotice)
{
    scripted_->script().compressorsWithPages = {"Xvid"};
    AviSettingsPanel panel(control_, nullptr);
    scripted_->clearCalls();
    in<CSkinButton>(&panel, 1029)->click();
    EXPECT_EQ(scripted_->calls(), (std::vector<std::string>{"GetVideoCompressors()", "VideoCompressors.FindIndex(DivX 5)",
                                                            "GetVideoCompressors()", "VideoCompressors.ShowPropertyPage(1)"}));
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "No Property Page");
    EXPECT_EQ(prompts_->shown[0].icon, PromptIcon::None);
    EXPECT_EQ(prompts_->shown[0].buttons, PromptButtons::Ok);
    in<QComboBox>(&panel, 1028)->setCurrentIndex(2);
    in<CSkinButton>(&panel, 1029)->click();
    EXPECT_EQ(prompts_->shown.size(), 1u);
}

using MpegPanel = EditorFixture;

TEST_F(MpegPanel, DiscKindsLockTheirFieldsAndStoreTheChosenStandard)
{
    auto d = openNew(dir() + "a.mpg");
    MpegSettingsPanel& panel = *d->MpegPanel();
    pickKind(*d, OutputKind::Vcd);
    for (const int id : {1074, 1021, 1031, 1032, 1047, 1024, 1071})
        EXPECT_FALSE(panel.findChild<QWidget*>(QString::number(id))->isEnabled()) << id;
    EXPECT_TRUE(in<QComboBox>(&panel, 1048)->isEnabled());

    pickKind(*d, OutputKind::Svcd);
    in<QRadioButton>(&panel, 1076)->click();
    EXPECT_EQ(in<QComboBox>(&panel, 1032)->currentText(), "576");
    EXPECT_EQ(in<QComboBox>(&panel, 1047)->currentText(), "25 fps - PAL");
    ASSERT_TRUE(pressOk(*d));
    const TaskSettings& s = *tasks_.at(0).settings;
    EXPECT_EQ(s.format, OutputFormat::SvcdPal);
    EXPECT_EQ(s.height, 576);
    EXPECT_EQ(s.mpegFrameRateIndex, 2);
}

TEST_F(MpegPanel, QualitySpinStepsWithinItsRange)
{
    MpegSettingsPanel panel(nullptr);
    QLineEdit* quality = in<QLineEdit>(&panel, 1024);
    UpDownButton* spin = in<UpDownButton>(&panel, 1049);
    spin->stepBy(1);
    EXPECT_EQ(quality->text(), "100");
    spin->stepBy(-1);
    EXPECT_EQ(quality->text(), "99");
    quality->setText("3");
    spin->stepBy(-1);
    EXPECT_EQ(quality->text(), "10");
}

using WmvPanel = EditorFixture;

TEST_F(WmvPanel, ListsVideoProfilesAndOkStoresTheControlsIndexOrMinusOne)
{
    scripted_->script().wmvProfiles = {"Video 56", "Audio 32", "audio and video 300"};
    auto d = openNew(dir() + "a.mpg");
    pickKind(*d, OutputKind::Wmv);
    QComboBox* list = in<QComboBox>(d->WmvPanel(), 1044);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->itemText(1), "audio and video 300");
    list->setCurrentIndex(1);
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings->wmvProfile, 2);

    scripted_->script().wmvProfiles.clear();
    auto none = openNew(dir() + "b.mpg");
    pickKind(*none, OutputKind::Wmv);
    in<QCheckBox>(none->WmvPanel(), 1069)->click();
    ASSERT_TRUE(pressOk(*none));
    EXPECT_EQ(tasks_.at(1).settings->wmvProfile, -1);
    EXPECT_EQ(tasks_.at(1).settings->videoOnly, 1);
}
