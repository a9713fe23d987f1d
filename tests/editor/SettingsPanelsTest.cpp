#include <QRadioButton>

#include "EditorFixture.h"
#include "editor/AviSettingsPanel.h"
#include "editor/MpegSettingsPanel.h"
#include "editor/UpDownButton.h"
#include "editor/WmvProfilePanel.h"

using AviPanel = EditorFixture;

TEST_F(AviPanel, FillsItsListsFromTheControlFetchingEachCollectionPerCall)
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
    EXPECT_EQ(in<QComboBox>(&panel, 1030)->currentText(), "PCM");
    EXPECT_EQ(in<QComboBox>(&panel, 1031)->currentText(), "352");
    EXPECT_EQ(in<QComboBox>(&panel, 1032)->currentText(), "240");
    EXPECT_EQ(in<QComboBox>(&panel, 1047)->currentText(), "24 fps");
    EXPECT_EQ(in<QComboBox>(&panel, 1031)->count(), 64);
    EXPECT_EQ(in<QComboBox>(&panel, 1031)->itemText(63), "1024");
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(AviPanel, BoxesLockTheirListsAndKeepTheSelection)
{
    AviSettingsPanel panel(control_, nullptr);
    QComboBox* audio = in<QComboBox>(&panel, 1030);
    EXPECT_EQ(audio->currentText(), "MPEG Layer-3");
    in<QCheckBox>(&panel, 1069)->click();
    EXPECT_FALSE(audio->isEnabled());
    in<QCheckBox>(&panel, 1069)->click();
    EXPECT_TRUE(audio->isEnabled());
    EXPECT_EQ(audio->currentIndex(), 1);

    in<QCheckBox>(&panel, 1071)->click();
    EXPECT_FALSE(in<QComboBox>(&panel, 1031)->isEnabled());
    EXPECT_FALSE(in<QComboBox>(&panel, 1032)->isEnabled());
    EXPECT_TRUE(panel.shownChoice().originalSize);
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

namespace {

struct MpegView {
    QString width, height, frameRate, bitRate, audio;
};

MpegView viewOf(const MpegSettingsPanel& p)
{
    auto text = [&p](int id) { return TemplateBuilder::control<QComboBox>(&p, id)->currentText(); };
    return {text(1031), text(1032), text(1047), TemplateBuilder::control<QLineEdit>(&p, 1074)->text(), text(1048)};
}

}  // namespace

TEST_F(MpegPanel, DiscKindsShowTheirPresetForNtscAndPal)
{
    auto d = openNew(dir() + "a.mpg");
    MpegSettingsPanel& panel = *d->MpegPanel();
    pickKind(*d, OutputKind::Dvd);
    MpegView v = viewOf(panel);
    EXPECT_EQ(v.width, "720");
    EXPECT_EQ(v.height, "480");
    EXPECT_EQ(v.frameRate, "29.97 fps - NTSC");
    EXPECT_EQ(v.bitRate, "5000");
    EXPECT_EQ(v.audio, "224");
    EXPECT_TRUE(in<QRadioButton>(&panel, 1073)->isChecked());
    EXPECT_FALSE(in<QCheckBox>(&panel, 1021)->isChecked());

    in<QRadioButton>(&panel, 1076)->click();
    v = viewOf(panel);
    EXPECT_EQ(v.height, "576");
    EXPECT_EQ(v.frameRate, "25 fps - PAL");

    pickKind(*d, OutputKind::Vcd);
    v = viewOf(panel);
    EXPECT_EQ(v.width + "x" + v.height, "352x288");
    EXPECT_EQ(v.bitRate, "1150");
    for (const int id : {1074, 1021, 1031, 1032, 1047, 1024, 1071})
        EXPECT_FALSE(panel.findChild<QWidget*>(QString::number(id))->isEnabled()) << id;
    EXPECT_TRUE(in<QComboBox>(&panel, 1048)->isEnabled());

    pickKind(*d, OutputKind::Svcd);
    in<QRadioButton>(&panel, 1073)->click();
    v = viewOf(panel);
    EXPECT_EQ(v.width + "x" + v.height, "480x480");
    EXPECT_EQ(v.bitRate, "2500");
    in<QRadioButton>(&panel, 1076)->click();
    ASSERT_TRUE(pressOk(*d));
    const TaskSettings& s = *tasks_.at(0).settings;
    EXPECT_EQ(s.format, OutputFormat::SvcdPal);
    EXPECT_EQ(s.height, 576);
    EXPECT_EQ(s.mpegFrameRateIndex, 2);
}

TEST_F(MpegPanel, CustomFreesThePictureAndLocksTheStandard)
{
    auto d = openNew(dir() + "a.mpg");
    MpegSettingsPanel& panel = *d->MpegPanel();
    pickKind(*d, OutputKind::MpegCustom);
    const MpegView v = viewOf(panel);
    EXPECT_EQ(v.width + "x" + v.height, "720x480");
    EXPECT_EQ(v.frameRate, "29.97 fps - NTSC");
    EXPECT_EQ(v.bitRate, "2000");
    EXPECT_FALSE(in<QRadioButton>(&panel, 1073)->isEnabled());
    EXPECT_FALSE(in<QRadioButton>(&panel, 1076)->isEnabled());
    EXPECT_TRUE(in<QComboBox>(&panel, 1031)->isEnabled());
    EXPECT_FALSE(in<QCheckBox>(&panel, 1071)->isEnabled());
    EXPECT_FALSE(in<QLineEdit>(&panel, 1024)->isEnabled());

    in<QComboBox>(&panel, 1031)->setCurrentIndex(39);
    in<QCheckBox>(&panel, 1021)->click();
    EXPECT_TRUE(in<QLineEdit>(&panel, 1024)->isEnabled());
    EXPECT_TRUE(in<UpDownButton>(&panel, 1049)->isEnabled());
    EXPECT_FALSE(in<QLineEdit>(&panel, 1074)->isEnabled());
    EXPECT_EQ(in<QComboBox>(&panel, 1031)->currentText(), "640");
    in<QLineEdit>(&panel, 1024)->setText("150");
    in<QLineEdit>(&panel, 1074)->setText("12000");
    in<QCheckBox>(&panel, 1069)->click();
    EXPECT_FALSE(in<QComboBox>(&panel, 1048)->isEnabled());
    ASSERT_TRUE(pressOk(*d));
    const TaskSettings& s = *tasks_.at(0).settings;
    EXPECT_EQ(s.format, OutputFormat::MpegCustom);
    EXPECT_EQ(s.vbr, 1);
    EXPECT_EQ(s.vbrQuality, 100);
    EXPECT_EQ(s.videoBitRate, 10000);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.videoOnly, 1);
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

TEST_F(WmvPanel, ListsVideoProfilesInTheControlsOrder)
{
    scripted_->script().wmvProfiles = {"Video 56", "Audio 32", "audio and video 300"};
    WmvProfilePanel panel(control_, nullptr);
    EXPECT_EQ(scripted_->calls(), (std::vector<std::string>{
                                      "GetWmvProfiles()", "WmvProfiles.GetCount()",
                                      "GetWmvProfiles()", "WmvProfiles.GetProfileName(0)",
                                      "GetWmvProfiles()", "WmvProfiles.GetProfileName(1)",
                                      "GetWmvProfiles()", "WmvProfiles.GetProfileName(2)"}));
    QComboBox* list = in<QComboBox>(&panel, 1044);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(1), "audio and video 300");
    list->setCurrentIndex(1);
    EXPECT_EQ(panel.chosenProfileIndex(), 2);
}

TEST_F(WmvPanel, WithoutProfilesOkStoresMinusOne)
{
    scripted_->script().wmvProfiles.clear();
    auto d = openNew(dir() + "a.mpg");
    pickKind(*d, OutputKind::Wmv);
    in<QCheckBox>(d->WmvPanel(), 1069)->click();
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings->wmvProfile, -1);
    EXPECT_EQ(tasks_.at(0).settings->videoOnly, 1);
}
