// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QTest>

#include "editor/Mp4SettingsPanel.h"

#include "EditorFixture.h"
#include "StalledTracks.h"

namespace {

class TrackChoices : public EditorFixture {
protected:
    static QComboBox* sound(const TaskEditorDialog& d) { return in<QComboBox>(&d, 1120); }
    static QComboBox* subtitles(const TaskEditorDialog& d) { return in<QComboBox>(&d, 1121); }

    void touch(const std::string& name)
    {
        QFile file(QString::fromStdString(dir() + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

// The subtitle files beside the source, with its base name, are offered right after the two
// fixed entries; other files in the folder are not.
TEST_F(TrackChoices, NewTaskOffersTheSubtitleFilesBesideTheSourceAndKeepsWhatIsPicked)
{
    for (const char* name : {"holiday.mpg", "holiday.srt", "holiday.en.ass", "other.srt", "holiday.txt"})
        touch(name);
    auto d = openNew(dir() + "holiday.mpg");
    EXPECT_EQ(sound(*d)->currentText(), "Default sound");
    ASSERT_GE(subtitles(*d)->count(), 4);
    EXPECT_EQ(subtitles(*d)->currentText(), "No subtitles");
    EXPECT_EQ(subtitles(*d)->itemText(1), "Forced only");
    EXPECT_EQ(subtitles(*d)->itemText(2), "holiday.en.ass");
    EXPECT_EQ(subtitles(*d)->itemText(3), "holiday.srt");
    EXPECT_EQ(subtitles(*d)->findText("other.srt"), -1);

    subtitles(*d)->setCurrentIndex(3);
    sound(*d)->setCurrentText("jpn");
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).subtitles, dir() + "holiday.srt");
    EXPECT_EQ(tasks_.at(0).soundTrack, "jpn");
}

// The tracks found in the sources are offered once each, by language where that names one
// track, else by number; they arrive after the dialog opens.
TEST_F(TrackChoices, TracksFoundInTheSourcesAreOffered)
{
    using K = SourceTrack::Kind;
    scripted_->script().tracks[dir() + "a.mkv"] = {{K::Picture, 1, "", "", "h264", true, false},
                                                   {K::Sound, 1, "eng", "", "aac", true, false},
                                                   {K::Sound, 2, "eng", "Director", "aac", false, false},
                                                   {K::Subtitles, 1, "fra", "", "subrip", false, true}};
    scripted_->script().tracks[dir() + "b.mkv"] = {{K::Sound, 1, "jpn", "", "aac", true, false},
                                                   {K::Subtitles, 1, "fra", "", "ass", false, true}};
    tasks_.append({dir() + "a.mkv", dir() + "b.mkv"}, dir() + "joined.avi", "To AVI");
    tasks_.at(0).settings->format = OutputFormat::Avi;
    tasks_.at(0).soundTrack = "2";
    auto d = openEdit(0);
    QTRY_COMPARE(sound(*d)->count(), 4);
    EXPECT_EQ(sound(*d)->currentText(), "Track 2: eng \u2013 Director");
    EXPECT_EQ(sound(*d)->itemText(1), "Track 1: eng");
    EXPECT_EQ(sound(*d)->itemText(3), "jpn");
    ASSERT_EQ(subtitles(*d)->count(), 3);
    EXPECT_EQ(subtitles(*d)->itemText(2), "fra (forced)");
    sound(*d)->setCurrentIndex(3);
    subtitles(*d)->setCurrentIndex(2);
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).soundTrack, "jpn");
    EXPECT_EQ(tasks_.at(0).subtitles, "fra");
}

// The MP4 panel's "Subtitle Track" is kept with the task, and only for MP4.
TEST_F(TrackChoices, SubtitleTrackIsKeptForMp4Only)
{
    tasks_.append({dir() + "film.mkv"}, dir() + "film.mp4", "To MP4");
    tasks_.at(0).settings->format = OutputFormat::Mp4;
    tasks_.at(0).softSubtitles = true;
    auto d = openEdit(0);
    QCheckBox* track = in<QCheckBox>(d->Mp4Panel(), Mp4SettingsPanel::kSubtitleTrackId);
    ASSERT_TRUE(track && track->isChecked());
    ASSERT_TRUE(pressOk(*d));
    EXPECT_TRUE(tasks_.at(0).softSubtitles);

    auto again = openEdit(0);
    pickKind(*again, OutputKind::Avi);
    ASSERT_TRUE(pressOk(*again));
    EXPECT_FALSE(tasks_.at(0).softSubtitles);
}

TEST_F(TrackChoices, EditedTaskShowsItsChoicesAndOkWithoutAChangeKeepsThem)
{
    tasks_.append({dir() + "film.mkv"}, dir() + "film_output.avi", "To AVI");
    tasks_.at(0).settings->format = OutputFormat::Avi;
    tasks_.at(0).soundTrack = "2";
    tasks_.at(0).subtitles = "forced";
    auto d = openEdit(0);
    EXPECT_EQ(sound(*d)->currentText(), "2");
    EXPECT_EQ(subtitles(*d)->currentText(), "Forced only");
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).soundTrack, "2");
    EXPECT_EQ(tasks_.at(0).subtitles, "forced");

    tasks_.at(0).subtitles = "/subs/film.fr.srt";
    auto again = openEdit(0);
    EXPECT_EQ(subtitles(*again)->currentText(), "/subs/film.fr.srt");
    sound(*again)->setCurrentIndex(0);
    ASSERT_TRUE(pressOk(*again));
    EXPECT_EQ(tasks_.at(0).soundTrack, "");
    EXPECT_EQ(tasks_.at(0).subtitles, "/subs/film.fr.srt");
}

// OK and Cancel close the editor at once while a source is still being read; the reading's
// late result goes nowhere.
TEST_F(TrackChoices, ClosingDoesNotWaitForASourceStillBeingRead)
{
    touch("slow.mkv");
    auto owned = std::make_unique<StalledTracks>(scripted_->script());
    StalledTracks& stalled = *owned;
    control_.Attach(std::move(owned));
    for (const int button : {2, 1}) {
        auto d = openNew(dir() + "slow.mkv");
        EXPECT_TRUE(stalled.closesWhileStalled([&] {
            click(*d, button);
            d.reset();
        })) << "closed by button " << button;
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(tasks_.size(), 1u);
}

}  // namespace
