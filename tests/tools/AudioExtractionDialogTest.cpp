// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "FileDrop.h"
#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "engine/CDudidEvar.h"
#include "tools/AudioExtractionDialog.h"

namespace {

using Calls = std::vector<std::string>;

class AudioExtractionDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<ScriptedControl>();
        control_ = owned.get();
        control_->script().durations = {{"/v/a.avi", 60.0},        {"/v/b.mpg", 30.0},
                                        {"/v/c.wmv", 90.0},        {"/v/long1.avi", 50000.0},
                                        {"/v/long2.avi", 40000.0}, {"/v/blink.avi", 0.6}};
        wrapper_.Attach(std::move(owned));
        dialog_ = std::make_unique<AudioExtractionDialog>(wrapper_);
        // What the main window does while the tool is open.
        QObject::connect(&wrapper_, &CDudidEvar::convertDone, dialog_.get(), &AudioExtractionDialog::postItemDone);
        QObject::connect(&wrapper_, &CDudidEvar::convertProgress, dialog_.get(),
                         &AudioExtractionDialog::postItemProgress);
        QObject::connect(&wrapper_, &CDudidEvar::convertFailed, dialog_.get(),
                         &AudioExtractionDialog::postItemFailed);
        reopen();
    }

    void reopen()
    {
        dialog_->ResetItems();
        dialog_->SetControl(wrapper_);
        dialog_->initDialog();
        dialog_->show();
    }
    void click(const char* id) const { dialog_->findChild<QPushButton*>(id)->click(); }
    void add(const QStringList& paths)
    {
        for (const QString& path : paths) {
            prompts_->files.push_back(path);
            click("1057");
        }
    }
    void chooseFolder(const QString& folder)
    {
        prompts_->folders = {folder};
        click("1011");
    }
    QTreeWidget* list() const { return dialog_->findChild<QTreeWidget*>("1026"); }
    QString cell(int row, int column) const { return list()->topLevelItem(row)->text(column); }
    QString progressText(const char* id) const { return dialog_->progress().findChild<QLabel*>(id)->text(); }
    std::pair<int, int> bar(const char* id) const
    {
        auto* b = dialog_->progress().findChild<QProgressBar*>(id);
        return {b->value(), b->maximum()};
    }
    Calls sources() const
    {
        Calls out;
        for (const AudioItem& item : dialog_->items())
            out.push_back(item.sourcePath);
        return out;
    }
    Calls saves() const { return control_->callsStartingWith("SaveAudio"); }
    // Runs Extract Now; the steps act while the progress dialog is up, with the events handled.
    void run(std::function<void()> steps)
    {
        QTimer::singleShot(0, [this, steps] {
            EXPECT_TRUE(dialog_->progress().isVisible());
            steps();
            settle();
        });
        click("1");
    }
    // Events posted while others are handled wait for the next pass: a few passes hand every
    // message on to the end of its chain.
    static void settle()
    {
        for (int pass = 0; pass < 4; ++pass)
            QApplication::processEvents();
    }

    ScopedPrompts prompts_;
    CDudidEvar wrapper_;
    ScriptedControl* control_ = nullptr;
    std::unique_ptr<AudioExtractionDialog> dialog_;
};

TEST_F(AudioExtractionDialogTest, AddTakesEveryFileSelectedInOrder)
{
    prompts_->fileLists = {{"/v/c.wmv", "/v/a.avi", "/v/b.mpg"}, {}};
    click("1057");
    click("1057");  // cancelled
    ASSERT_EQ(prompts_->fileFilters.size(), 2u);
    EXPECT_TRUE(prompts_->fileFilters[0].contains("*.mkv"));
    EXPECT_EQ(sources(), (Calls{"/v/c.wmv", "/v/a.avi", "/v/b.mpg"}));
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    EXPECT_EQ(cell(1, 0), "/v/a.avi");
    EXPECT_EQ(cell(1, 2), "60.00 sec");
    EXPECT_EQ(dialog_->selectedRow(), 2);
}

TEST_F(AudioExtractionDialogTest, RemoveTakesTheRowLastAddedOrClickedNotTheKeyboardOne)
{
    add({"/v/a.avi", "/v/b.mpg", "/v/c.wmv", ""});
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Home);
    EXPECT_EQ(dialog_->selectedRow(), 2);
    click("1058");
    EXPECT_EQ(sources(), (Calls{"/v/a.avi", "/v/b.mpg"}));

    const QRect first = list()->visualItemRect(list()->topLevelItem(0));
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, first.center());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(first.center().x(), list()->viewport()->height() - 2));
    EXPECT_EQ(dialog_->selectedRow(), 0);  // the click beside the rows changes nothing
    click("1058");
    EXPECT_EQ(sources(), Calls{"/v/b.mpg"});
    click("1058");
    click("1058");  // nothing left: nothing happens
    EXPECT_EQ(list()->topLevelItemCount(), 0);
}

TEST_F(AudioExtractionDialogTest, ItemsChainThroughCompletionWithWholeRunProgress)
{
    chooseFolder("/out");
    add({"/v/a.avi", "/v/b.mpg", "/v/c.wmv"});
    control_->clearCalls();
    run([this] {
        EXPECT_EQ(control_->calls(),
                  (Calls{"ClearClips()", "AddAudioClip(/v/a.avi, 0, 60)", "SaveAudioAsWma(/out/a.wma)"}));
        EXPECT_EQ(progressText("1103"), "/v/a.avi");
        control_->raiseProgress(30.7, 60.2);
        settle();
        EXPECT_EQ(progressText("1101"), "50%");
        EXPECT_EQ(progressText("1102"), "16%");
        EXPECT_EQ(bar("1097"), std::make_pair(30, 60));

        control_->raiseDone();
        settle();
        EXPECT_EQ(progressText("1102"), "33%");
        EXPECT_EQ(bar("1099"), std::make_pair(60, 180));
        EXPECT_EQ(progressText("1101"), "100%");
        EXPECT_EQ(progressText("1103"), "/v/b.mpg");
        EXPECT_EQ(progressText("1104"), "/out/b.wma");

        // The end of one file is handled before the next file's progress.
        control_->raiseDone();
        control_->raiseProgress(45, 90);
        settle();
        EXPECT_EQ(progressText("1101"), "50%");
        EXPECT_EQ(progressText("1102"), "75%");
        EXPECT_TRUE(prompts_->shown.empty());
        control_->raiseDone();
    });
    EXPECT_EQ(saves(), (Calls{"SaveAudioAsWma(/out/a.wma)", "SaveAudioAsWma(/out/b.wma)", "SaveAudioAsWma(/out/c.wma)"}));
    EXPECT_EQ(progressText("1101"), "100%");
    EXPECT_EQ(progressText("1102"), "100%");
    EXPECT_EQ(bar("1097"), std::make_pair(100, 100));
    EXPECT_EQ(bar("1099"), std::make_pair(180, 180));
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "Successfully Done.");
    EXPECT_EQ(prompts_->shown[0].icon, PromptIcon::Information);
    EXPECT_EQ(control_->callsStartingWith("Stop"), Calls{"Stop()"});
    EXPECT_FALSE(dialog_->progress().isVisible());
    EXPECT_FALSE(dialog_->isRunning());
}

// Items that would write the same file never overwrite each other: later ones get a number that
// no other item's file has, shown in their rows, and the names follow the format and folder.
TEST_F(AudioExtractionDialogTest, SameNamedSourcesGetNumberedOutputsShownInTheirRows)
{
    chooseFolder("/out");
    add({"/a/talk.mpg", "/b/talk.avi", "/v/talk_2.wmv", "/c/talk.wmv"});
    EXPECT_EQ((QStringList{cell(0, 3), cell(1, 3), cell(2, 3), cell(3, 3)}),
              (QStringList{"WMA", "WMA (talk_3.wma)", "WMA", "WMA (talk_4.wma)"}));
    EXPECT_EQ(list()->topLevelItem(1)->toolTip(3), "/out/talk_3.wma");

    dialog_->findChild<QComboBox*>("1008")->setCurrentIndex(1);
    EXPECT_EQ(cell(3, 3), "WAV (talk_4.wav)");
    dialog_->findChild<QComboBox*>("1008")->setCurrentIndex(0);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->topLevelItem(0)).center());
    click("1058");  // the first row goes: the second is the first talk.wma now
    EXPECT_EQ((QStringList{cell(0, 3), cell(1, 3), cell(2, 3)}), (QStringList{"WMA", "WMA", "WMA (talk_3.wma)"}));

    control_->clearCalls();
    run([this] {
        for (int i = 0; i < 3; ++i) {
            control_->raiseDone();
            settle();
        }
    });
    EXPECT_EQ(saves(), (Calls{"SaveAudioAsWma(/out/talk.wma)", "SaveAudioAsWma(/out/talk_2.wma)",
                              "SaveAudioAsWma(/out/talk_3.wma)"}));
}

// The output folder starts as the user's home folder, never the root folder.
TEST_F(AudioExtractionDialogTest, OutputFolderStartsAtHome)
{
    const std::string home = QDir::homePath().toStdString() + "/";
    EXPECT_EQ(AudioExtractionDialog(wrapper_).outputFolder(), home);
    EXPECT_EQ(dialog_->findChild<QLineEdit*>("1010")->text().toStdString(), home);
    add({"/v/a.avi"});
    control_->clearCalls();
    run([this] { control_->raiseDone(); });
    EXPECT_EQ(saves(), Calls{"SaveAudioAsWma(" + home + "a.wma)"});
}

TEST_F(AudioExtractionDialogTest, CancelStopsOnceKeepsTheListAndIgnoresLateEvents)
{
    add({"/v/a.avi", "/v/b.mpg"});
    run([this] {
        control_->raiseProgress(10, 60);
        settle();
        dialog_->progress().findChild<QPushButton*>("2")->click();
    });
    EXPECT_EQ(control_->callsStartingWith("Stop"), Calls{"Stop()"});
    EXPECT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_TRUE(prompts_->shown.empty());

    control_->raiseDone();  // a completion that comes after the run: nothing starts
    settle();
    EXPECT_EQ(saves().size(), 1u);
}

TEST_F(AudioExtractionDialogTest, RefusedAndFailedItemsAreMarkedAndTheRunGoesOn)
{
    add({"/v/a.avi", "/v/b.mpg", "/v/c.wmv"});
    control_->script().convertResults = {true, false, true};
    control_->script().lastError = "the clip list holds no sound";
    run([this] {
        control_->raiseDone();  // the first is written; the second is refused at its start
        settle();
        EXPECT_EQ(saves().size(), 3u);
        EXPECT_EQ(progressText("1103"), "/v/c.wmv");
        EXPECT_EQ(bar("1099"), std::make_pair(90, 180));
        control_->raiseDone();
    });
    EXPECT_EQ(cell(0, 3), "WMA");
    EXPECT_EQ(cell(1, 3), "Failed");
    EXPECT_EQ(cell(2, 3), "WMA");
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_NE(prompts_->shown[0].text, "Successfully Done.");
    EXPECT_TRUE(prompts_->shown[0].text.contains("/v/b.mpg: the clip list holds no sound"));
    EXPECT_FALSE(prompts_->shown[0].text.contains("/v/a.avi"));
    EXPECT_EQ(control_->callsStartingWith("Stop").size(), 1u);

    // A failure midway ends its item too; a new run clears the marks.
    prompts_->shown.clear();
    run([this] {
        control_->raiseFailed("disk full");
        settle();
        control_->raiseDone();
        settle();
        control_->raiseDone();
    });
    EXPECT_EQ(cell(0, 3), "Failed");
    EXPECT_EQ(cell(1, 3), "WMA");
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_TRUE(prompts_->shown[0].text.contains("/v/a.avi: disk full"));

    // Every item refused still ends the run.
    prompts_->shown.clear();
    control_->clearCalls();
    control_->script().convertResult = false;
    run([] {});
    EXPECT_EQ(saves().size(), 3u);
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_TRUE(prompts_->shown[0].text.startsWith("3 files"));
    EXPECT_FALSE(dialog_->progress().isVisible());
}

TEST_F(AudioExtractionDialogTest, VeryLongRunsAndItemsUnderASecondShowSensibleBars)
{
    add({"/v/long1.avi", "/v/long2.avi", "/v/blink.avi"});
    run([this] {
        control_->raiseProgress(25000, 50000);
        settle();
        EXPECT_EQ(progressText("1102"), "27%");
        EXPECT_EQ(bar("1099").second, 65535);
        control_->raiseDone();
        control_->raiseDone();
        control_->raiseProgress(0.3, 0.6);
        settle();
        EXPECT_EQ(progressText("1101"), "50%");
        EXPECT_EQ(bar("1097"), std::make_pair(50, 100));
        EXPECT_EQ(progressText("1102"), "99%");
        control_->raiseDone();
    });
    EXPECT_EQ(progressText("1102"), "100%");
    EXPECT_EQ(bar("1099"), std::make_pair(65535, 65535));
}

// Dropped videos become rows after the added ones, in drop order, showing path, times and format;
// other files are left out, and nothing is taken while a run goes on.
TEST_F(AudioExtractionDialogTest, DroppedVideosBecomeRows)
{
    QTemporaryDir dir;
    QStringList made;
    for (const char* name : {"x.WMV", "notes.txt", "y.mp4"}) {
        made << dir.filePath(name);
        QFile(made.back()).open(QIODevice::WriteOnly);
    }
    control_->script().durations[made[2].toStdString()] = 8.0;
    add({"/v/a.avi"});
    EXPECT_TRUE(dropFiles(*dialog_, made));
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    EXPECT_EQ(cell(1, 0), made[0]);
    EXPECT_EQ((QStringList{cell(2, 0), cell(2, 1), cell(2, 2), cell(2, 3)}),
              (QStringList{made[2], "0.00 sec", "8.00 sec", "WMA"}));
    EXPECT_EQ(sources().back(), made[2].toStdString());
    EXPECT_EQ(dialog_->selectedRow(), 2);

    run([this, made] {
        EXPECT_FALSE(dropFiles(*dialog_, made));
        control_->raiseDone();
        control_->raiseDone();
        control_->raiseDone();
    });
    EXPECT_EQ(dialog_->items().size(), 3u);
}

}  // namespace
