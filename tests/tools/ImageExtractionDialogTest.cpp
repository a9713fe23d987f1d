// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>

#include "CommaDecimalLocale.h"
#include "FileDrop.h"
#include "RecordingShell.h"
#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "StalledTracks.h"
#include "engine/CDudidEvar.h"
#include "tools/ImageExtractionDialog.h"
#include "tools/ImageProgressDialog.h"
#include "tools/StillSubtitleChoice.h"

namespace {

// A scripted control that lets a test act while a picture at its own size is being saved.
class PictureControl : public ScriptedControl {
public:
    std::function<void(int)> onSave;  // with the number of the save, from 1
    int saves = 0;

    bool SaveFrame(const std::string& media, double time, const std::string& bitmap) override
    {
        const bool result = ScriptedControl::SaveFrame(media, time, bitmap);
        if (onSave)
            onSave(++saves);
        return result;
    }
};

using Calls = std::vector<std::string>;

class ImageExtractionDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<PictureControl>();
        control_ = owned.get();
        control_->script().durations = {{"/videos/clip.avi", 59.96}, {"/videos/noext", 4.0}};
        wrapper_.Attach(std::move(owned));
    }

    // Opens the dialog on the source as the Tools command does, without its modal loop, and
    // waits for the length of the source.
    ImageExtractionDialog& open(const std::string& source = "/videos/clip.avi")
    {
        openMeasuring(source);
        EXPECT_TRUE(QTest::qWaitFor([this] { return dialog_->lengthKnown(); })) << "no length for " << source;
        return *dialog_;
    }
    ImageExtractionDialog& openMeasuring(const std::string& source = "/videos/clip.avi")
    {
        dialog_ = std::make_unique<ImageExtractionDialog>();
        dialog_->SetSource(source, wrapper_);
        dialog_->initDialog();
        dialog_->show();
        return *dialog_;
    }
    template <class T = QLineEdit>
    T* at(const char* id) const
    {
        return dialog_->findChild<T*>(id);
    }
    QString text(const char* id) const { return at(id)->text(); }
    void extract(std::initializer_list<std::pair<const char*, QString>> fields = {})
    {
        for (const auto& [id, value] : fields)
            at(id)->setText(value);
        at<QPushButton>("1083")->click();
    }
    Calls saves() const
    {
        auto plain = control_->callsStartingWith("SaveFrame(");
        auto sized = control_->callsStartingWith("SaveFrameSized(");
        plain.insert(plain.end(), sized.begin(), sized.end());
        return plain;
    }
    void expectOnlyPrompt(const QString& text, PromptIcon icon)
    {
        ASSERT_EQ(prompts_->shown.size(), 1u);
        EXPECT_EQ(prompts_->shown[0].text, text);
        EXPECT_EQ(prompts_->shown[0].icon, icon);
    }
    void clear()
    {
        prompts_->shown.clear();
        control_->clearCalls();
    }

    ScopedPrompts prompts_;
    CDudidEvar wrapper_;
    PictureControl* control_ = nullptr;
    std::unique_ptr<ImageExtractionDialog> dialog_;
};

// Numbered pictures of a range are the tool's end-to-end test; here 59.96 s shows as 60.0 and
// a chosen folder gets its separator.
TEST_F(ImageExtractionDialogTest, TheRoundedEndKeepsTheStartAndAChosenFolderItsSeparator)
{
    open();
    prompts_->folders = {"/data/out"};
    at<QPushButton>("1061")->click();
    extract({{"1086", "58"}, {"1085", "1"}});
    EXPECT_EQ(saves(), (Calls{"SaveFrame(/videos/clip.avi, 58, /data/out/clip_1.bmp)",
                              "SaveFrame(/videos/clip.avi, 59, /data/out/clip_2.bmp)"}));
}

// A comma-decimal locale neither writes the end time with a comma nor loses the user's range.
TEST_F(ImageExtractionDialogTest, ACommaDecimalLocaleKeepsTheRange)
{
    CommaDecimalLocale comma;
    if (!comma.active())
        GTEST_SKIP() << comma.whyNot();
    open();
    EXPECT_EQ(text("1087"), "60.0");
    extract({{"1086", "58.5"}, {"1085", "1"}});
    EXPECT_EQ(saves(), (Calls{"SaveFrame(/videos/clip.avi, 58.5, /videos/clip_1.bmp)",
                              "SaveFrame(/videos/clip.avi, 59.5, /videos/clip_2.bmp)"}));
}

// Preview opens the video with the desktop's player; when none opens it, the user is told.
TEST_F(ImageExtractionDialogTest, PreviewThatOpensNothingSaysWhichFile)
{
    QTemporaryDir folder;
    const QString video = folder.filePath("clip.avi");
    ASSERT_TRUE(QFile(video).open(QIODevice::WriteOnly));
    control_->script().durations[video.toStdString()] = 4.0;
    ScopedShell shell;
    open(video.toStdString());
    at<QPushButton>("1062")->click();
    EXPECT_EQ(shell->opened, std::vector<QString>{video});
    EXPECT_TRUE(prompts_->shown.empty());

    shell->openResult = false;
    at<QPushButton>("1062")->click();
    expectOnlyPrompt("Could not open " + video + "\nNo program on this desktop opens it.", PromptIcon::Exclamation);
}

TEST_F(ImageExtractionDialogTest, AnInvalidRangeTakesTheWholeFileSilentlyAndTheSizeCanBeChosen)
{
    open("/videos/noext");  // 4 s
    extract({{"1086", "3"}, {"1087", "2"}, {"1085", "1"}});
    EXPECT_EQ(saves().size(), 4u);
    EXPECT_EQ(saves().back(), "SaveFrame(/videos/noext, 3, /videos/noext_4.bmp)");
    EXPECT_EQ(text("1086"), "0");
    EXPECT_EQ(text("1087"), "4");
    expectOnlyPrompt("Successfully Done.", PromptIcon::Information);

    clear();
    at<QCheckBox>("1108")->click();
    extract({{"1087", "1"}});
    EXPECT_EQ(saves(), Calls{"SaveFrameSized(/videos/noext, 0, /videos/noext_1.bmp, 352, 240)"});
}

TEST_F(ImageExtractionDialogTest, RateOutsideTheRangeIsReportedAndClamped)
{
    ImageExtractionDialog& dialog = open();
    extract({{"1086", "0"}, {"1087", "2"}, {"1085", "30"}});
    EXPECT_EQ(saves().size(), 50u);
    EXPECT_EQ(text("1085"), "25");
    ASSERT_EQ(prompts_->shown.size(), 2u);
    EXPECT_TRUE(prompts_->shown[0].text.contains("between 1 and 25"));
    EXPECT_EQ(prompts_->shown[1].text, "Successfully Done.");

    // An empty field is reported and keeps the rate before it.
    clear();
    extract({{"1085", ""}});
    EXPECT_EQ(dialog.picturesPerSecond(), 25u);
    EXPECT_EQ(prompts_->shown.front().text, "Please enter a whole number.");
    EXPECT_EQ(saves().size(), 50u);
}

TEST_F(ImageExtractionDialogTest, CancelStopsBeforeTheNextPictureWithoutSuccess)
{
    ImageExtractionDialog& dialog = open();
    control_->onSave = [&](int n) {
        if (n == 3) {
            auto* progress = dialog.findChild<ImageProgressDialog*>();
            ASSERT_NE(progress, nullptr);
            EXPECT_TRUE(progress->isVisible());
            EXPECT_TRUE(dialog.isExtracting());
            // Clicked through the event queue, so it lands while events are pumped.
            QMetaObject::invokeMethod(progress->findChild<QPushButton*>("2"), &QPushButton::click,
                                      Qt::QueuedConnection);
        }
    };
    extract({{"1085", "25"}});
    EXPECT_EQ(saves().size(), 3u);
    EXPECT_TRUE(prompts_->shown.empty());
    EXPECT_FALSE(dialog.isExtracting());
    EXPECT_TRUE(at<QPushButton>("1083")->isEnabled());
}

TEST_F(ImageExtractionDialogTest, UnwrittenPicturesAreCountedAndAnUnreadableSourceWritesNothing)
{
    open("/videos/noext");
    control_->script().saveFrameResult = false;
    extract({{"1085", "1"}});
    EXPECT_EQ(saves().size(), 4u);
    expectOnlyPrompt("4 of 4 pictures could not be written.", PromptIcon::Exclamation);

    clear();
    open("/videos/broken.avi");  // no duration
    extract();
    EXPECT_TRUE(saves().empty());
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "No picture was written: the length of the video could not be read.");
    EXPECT_EQ(prompts_->shown[0].icon, PromptIcon::Exclamation);
}

TEST_F(ImageExtractionDialogTest, ProgressShowsEverySecondPictureAndEndsAtAHundred)
{
    ImageProgressDialog progress;
    progress.Setup(wrapper_, "/videos/clip.avi", "/out/clip", 0.0, 0.9, 1.0 / 3, true, 0, 0);
    std::vector<QString> seen;
    control_->onSave = [&](int) { seen.push_back(progress.findChild<QLabel*>("1106")->text()); };
    progress.show();
    EXPECT_EQ(progress.Run(), ImageProgressDialog::Outcome::Finished);
    EXPECT_EQ(seen, (std::vector<QString>{"", "37%", "37%"}));
    EXPECT_EQ(progress.findChild<QLabel*>("1106")->text(), "100%");
    auto* bar = progress.findChild<QProgressBar*>("1107");
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(progress.fileLabelText(), "/out/clip_3.bmp");
}

// The first dropped video becomes the source as if picked: its folder, duration and whole range.
TEST_F(ImageExtractionDialogTest, FirstDroppedVideoBecomesTheSource)
{
    QTemporaryDir dir;
    QStringList made;
    for (const char* name : {"notes.txt", "d.MOV", "e.avi"}) {
        made << dir.filePath(name);
        QFile(made.back()).open(QIODevice::WriteOnly);
    }
    const std::string dropped = made[1].toStdString();
    control_->script().durations[dropped] = 12.34;
    ImageExtractionDialog& dialog = open();
    at("1086")->setText("5");
    EXPECT_TRUE(dropFiles(dialog, made));
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return dialog.lengthKnown(); }));
    EXPECT_EQ(text("1082"), made[1]);
    EXPECT_EQ(text("1010").toStdString(), dir.path().toStdString() + "/");
    EXPECT_EQ(text("1086"), "0");
    EXPECT_EQ(text("1087"), "12.3");
    EXPECT_EQ(dialog.duration(), 12.34);

    extract({{"1085", "1"}});
    ASSERT_FALSE(saves().empty());
    EXPECT_NE(saves().front().find(dropped), std::string::npos);
    EXPECT_EQ(dialog.sourcePath(), dropped);
}

// The subtitles chosen are drawn on that run's pictures only; "No subtitles" draws none.
TEST_F(ImageExtractionDialogTest, ChosenSubtitlesAreDrawnOnTheRunsPicturesOnly)
{
    QTemporaryDir dir;
    const QString video = dir.filePath("clip.mkv");
    for (const QString& file : {video, dir.filePath("clip.srt")})
        ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    control_->script().durations[video.toStdString()] = 1.0;
    control_->script().tracks[video.toStdString()] = {{SourceTrack::Kind::Picture, 1, "", "", "h264"},
                                                      {SourceTrack::Kind::Subtitles, 1, "eng", "", "subrip"}};
    ImageExtractionDialog& dialog = openMeasuring(video.toStdString());
    QSignalSpy listed(dialog.findChild<StillSubtitleChoice*>(), &StillSubtitleChoice::tracksListed);
    ASSERT_TRUE(listed.wait());
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return dialog.lengthKnown(); }));
    auto* list = at<QComboBox>("1109");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), "No subtitles");
    EXPECT_EQ(list->itemText(1), "clip.srt");

    list->setCurrentIndex(list->findText("eng"));
    extract({{"1085", "1"}});
    const Calls calls = control_->calls();
    const Calls expected{"SetStillSubtitles(eng)", "SaveFrame(" + video.toStdString() + ", 0, " +
                                                       dir.filePath("clip_1.bmp").toStdString() + ")",
                         "SetStillSubtitles()"};
    EXPECT_NE(std::search(calls.begin(), calls.end(), expected.begin(), expected.end()), calls.end());

    clear();
    list->setCurrentIndex(0);
    extract();
    EXPECT_EQ(control_->callsStartingWith("SetStillSubtitles"), (Calls{"SetStillSubtitles()", "SetStillSubtitles()"}));
}

// The tool closes at once while the subtitle tracks of its video are still being read.
TEST_F(ImageExtractionDialogTest, ClosingDoesNotWaitForSubtitleTracksStillBeingRead)
{
    auto owned = std::make_unique<StalledTracks>(control_->script());
    StalledTracks& stalled = *owned;
    wrapper_.Attach(std::move(owned));
    control_ = nullptr;
    open();
    EXPECT_TRUE(stalled.closesWhileStalled([this] {
        at<QPushButton>("2")->click();
        dialog_.reset();
    }));
}

// The tool opens at once while the length of its video is still being read, and takes no pictures
// until it is known; closed meanwhile, it does not wait for it.
TEST_F(ImageExtractionDialogTest, OpensAndClosesWhileTheLengthOfItsVideoIsStillBeingRead)
{
    auto owned = std::make_unique<StalledTracks>(control_->script());
    StalledTracks& stalled = *owned;
    stalled.stallLengthsToo();
    wrapper_.Attach(std::move(owned));
    control_ = nullptr;
    const auto openAndClose = [&] {
        EXPECT_FALSE(openMeasuring().lengthKnown());
        EXPECT_FALSE(at<QPushButton>("1083")->isEnabled());
        EXPECT_TRUE(text("1087").isEmpty());
        EXPECT_TRUE(stalled.readingsStarted(2));  // its length and its subtitle tracks
        at<QPushButton>("2")->click();
        dialog_.reset();
    };
    EXPECT_TRUE(stalled.returnsWhileStalled(openAndClose));
}

}  // namespace
