#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include "FileDrop.h"
#include "RecordingShell.h"
#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "engine/CDudidEvar.h"
#include "tools/ImageExtractionDialog.h"
#include "tools/ImageExtractionTool.h"
#include "tools/ImageProgressDialog.h"
#include "tools/SpinButton.h"

namespace {

// A scripted control that lets a test act while a picture is being saved.
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
    bool SaveFrameSized(const std::string& media, double time, const std::string& bitmap, short w,
                        short h) override
    {
        const bool result = ScriptedControl::SaveFrameSized(media, time, bitmap, w, h);
        if (onSave)
            onSave(++saves);
        return result;
    }
};

class ImageExtractionDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<PictureControl>();
        control_ = owned.get();
        control_->script().durations["/videos/clip.avi"] = 59.96;
        control_->script().durations["/videos/noext"] = 4.0;
        wrapper_.Attach(std::move(owned));
    }

    // A dialog opened on the source as the Tools command opens it, without its modal loop.
    std::unique_ptr<ImageExtractionDialog> open(const std::string& source = "/videos/clip.avi")
    {
        auto dialog = std::make_unique<ImageExtractionDialog>();
        dialog->SetSource(source, wrapper_);
        dialog->initDialog();
        dialog->show();
        return dialog;
    }
    template <class T>
    static T* control(QWidget& dialog, const char* id)
    {
        return dialog.findChild<T*>(id);
    }
    static void type(QWidget& dialog, const char* id, const QString& text)
    {
        control<QLineEdit>(dialog, id)->setText(text);
    }
    static void extract(QWidget& dialog) { control<QPushButton>(dialog, "1083")->click(); }
    std::vector<std::string> saves() const
    {
        auto plain = control_->callsStartingWith("SaveFrame(");
        auto sized = control_->callsStartingWith("SaveFrameSized(");
        plain.insert(plain.end(), sized.begin(), sized.end());
        return plain;
    }

    ScopedPrompts prompts_;
    ScopedShell shell_;
    CDudidEvar wrapper_;
    PictureControl* control_ = nullptr;
};

TEST_F(ImageExtractionDialogTest, OpensOnTheSourceFolderWithTheDurationAndTheDefaults)
{
    auto dialog = open();
    EXPECT_EQ(dialog->outputFolder(), "/videos/");
    EXPECT_EQ(control_->callsStartingWith("GetDuration"), (std::vector<std::string>{"GetDuration(/videos/clip.avi)"}));
    EXPECT_EQ(control<QLineEdit>(*dialog, "1087")->text(), "60.0");
    EXPECT_EQ(control<QLineEdit>(*dialog, "1086")->text(), "0");
    EXPECT_EQ(control<QLineEdit>(*dialog, "1085")->text(), "3");
    auto* width = control<QComboBox>(*dialog, "1045");
    auto* height = control<QComboBox>(*dialog, "1046");
    EXPECT_EQ(width->count(), 64);
    EXPECT_EQ(width->itemText(63), "1024");
    EXPECT_EQ(width->currentText(), "352");
    EXPECT_EQ(height->currentText(), "240");
    EXPECT_FALSE(width->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(*dialog, "1108")->isChecked());

    // The box turns the lists on and off.
    control<QCheckBox>(*dialog, "1108")->click();
    EXPECT_TRUE(width->isEnabled());
    EXPECT_TRUE(height->isEnabled());
    control<QCheckBox>(*dialog, "1108")->click();
    EXPECT_FALSE(height->isEnabled());

    // Without a folder in the path the default folder stays.
    auto bare = std::make_unique<ImageExtractionDialog>();
    bare->SetSource("clip.avi", wrapper_);
    bare->initDialog();
    EXPECT_FALSE(bare->outputFolder().empty());
    EXPECT_EQ(bare->outputFolder().back(), '/');
}

TEST_F(ImageExtractionDialogTest, SpinArrowsRunBackwardsAndTimeFieldsTakeDigitsOnly)
{
    auto dialog = open();
    auto* spin = control<SpinButton>(*dialog, "1084");
    auto* rate = control<QLineEdit>(*dialog, "1085");
    spin->stepUp();
    EXPECT_EQ(rate->text(), "2");
    spin->stepUp();
    spin->stepUp();
    EXPECT_EQ(rate->text(), "1");
    spin->stepDown();
    EXPECT_EQ(rate->text(), "2");
    rate->setText("25");
    spin->stepDown();
    EXPECT_EQ(rate->text(), "25");

    auto* start = control<QLineEdit>(*dialog, "1086");
    start->clear();
    start->setFocus();
    QTest::keyClicks(start, "1a.5-");
    EXPECT_EQ(start->text(), "15");
}

TEST_F(ImageExtractionDialogTest, BrowseAppendsTheSeparatorAndPreviewOpensTheSource)
{
    auto dialog = open();
    prompts_->folders = {"/data/out", ""};
    control<QPushButton>(*dialog, "1061")->click();
    EXPECT_EQ(dialog->outputFolder(), "/data/out/");
    EXPECT_EQ(prompts_->folderTitles.front(), "Select Output Directory");
    control<QPushButton>(*dialog, "1061")->click();  // cancelled
    EXPECT_EQ(control<QLineEdit>(*dialog, "1010")->text(), "/data/out/");

    control<QPushButton>(*dialog, "1062")->click();
    EXPECT_EQ(shell_->opened, (std::vector<QString>{"/videos/clip.avi"}));
}

TEST_F(ImageExtractionDialogTest, TwoSecondsAtTwoASecondGiveFourNumberedPictures)
{
    auto dialog = open();
    type(*dialog, "1086", "10");
    type(*dialog, "1087", "12");
    type(*dialog, "1085", "2");
    extract(*dialog);
    EXPECT_EQ(saves(), (std::vector<std::string>{"SaveFrame(/videos/clip.avi, 10, /videos/clip_1.bmp)",
                                                 "SaveFrame(/videos/clip.avi, 10.5, /videos/clip_2.bmp)",
                                                 "SaveFrame(/videos/clip.avi, 11, /videos/clip_3.bmp)",
                                                 "SaveFrame(/videos/clip.avi, 11.5, /videos/clip_4.bmp)"}));
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "Successfully Done.");
    EXPECT_EQ(prompts_->shown[0].icon, PromptIcon::Information);
    EXPECT_EQ(prompts_->shown[0].caption, QCoreApplication::applicationName());
    // The dialog is usable again and keeps its fields for another run.
    EXPECT_TRUE(dialog->findChild<QPushButton*>("1083")->isEnabled());
    EXPECT_EQ(dialog->startTime(), 10.0);
    EXPECT_EQ(dialog->findChildren<ImageProgressDialog*>().size(), 0);
}

TEST_F(ImageExtractionDialogTest, ChosenSizeAndWholeFileNameWithoutDot)
{
    auto dialog = open("/videos/noext");
    control<QCheckBox>(*dialog, "1108")->click();
    type(*dialog, "1087", "1");
    type(*dialog, "1085", "1");
    extract(*dialog);
    EXPECT_EQ(saves(), (std::vector<std::string>{"SaveFrameSized(/videos/noext, 0, /videos/noext_1.bmp, 352, 240)"}));
    control<QComboBox>(*dialog, "1045")->setCurrentIndex(0);
    control<QComboBox>(*dialog, "1046")->setCurrentIndex(63);
    control_->clearCalls();
    extract(*dialog);
    EXPECT_EQ(saves(), (std::vector<std::string>{"SaveFrameSized(/videos/noext, 0, /videos/noext_1.bmp, 16, 1024)"}));
}

TEST_F(ImageExtractionDialogTest, RateOutsideTheRangeIsReportedAndClamped)
{
    auto dialog = open();
    type(*dialog, "1086", "0");
    type(*dialog, "1087", "2");
    type(*dialog, "1085", "30");
    extract(*dialog);
    EXPECT_EQ(saves().size(), 50u);
    EXPECT_EQ(control<QLineEdit>(*dialog, "1085")->text(), "25");
    ASSERT_EQ(prompts_->shown.size(), 2u);
    EXPECT_TRUE(prompts_->shown[0].text.contains("between 1 and 25"));
    EXPECT_EQ(prompts_->shown[1].text, "Successfully Done.");

    // An empty field is reported and keeps the rate before it.
    prompts_->shown.clear();
    control_->clearCalls();
    type(*dialog, "1085", "");
    extract(*dialog);
    EXPECT_EQ(dialog->picturesPerSecond(), 25u);
    EXPECT_EQ(prompts_->shown.front().text, "Please enter a whole number.");
    EXPECT_EQ(saves().size(), 50u);
}

TEST_F(ImageExtractionDialogTest, AnInvalidRangeTakesTheWholeFileWithoutAMessage)
{
    auto dialog = open("/videos/noext");  // 4 s
    type(*dialog, "1086", "3");
    type(*dialog, "1087", "2");
    type(*dialog, "1085", "1");
    extract(*dialog);
    EXPECT_EQ(saves().size(), 4u);
    EXPECT_EQ(control<QLineEdit>(*dialog, "1086")->text(), "0");
    EXPECT_EQ(control<QLineEdit>(*dialog, "1087")->text(), "4");
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "Successfully Done.");
}

TEST_F(ImageExtractionDialogTest, TheRoundedEndKeepsTheUsersStart)
{
    auto dialog = open();  // 59.96 s shown as 60.0
    type(*dialog, "1086", "58");
    type(*dialog, "1085", "1");
    extract(*dialog);
    EXPECT_EQ(saves(), (std::vector<std::string>{"SaveFrame(/videos/clip.avi, 58, /videos/clip_1.bmp)",
                                                 "SaveFrame(/videos/clip.avi, 59, /videos/clip_2.bmp)"}));
}

TEST_F(ImageExtractionDialogTest, CancelStopsBeforeTheNextPictureWithoutSuccess)
{
    auto dialog = open();
    type(*dialog, "1085", "25");
    control_->onSave = [&](int n) {
        if (n == 3) {
            auto* progress = dialog->findChild<ImageProgressDialog*>();
            ASSERT_NE(progress, nullptr);
            EXPECT_TRUE(progress->isVisible());
            EXPECT_TRUE(dialog->isExtracting());
            // Clicked through the event queue, so it lands while events are pumped.
            QMetaObject::invokeMethod(progress->findChild<QPushButton*>("2"), &QPushButton::click,
                                      Qt::QueuedConnection);
        }
    };
    extract(*dialog);
    EXPECT_EQ(saves().size(), 3u);
    EXPECT_TRUE(prompts_->shown.empty());
    EXPECT_FALSE(dialog->isExtracting());
    EXPECT_TRUE(control<QPushButton>(*dialog, "1083")->isEnabled());
}

TEST_F(ImageExtractionDialogTest, PicturesThatCouldNotBeWrittenAreCounted)
{
    auto dialog = open("/videos/noext");
    control_->script().saveFrameResult = false;
    type(*dialog, "1085", "1");
    extract(*dialog);
    EXPECT_EQ(saves().size(), 4u);
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "4 of 4 pictures could not be written.");
    EXPECT_EQ(prompts_->shown[0].icon, PromptIcon::Exclamation);
}

TEST_F(ImageExtractionDialogTest, AnUnreadableSourceWritesNothingAndSaysSo)
{
    auto dialog = open("/videos/broken.avi");  // no duration
    extract(*dialog);
    EXPECT_TRUE(saves().empty());
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_NE(prompts_->shown[0].text, "Successfully Done.");
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

TEST_F(ImageExtractionDialogTest, ToolCommandPicksASourceOrDoesNothing)
{
    prompts_->files = {""};
    ImageExtractionTool::run(nullptr, wrapper_);
    EXPECT_TRUE(control_->calls().empty());
    ASSERT_EQ(prompts_->fileFilters.size(), 1u);
    EXPECT_TRUE(prompts_->fileFilters[0].startsWith("All Support Files"));

    prompts_->files = {"/videos/noext"};
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<ImageExtractionDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Extract Image(save to BMP files)");
        EXPECT_EQ(dialog->sourcePath(), "/videos/noext");
        dialog->reject();
    });
    ImageExtractionTool::run(nullptr, wrapper_);
    EXPECT_EQ(control_->callsStartingWith("GetDuration"), (std::vector<std::string>{"GetDuration(/videos/noext)"}));
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
    auto dialog = open();
    type(*dialog, "1086", "5");
    EXPECT_TRUE(dropFiles(*dialog, made));
    EXPECT_EQ(control<QLineEdit>(*dialog, "1082")->text(), made[1]);
    EXPECT_EQ(control<QLineEdit>(*dialog, "1010")->text().toStdString(), dir.path().toStdString() + "/");
    EXPECT_EQ(control<QLineEdit>(*dialog, "1086")->text(), "0");
    EXPECT_EQ(control<QLineEdit>(*dialog, "1087")->text(), "12.3");
    EXPECT_EQ(dialog->duration(), 12.34);

    type(*dialog, "1085", "1");
    extract(*dialog);
    ASSERT_FALSE(saves().empty());
    EXPECT_NE(saves().front().find(dropped), std::string::npos);
    EXPECT_EQ(dialog->sourcePath(), dropped);
}

}  // namespace
