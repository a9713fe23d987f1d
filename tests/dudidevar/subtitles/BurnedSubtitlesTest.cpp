// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTest.h"

#include <QImage>
#include <algorithm>

namespace {

// One subtitle from `from` to `to` seconds.
std::string srtFile(const std::string& name, const char* from, const char* to)
{
    return TestMedia::fileWith(name, std::string("1\n00:00:") + from + " --> 00:00:" + to + "\nWords to read\n\n");
}

// A flat grey picture of that size, 4 s at 25 fps, with an English SubRip track shown from 1 s
// to 2 s.
std::string greyWithSubtitles(const std::string& name, const char* size)
{
    const std::string srt = srtFile("one-line.srt", "01,000", "02,000");
    return TestMedia::made(name, {"-f", "lavfi", "-i", std::string("color=c=0x808080:rate=25:duration=4:size=") + size,
                                  "-i", srt, "-map", "0", "-map", "1", "-c:v", "mpeg4", "-q:v", "2", "-c:s", "srt",
                                  "-metadata:s:s:0", "language=eng"});
}

// A script file of one style (its fields from the name on) and one line shown from `from` to `to`.
std::string scriptFile(const std::string& name, const char* playRes, const char* style, const char* from,
                       const char* to, const char* text)
{
    return TestMedia::fileWith(
        name, std::string("[Script Info]\nScriptType: v4.00+\n") + playRes + "\n\n[V4+ Styles]\n" +
                  "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, "
                  "Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, "
                  "Alignment, MarginL, MarginR, MarginV, Encoding\nStyle: " +
                  style + "\n\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, " +
                  "Text\nDialogue: 0," + from + "," + to + "," + std::string(style).substr(0, std::string(style).find(',')) +
                  ",,0,0,0,," + text + "\n");
}

// Where two pictures of one size differ clearly, and whether all of it lies where `plain` shows
// the picture rather than a black bar.
struct Difference {
    int pixels = 0;
    int top = 1 << 30;
    int bottom = -1;
    bool insidePicture = true;
};

Difference differenceOf(const TestMedia::GreyPicture& plain, const TestMedia::GreyPicture& drawn)
{
    Difference d;
    if (plain.width != drawn.width || plain.height != drawn.height || plain.levels.empty()) {
        d.insidePicture = false;
        return d;
    }
    for (int y = 0; y < plain.height; ++y) {
        for (int x = 0; x < plain.width; ++x) {
            if (std::abs(plain.at(x, y) - drawn.at(x, y)) <= 40)
                continue;
            ++d.pixels;
            d.top = std::min(d.top, y);
            d.bottom = std::max(d.bottom, y);
            d.insidePicture = d.insidePicture && plain.at(x, y) > 60;  // the bars are black
        }
    }
    return d;
}

class BurnedSubtitlesTest : public ControlTest {
protected:
    // The grey 320×240 source made an AVI of its size with those subtitles.
    std::string convertGrey(const std::string& subtitles, const std::string& name)
    {
        control.SetOutputFormat(7);
        control.SetOutputWidth(320);
        control.SetOutputHeight(240);
        control.SetSubtitles(subtitles);
        addWhole(greyWithSubtitles("grey-320x240.mkv", "320x240"), 0, false);
        return convert(name);
    }
};

// The subtitle shows from 1 s to 2 s (frames 25 to 49) and nowhere else, inside the picture of
// a letterboxed DVD, a pillarboxed portrait AVI and an MP4 of the source's own shape.
TEST_F(BurnedSubtitlesTest, SubtitleShowsAtItsTimeInsideThePictureOfEveryShape)
{
    struct Case {
        const char* what;
        const char* output;
        const char* size;
        long format;
        short width;
        short height;
    };
    const Case cases[] = {{"wide film to DVD", "dvd.mpg", "640x272", 4, 720, 576},
                          {"portrait phone clip to AVI", "portrait.avi", "180x320", 7, 640, 480},
                          {"portrait to MP4", "portrait.mp4", "180x320", 9, 0, 320}};
    for (const Case& c : cases) {
        control.ClearClips();
        control.SetOutputFormat(c.format);
        control.SetOutputWidth(c.width);
        control.SetOutputHeight(c.height);
        control.SetSubtitles("eng");
        addWhole(greyWithSubtitles(std::string("grey-") + c.size + ".mkv", c.size), 0, false);
        const std::string out = convert(c.output);
        const TestMedia::GreyPicture before = TestMedia::greyFrame(out, 12);
        const Difference shown = differenceOf(before, TestMedia::greyFrame(out, 37));
        EXPECT_GT(shown.pixels, 100) << c.what;
        EXPECT_TRUE(shown.insidePicture) << c.what;
        EXPECT_GT(shown.top, before.height / 2) << c.what;  // a SubRip line sits low in the picture
        EXPECT_EQ(differenceOf(before, TestMedia::greyFrame(out, 24)).pixels, 0) << c.what;
        EXPECT_EQ(differenceOf(before, TestMedia::greyFrame(out, 51)).pixels, 0) << c.what;
    }
}

// Each span shows its own source's subtitles at their time in that source.
TEST_F(BurnedSubtitlesTest, JoinedSourcesAndAPartOfOneKeepTheirSubtitlesAtTheirTimes)
{
    control.SetOutputFormat(7);
    control.SetOutputWidth(320);
    control.SetOutputHeight(240);
    control.SetSubtitles("1");
    const std::string source = greyWithSubtitles("grey-320x240.mkv", "320x240");
    control.AddVideoClip(source, 0.0, 4.0, 0);
    control.AddVideoClip(source, 1.5, 3.0, 0);  // a part whose subtitle ends 0.5 s into it
    const std::string out = convert("joined.avi");
    const TestMedia::GreyPicture plain = TestMedia::greyFrame(out, 5);
    for (int frame : {26, 48, 101, 111})
        EXPECT_GT(differenceOf(plain, TestMedia::greyFrame(out, frame)).pixels, 100) << frame;
    for (int frame : {23, 51, 99, 114, 130})
        EXPECT_EQ(differenceOf(plain, TestMedia::greyFrame(out, frame)).pixels, 0) << frame;
}

// "Forced" shows the track the source marks forced: here the second, from 2.5 s to 3.5 s.
TEST_F(BurnedSubtitlesTest, ForcedShowsTheTrackMarkedForced)
{
    const std::string source = TestMedia::made(
        "grey-forced.mkv",
        {"-f", "lavfi", "-i", "color=c=0x808080:rate=25:duration=4:size=320x240", "-i",
         srtFile("one-line.srt", "01,000", "02,000"), "-i", srtFile("forced.srt", "02,500", "03,500"), "-map", "0",
         "-map", "1", "-map", "2", "-c:v", "mpeg4", "-q:v", "2", "-c:s", "srt", "-disposition:s:0", "0",
         "-disposition:s:1", "forced"});
    control.SetOutputFormat(7);
    control.SetOutputWidth(320);
    control.SetOutputHeight(240);
    control.SetSubtitles("forced");
    addWhole(source, 0, false);
    const std::string out = convert("forced.avi");
    const TestMedia::GreyPicture plain = TestMedia::greyFrame(out, 5);
    EXPECT_EQ(differenceOf(plain, TestMedia::greyFrame(out, 37)).pixels, 0);
    EXPECT_GT(differenceOf(plain, TestMedia::greyFrame(out, 75)).pixels, 100);
}

// A styled script places its line where its style says: here at the top of the picture.
TEST_F(BurnedSubtitlesTest, ScriptFileIsDrawnInItsOwnStyle)
{
    const std::string script = scriptFile(
        "top.ass", "PlayResX: 384\nPlayResY: 288",
        "Top,DejaVu Sans,28,&H00FFFFFF,&H00FFFFFF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,2,0,8,10,10,10,1",
        "0:00:00.50", "0:00:01.50", "At the top");
    const std::string out = convertGrey(script, "styled.avi");
    const Difference shown = differenceOf(TestMedia::greyFrame(out, 5), TestMedia::greyFrame(out, 25));
    EXPECT_GT(shown.pixels, 100);
    EXPECT_LT(shown.bottom, 120);
}

// A line drawn once is laid over the frames while it stands still, but one that moves is drawn
// at each frame where it is then: here from the top left to the bottom right of the picture.
TEST_F(BurnedSubtitlesTest, MovingLineIsDrawnWhereItIsAtEachFrame)
{
    const std::string script = scriptFile(
        "moving.ass", "PlayResX: 320\nPlayResY: 240",
        "Plain,DejaVu Sans,24,&H00FFFFFF,&H00FFFFFF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,2,0,7,0,0,0,1",
        "0:00:00.00", "0:00:02.00", "{\\move(10,10,200,180)}Moving");
    const std::string out = convertGrey(script, "moving.avi");
    const TestMedia::GreyPicture plain = TestMedia::greyFrame(out, 75);
    const Difference early = differenceOf(plain, TestMedia::greyFrame(out, 5));
    const Difference late = differenceOf(plain, TestMedia::greyFrame(out, 45));
    EXPECT_GT(early.pixels, 100);
    EXPECT_GT(late.pixels, 100);
    EXPECT_LT(early.top, 40);
    EXPECT_GT(late.top, 150);
}

// Still pictures get the subtitles only when asked: those shown at each picture's time.
TEST_F(BurnedSubtitlesTest, StillPicturesShowTheSubtitlesOfTheirTimeWhenAsked)
{
    const std::string source = greyWithSubtitles("grey-320x240.mkv", "320x240");
    const auto brightPixels = [this, &source](double seconds) {
        const std::string picture = folder + "still.bmp";
        EXPECT_TRUE(control.SaveFrameSized(source, seconds, picture, 320, 240)) << control.GetLastError();
        const QImage image(QString::fromStdString(picture));
        int bright = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                bright += qGray(image.pixel(x, y)) > 200;
        }
        return bright;
    };
    EXPECT_EQ(brightPixels(1.5), 0);
    control.SetStillSubtitles("eng");
    EXPECT_GT(brightPixels(1.5), 50);
    EXPECT_EQ(brightPixels(2.5), 0);
    control.SetStillSubtitles("");
    EXPECT_EQ(brightPixels(1.5), 0);
}

TEST_F(BurnedSubtitlesTest, MissingTrackAndUnreadableFileAreRefusedBeforeTheRunWithAReason)
{
    control.SetOutputFormat(7);
    addWhole(greyWithSubtitles("grey-320x240.mkv", "320x240"), 0, false);
    const struct {
        std::string subtitles;
        std::string reason;
    } cases[] = {
        {"fre", "has no subtitle language fre; its subtitle tracks: 1 eng"},
        {"3", "has no subtitle track 3"},
        {TestMedia::fileWith("notes.txt", "hello"), "is not a subtitle file (.srt, .ass, .ssa or .vtt)"},
        {TestMedia::fileWith("noise.srt", std::string("\x00\x01\x02garbage\xff", 11)), "noise.srt"},
        {folder + "absent.srt", "absent.srt"},
    };
    for (const auto& c : cases) {
        control.SetSubtitles(c.subtitles);
        EXPECT_FALSE(control.Convert(folder + "out.avi")) << c.subtitles;
        EXPECT_NE(control.GetLastError().find(c.reason), std::string::npos) << control.GetLastError();
    }
    EXPECT_TRUE(TestMedia::filesIn(folder).empty());
}

}  // namespace
