// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>

#include "dudidevar/plan/CompressorCatalog.h"
#include "dudidevar/control/DudidEvarControl.h"

namespace {

// How many of a collection's names contain the part, in any case.
int countNamed(ICompressorCollection& list, const std::string& part)
{
    int count = 0;
    for (short i = 0; i < list.GetCount(); ++i) {
        std::string name = list.GetName(i);
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        count += name.find(part) != std::string::npos;
    }
    return count;
}

TEST(CollectionsTest, ListsHoldOneEntryPerCodecTheMp3DefaultLastAndTheFirstWmvProfile)
{
    DudidEvarControl control;
    auto video = control.GetVideoCompressors();
    ASSERT_GE(video->GetCount(), 5);
    EXPECT_EQ(countNamed(*video, "divx"), 1);
    EXPECT_EQ(countNamed(*video, "xvid"), 1);
    EXPECT_EQ(video->FindIndex(video->GetName(2)), 2);
    EXPECT_EQ(video->FindIndex("no such codec"), -1);
    EXPECT_EQ(video->GetName(99), "");

    auto audio = control.GetAudioCompressors();
    ASSERT_GE(audio->GetCount(), 4);
    EXPECT_EQ(countNamed(*audio, "mpeg layer-3"), 1);
    EXPECT_NE(audio->GetName(short(audio->GetCount() - 1)).find("MPEG Layer-3"), std::string::npos);

    // Compressors without settings have no page.
    EXPECT_FALSE(video->ShowPropertyPage(video->FindIndex("HuffYUV Lossless")));
    EXPECT_FALSE(audio->ShowPropertyPage(0));
    EXPECT_FALSE(video->ShowPropertyPage(-1));

    auto profiles = control.GetWmvProfiles();
    ASSERT_GE(profiles->GetCount(), 8);
    EXPECT_EQ(profiles->GetProfileName(0), "Windows Media Video 8 for Local Area Network (384 Kbps)");
    EXPECT_EQ(profiles->GetProfileName(profiles->GetCount()), "");
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

}  // namespace
