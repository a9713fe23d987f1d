// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>

#include "ControlTest.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/ProbeShelf.h"

namespace {

using MeasuredSourcesTest = ControlTest;

}  // namespace

// A task list asks for a source's length and size before and while it converts it: the file is
// opened and probed once for all of them, and again only when it has changed.
TEST_F(MeasuredSourcesTest, ASourceIsProbedOnceUntilItChanges)
{
    const std::string source = folder + "clip.avi";
    std::filesystem::copy_file(TestMedia::withSound(), source);
    const std::int64_t before = MediaProbe::probeCount();
    for (int round = 0; round < 2; ++round) {
        EXPECT_NEAR(control.GetDuration(source), 2.0, 0.1);
        EXPECT_EQ(control.GetVideoWidth(source), 160);
        EXPECT_EQ(control.GetVideoHeight(source), 120);
    }
    EXPECT_EQ(MediaProbe::probeCount() - before, 1);

    std::filesystem::copy_file(TestMedia::silentOddSize(), source, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(control.GetVideoWidth(source), 161);
    EXPECT_EQ(control.GetVideoHeight(source), 121);
    EXPECT_EQ(MediaProbe::probeCount() - before, 2);

    std::filesystem::remove(source);
    EXPECT_EQ(control.GetDuration(source), 0.0);
    EXPECT_EQ(control.GetVideoWidth(source), 0);
}

// Every track is listed with the number a choice names it by, its language, title and flags; a
// cover picture is no track, and the file is still opened only once.
TEST_F(MeasuredSourcesTest, TracksAreListedNumberedByKindWithTheirLabels)
{
    const std::string srt = TestMedia::fileWith("words.srt", "1\n00:00:00,500 --> 00:00:01,000\nWords\n\n");
    const std::string source = TestMedia::made(
        "labelled.mkv", {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1", "-f", "lavfi", "-i",
                         "sine=duration=1", "-f", "lavfi", "-i", "sine=duration=1", "-i", srt, "-map", "0", "-map", "1",
                         "-map", "2", "-map", "3", "-c:v", "mpeg4", "-c:a", "mp2", "-c:s", "srt", "-metadata:s:a:0",
                         "language=eng", "-metadata:s:a:1", "language=jpn", "-metadata:s:a:1", "title=Commentary",
                         "-disposition:a:0", "0", "-disposition:a:1", "default", "-disposition:s:0", "forced"});
    const std::int64_t before = MediaProbe::probeCount();
    EXPECT_NEAR(control.GetDuration(source), 1.0, 0.1);
    const std::vector<SourceTrack> tracks = control.GetTracks(source);
    EXPECT_EQ(MediaProbe::probeCount() - before, 1);
    ASSERT_EQ(tracks.size(), 4u);
    EXPECT_EQ(tracks[0].kind, SourceTrack::Kind::Picture);
    EXPECT_EQ(tracks[0].codec, "mpeg4");
    const SourceTrack& english = tracks[1];
    const SourceTrack& japanese = tracks[2];
    const SourceTrack& words = tracks[3];
    EXPECT_TRUE(english.kind == SourceTrack::Kind::Sound && english.number == 1 && english.language == "eng" &&
                !english.isDefault);
    EXPECT_TRUE(japanese.kind == SourceTrack::Kind::Sound && japanese.number == 2 && japanese.language == "jpn" &&
                japanese.title == "Commentary" && japanese.isDefault && !japanese.forced);
    EXPECT_TRUE(words.kind == SourceTrack::Kind::Subtitles && words.number == 1 && words.codec == "subrip" &&
                words.forced && words.language.empty());
    EXPECT_TRUE(control.GetTracks(folder + "missing.mkv").empty());
}

// The lengths of a run's later tasks are measured while its first task converts: each of those
// sources is probed once, for its measures and its conversion together.
TEST_F(MeasuredSourcesTest, ASourceMeasuredWhileATaskConvertsIsNotProbedAgainToBeConverted)
{
    const std::string next = folder + "next.avi";
    std::filesystem::copy_file(TestMedia::withSound(), next);
    for (int clip = 0; clip < 4; ++clip)
        addWhole(TestMedia::longer());  // long enough to be under way when the next task is measured
    ASSERT_TRUE(control.Convert(folder + "first.mpg")) << control.GetLastError();
    const std::int64_t before = MediaProbe::probeCount();
    const double length = control.GetDuration(next);
    control.ClearClips();
    control.AddVideoClip(next, 0, length, 0);
    control.AddAudioClip(next, 0, length);
    EXPECT_NEAR(TestMedia::probe(convert("next.mpg")).duration, 2.0, 0.1);
    EXPECT_EQ(MediaProbe::probeCount() - before, 1 + 1) << "the output check probes the output once";
}

// A probe kept for a conversion is handed out once, and never for a file that changed since:
// the conversion would read the old file's content under the new one's name.
TEST_F(MeasuredSourcesTest, AKeptProbeIsHandedOutOnceAndOnlyForTheFileProbed)
{
    const std::string source = folder + "clip.avi";
    std::filesystem::copy_file(TestMedia::withSound(), source);
    const auto keep = [&](ProbeShelf& shelf) {
        FileIdentity identity;
        ASSERT_TRUE(FileIdentity::of(source, &identity));
        shelf.put(source, identity, MediaProbe::open(source));
    };
    ProbeShelf shelf;
    keep(shelf);
    EXPECT_NE(shelf.take(source), nullptr);
    EXPECT_EQ(shelf.take(source), nullptr);

    keep(shelf);
    std::filesystem::copy_file(TestMedia::silentOddSize(), folder + "other.avi");
    std::filesystem::rename(folder + "other.avi", source);
    EXPECT_EQ(shelf.take(source), nullptr);

    keep(shelf);
    EXPECT_EQ(shelf.take(source, ProbeShelf::Clock::now() + std::chrono::minutes(1)), nullptr) << "kept too long";
}
