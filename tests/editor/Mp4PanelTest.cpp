// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGroupBox>

#include "EditorFixture.h"
#include "Mp4Defaults.h"
#include "editor/AviSettingsPanel.h"
#include "editor/Mp4SettingsPanel.h"
#include "editor/MpegSettingsPanel.h"

namespace {

class Mp4PanelTest : public EditorFixture {
protected:
    static QComboBox* list(const TaskEditorDialog& d, int id) { return in<QComboBox>(d.Mp4Panel(), id); }
    static QLineEdit* quality(const TaskEditorDialog& d) { return in<QLineEdit>(d.Mp4Panel(), Mp4SettingsPanel::kQualityId); }
    static QCheckBox* box(const TaskEditorDialog& d, int id) { return in<QCheckBox>(d.Mp4Panel(), id); }

    static std::vector<QString> itemsOf(QComboBox* combo)
    {
        std::vector<QString> items;
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i));
        return items;
    }

    const TaskSettings& lastSettings() const { return *tasks_.at(tasks_.size() - 1).settings; }
};

TEST_F(Mp4PanelTest, TheKindShowsItsPanelNamesTheOutputAndStoresTheDefaults)
{
    auto d = openNew(dir() + "holiday.mpg");
    pickKind(*d, OutputKind::Mp4);
    EXPECT_TRUE(d->Mp4Panel()->isVisible());
    EXPECT_FALSE(d->MpegPanel()->isVisible());
    EXPECT_FALSE(d->AviPanel()->isVisible());
    EXPECT_EQ(output(*d)->text().toStdString(), dir() + "holiday_output.mp4");
    ASSERT_TRUE(pressOk(*d));
    const ConversionTask& task = tasks_.at(0);
    EXPECT_EQ(task.description, "To MP4");
    ExpectMp4Defaults(*task.settings);
}

// Heights above the first source's picture are marked; the mark follows the first source.
TEST_F(Mp4PanelTest, HeightsAboveTheFirstSourceAreMarkedAsEnlarging)
{
    scripted_->script().sizes = {{dir() + "phone.mp4", {1280, 720}}, {dir() + "old.avi", {352, 288}}};
    auto d = openNew(dir() + "phone.mp4");
    QComboBox* heights = list(*d, Mp4SettingsPanel::kHeightListId);
    EXPECT_EQ(itemsOf(heights), (std::vector<QString>{"2160 (enlarges)", "1080 (enlarges)", "720", "480", "360"}));
    prompts_->files.push_back(QString::fromStdString(dir() + "old.avi"));
    click(*d, 1057);
    click(*d, 1037);  // the old clip comes first
    EXPECT_EQ(itemsOf(heights).back(), "360 (enlarges)");
    click(*d, 1058);  // and goes
    EXPECT_EQ(itemsOf(heights)[1], "1080 (enlarges)");
    EXPECT_EQ(itemsOf(heights)[2], "720");
}

TEST_F(Mp4PanelTest, OnlyCodecsTheControlCanWriteAreOfferedEachWithItsDefaultQuality)
{
    scripted_->script().videoCodecs = {0, 2};
    auto d = openNew(dir() + "a.mpg");
    pickKind(*d, OutputKind::Mp4);
    QComboBox* codecs = list(*d, Mp4SettingsPanel::kCodecListId);
    EXPECT_EQ(itemsOf(codecs), (std::vector<QString>{"H.264", "AV1"}));
    codecs->setCurrentIndex(1);
    emit codecs->activated(1);
    EXPECT_EQ(quality(*d)->text(), "32");
    quality(*d)->setText("40");
    in<CSkinButton>(d->Mp4Panel(), Mp4SettingsPanel::kDefaultQualityId)->click();
    EXPECT_EQ(quality(*d)->text(), "32");
    quality(*d)->setText("99");  // past the codec's lowest quality
    box(*d, Mp4SettingsPanel::kOriginalSizeId)->setChecked(false);
    list(*d, Mp4SettingsPanel::kHeightListId)->setCurrentIndex(2);
    list(*d, Mp4SettingsPanel::kFrameRateListId)->setCurrentIndex(3);
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(lastSettings().videoCodec, 2);
    EXPECT_EQ(lastSettings().quality, 63);
    EXPECT_EQ(lastSettings().keepSourceSize, 0);
    EXPECT_EQ(lastSettings().height, 720);
    EXPECT_EQ(lastSettings().frameRate, 30.0f);
}

TEST_F(Mp4PanelTest, TheSeventhButtonSitsInTheGrownGroupBelowWmvAndThePanelAboveTheOutputLine)
{
    auto d = openNew(dir() + "a.mpg");
    const QRect wmv = in<CSkinButton>(d.get(), OutputKinds::buttonId(OutputKind::Wmv))->geometry();
    const QRect mp4 = in<CSkinButton>(d.get(), OutputKinds::buttonId(OutputKind::Mp4))->geometry();
    EXPECT_EQ(mp4.x(), wmv.x());
    EXPECT_EQ(mp4.size(), wmv.size());
    EXPECT_GT(mp4.top(), wmv.bottom());
    QGroupBox* group = nullptr;
    for (QGroupBox* g : d->findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly))
        if (g->title() == "Output Format")
            group = g;
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->geometry().contains(mp4));
    const QRect outputLine = output(*d)->geometry();
    EXPECT_GT(outputLine.top(), group->geometry().bottom());
    pickKind(*d, OutputKind::Mp4);
    EXPECT_EQ(d->Mp4Panel()->pos(), d->AviPanel()->pos());
    EXPECT_LT(d->Mp4Panel()->geometry().bottom(), outputLine.top());
}

}  // namespace
