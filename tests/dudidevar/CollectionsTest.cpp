#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "dudidevar/CompressorCatalog.h"
#include "dudidevar/DudidEvarControl.h"

namespace {

std::vector<std::string> names(ICompressorCollection& list)
{
    std::vector<std::string> out;
    for (short i = 0; i < list.GetCount(); ++i)
        out.push_back(list.GetName(i));
    return out;
}

bool contains(const std::string& text, const std::string& part)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    return lower.find(part) != std::string::npos;
}

TEST(CollectionsTest, VideoCompressorsIncludeXvidAndOneDivxEntry)
{
    DudidEvarControl control;
    auto video = control.GetVideoCompressors();
    const auto list = names(*video);
    ASSERT_GE(list.size(), 5u);
    EXPECT_EQ(std::count_if(list.begin(), list.end(), [](auto& n) { return contains(n, "divx"); }), 1);
    EXPECT_EQ(std::count_if(list.begin(), list.end(), [](auto& n) { return contains(n, "xvid"); }), 1);
    EXPECT_EQ(video->FindIndex(list[2]), 2);
    EXPECT_EQ(video->FindIndex("no such codec"), -1);
    EXPECT_EQ(video->GetName(99), "");
}

TEST(CollectionsTest, AudioCompressorsEndWithTheMp3Default)
{
    DudidEvarControl control;
    auto audio = control.GetAudioCompressors();
    const auto list = names(*audio);
    ASSERT_GE(list.size(), 4u);
    EXPECT_TRUE(contains(list.back(), "mpeg layer-3"));
    EXPECT_EQ(std::count_if(list.begin(), list.end(), [](auto& n) { return contains(n, "mpeg layer-3"); }), 1);
}

TEST(CollectionsTest, CompressorsWithoutSettingsHaveNoPage)
{
    DudidEvarControl control;
    auto video = control.GetVideoCompressors();
    auto audio = control.GetAudioCompressors();
    EXPECT_FALSE(video->ShowPropertyPage(video->FindIndex("HuffYUV Lossless")));
    EXPECT_FALSE(audio->ShowPropertyPage(0));
    EXPECT_FALSE(video->ShowPropertyPage(-1));
}

TEST(CollectionsTest, SettingsPageValuesAreKeptForLaterConversions)
{
    DudidEvarControl control;
    auto video = control.GetVideoCompressors();
    const short xvid = video->FindIndex("Xvid MPEG-4 Codec");
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        const auto boxes = dialog->findChildren<QSpinBox*>();
        ASSERT_EQ(boxes.size(), 2);
        boxes[0]->setValue(900);
        boxes[1]->setValue(30);
        dialog->accept();
    });
    EXPECT_TRUE(video->ShowPropertyPage(xvid));
    EXPECT_EQ(CompressorCatalog::videoSettings(xvid).kbps, 900);
    EXPECT_EQ(CompressorCatalog::videoSettings(xvid).keyInterval, 30);

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_TRUE(video->ShowPropertyPage(xvid));
    EXPECT_EQ(CompressorCatalog::videoSettings(xvid).kbps, 900);
}

TEST(CollectionsTest, WmvProfilesHaveAFixedOrderWithSoundOnlyOnesAmongThem)
{
    DudidEvarControl control;
    auto profiles = control.GetWmvProfiles();
    ASSERT_GE(profiles->GetCount(), 8);
    EXPECT_EQ(profiles->GetProfileName(0), "Windows Media Video 8 for Local Area Network (384 Kbps)");
    int audioOnly = 0;
    for (short i = 0; i < profiles->GetCount(); ++i)
        audioOnly += profiles->GetProfileName(i).find("Audio") != std::string::npos;
    EXPECT_GE(audioOnly, 2);
    EXPECT_EQ(profiles->GetProfileName(profiles->GetCount()), "");
}

}  // namespace
