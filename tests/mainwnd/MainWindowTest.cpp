// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

#include "RecordingShell.h"
#include "ScriptedWindowFixture.h"
#include "mainwnd/AboutDialog.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "skin/CHoverButton.h"
#include "tasks/OutputKind.h"
#include "tasks/TaskList.h"
#include "tools/AudioExtractionDialog.h"

// Starts a run or a preview as Execute and Output would, and reads the extraction flag.
class MainWindowTestPeer {
public:
    static bool ExtractionActive(const MainWindow& window) { return window.extractionActive; }
    static void StartPreview(MainWindow& window, std::size_t task) { window.execution.preview(task); }
};

namespace {

// A window on a screen of a chosen colour depth.
class DepthWindow : public MainWindow {
public:
    DepthWindow(TaskList& tasks, int depth) : MainWindow(tasks), depth_(depth) {}

protected:
    int ScreenDepth() const override { return depth_; }

private:
    int depth_;
};

class MainWindowTest : public ScriptedWindowFixture {
protected:
    // Acts on the next modal dialog of the type once it is up.
    template <class Dialog>
    static void whenModal(std::function<void(Dialog*)> act)
    {
        auto* poll = new QTimer;
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, [poll, act] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                act(dialog);
            }
        });
        poll->start();
    }
    static void settle()
    {
        for (int pass = 0; pass < 4; ++pass)
            QCoreApplication::processEvents();
    }

    // Runs `trigger`, closing the first modal dialog it opens; returns that dialog's title.
    static QString titleOfModalOpenedBy(const std::function<void()>& trigger)
    {
        QString title;
        QTimer::singleShot(0, [&title] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                title = modal->windowTitle();
                if (qobject_cast<AboutDialog*>(modal))
                    modal->close();
            }
        });
        trigger();
        return title;
    }

    TaskList tasks;
    ScopedShell shell;
};

TEST_F(MainWindowTest, ColourDepthOtherThan16To32IsWarnedOnceAndTheWindowStillOpens)
{
    DepthWindow deep(tasks, 24);
    ASSERT_TRUE(deep.Create());
    EXPECT_TRUE(prompts->shown.empty());

    DepthWindow shallow(tasks, 8);
    ASSERT_TRUE(shallow.Create());
    ASSERT_TRUE(shallow.Create());
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].caption, QStringLiteral("Marvane"));
    EXPECT_EQ(prompts->shown[0].text,
              QStringLiteral("Only 16,24 and 32 bits color display mode \n are supported for displaying."));
    EXPECT_EQ(prompts->shown[0].icon, PromptIcon::Exclamation);
    EXPECT_NE(shallow.findChild<QWidget*>("1000"), nullptr);
}

TEST_F(MainWindowTest, WithoutAControlTheRunEndsAtOnceWithMinusOneAndNoMessage)
{
    ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
    MainWindow window(tasks);
    EXPECT_EQ(window.exec(), -1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_FALSE(window.Control().IsCreated());
}

TEST_F(MainWindowTest, HelpCommandsArriveAfterTheClickAndContentPrefersTheHelpFile)
{
    QTemporaryDir folder;
    InstallDir::set(folder.path().toStdString());
    window = std::make_unique<MainWindow>(tasks);
    ASSERT_TRUE(window->Create());
    auto* help = byId<CHoverButton>(1044);
    auto choose = [&](int command) {
        const std::size_t before = shell->opened.size();
        chooseFromMenu(command);
        help->click();
        EXPECT_EQ(shell->opened.size(), before) << command;
        QCoreApplication::processEvents();
        EXPECT_EQ(shell->opened.size(), before + 1) << command;
        return shell->opened.back();
    };
    auto touch = [&](const char* name) { ASSERT_TRUE(QFile(folder.filePath(name)).open(QIODevice::WriteOnly)); };
    EXPECT_EQ(choose(MainWindow::ContentCommand), folder.filePath("help.chm"));
    touch("help.html");
    EXPECT_EQ(choose(MainWindow::ContentCommand), folder.filePath("help.html"));
    touch("help.chm");
    EXPECT_EQ(choose(MainWindow::ContentCommand), folder.filePath("help.chm"));
    EXPECT_EQ(choose(MainWindow::SupportMailCommand), "mailto:support@kestrune.example");
    EXPECT_EQ(choose(MainWindow::WebPageCommand), "https://kestrune.example/");
    byId<CHoverButton>(1040)->click();
    EXPECT_EQ(shell->opened.back(), "https://kestrune.example/");
    EXPECT_TRUE(shell->launched.empty());
    EXPECT_TRUE(prompts->shown.empty());

    // A desktop that opens nothing: the user is told which address or file it was.
    shell->openResult = false;
    choose(MainWindow::SupportMailCommand);
    ASSERT_FALSE(prompts->shown.empty());
    EXPECT_EQ(prompts->shown.back().text, "Could not open mailto:support@kestrune.example\nNo program on this desktop opens it.");
    EXPECT_EQ(prompts->shown.back().icon, PromptIcon::Exclamation);
    QFile::remove(folder.filePath("help.chm"));
    QFile::remove(folder.filePath("help.html"));
    choose(MainWindow::ContentCommand);
    EXPECT_EQ(prompts->shown.back().text, "Could not open " + folder.filePath("help.chm") + "\nThe file does not exist.");
    InstallDir::set("");
}

TEST_F(MainWindowTest, AboutBoxRunsFromTheHelpMenuAndFromTheWindowMenu)
{
    window = std::make_unique<MainWindow>(tasks);
    ASSERT_TRUE(window->Create());
    window->show();

    chooseFromMenu(MainWindow::AboutCommand);
    byId<CHoverButton>(1044)->click();
    EXPECT_EQ(titleOfModalOpenedBy([] { QCoreApplication::processEvents(); }), QStringLiteral("About Marvane"));

    auto* windowMenu = window->findChild<QMenu*>(QStringLiteral("systemMenu"));
    ASSERT_NE(windowMenu, nullptr);
    const auto actions = windowMenu->actions();
    const auto found = std::find_if(actions.begin(), actions.end(),
                                    [](QAction* a) { return a->data().toInt() == MainWindow::AboutSystemCommand; });
    ASSERT_NE(found, actions.end());
    QAction* about = *found;
    EXPECT_EQ(about->text(), QStringLiteral("&About Ostrel..."));
    EXPECT_EQ(titleOfModalOpenedBy([about] { about->trigger(); }), QStringLiteral("About Marvane"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, AudioToolGetsTheControlsEventsOnlyWhileItIsOpen)
{
    window = std::make_unique<MainWindow>(tasks);
    ASSERT_TRUE(window->Create());
    control->script().durations = {{"/v/a.avi", 60.0}};
    prompts->folders = {"/out"};
    prompts->files = {"/v/a.avi"};
    bool activeInside = false;
    whenModal<AudioExtractionDialog>([&](AudioExtractionDialog* tool) {
        activeInside = MainWindowTestPeer::ExtractionActive(*window);
        tool->findChild<QPushButton*>("1011")->click();
        tool->findChild<QPushButton*>("1057")->click();
        QTimer::singleShot(0, [&] {
            control->raiseProgress(30, 60);
            settle();
            EXPECT_EQ(tool->progress().wholePercentText(), "50%");
            control->raiseDone();
        });
        tool->findChild<QPushButton*>("1")->click();
        tool->reject();
    });
    chooseTool(MainWindow::ExtractAudioCommand);
    EXPECT_TRUE(activeInside);
    EXPECT_FALSE(MainWindowTestPeer::ExtractionActive(*window));
    EXPECT_EQ(control->callsStartingWith("SaveAudio"), (std::vector<std::string>{"SaveAudioAsWma(/out/a.wma)"}));
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, "Successfully Done.");

    // Closed, the tool hears nothing; opened again, its list is empty and its folder kept.
    control->raiseDone();
    settle();
    whenModal<AudioExtractionDialog>([](AudioExtractionDialog* tool) {
        EXPECT_EQ(tool->findChild<QTreeWidget*>("1026")->topLevelItemCount(), 0);
        EXPECT_EQ(tool->findChild<QLineEdit*>("1010")->text(), "/out/");
        tool->reject();
    });
    chooseTool(MainWindow::ExtractAudioCommand);
    EXPECT_EQ(control->callsStartingWith("SaveAudio").size(), 1u);
}

TEST_F(MainWindowTest, ClosingStopsAPreviewButNotAnIdleControl)
{
    tasks.append({"/v/a.avi"}, "/v/a.mpg", "To DVD");
    MainWindow idle(tasks);
    ASSERT_TRUE(idle.Create());
    ScriptedControl* idleControl = control;
    idle.show();
    idle.close();
    EXPECT_TRUE(idleControl->callsStartingWith("Stop").empty());
    EXPECT_EQ(tasks.at(0).settings, nullptr);

    tasks.append({"/v/b.avi"}, "/v/b.mpg", "To DVD");
    MainWindow previewing(tasks);
    ASSERT_TRUE(previewing.Create());
    previewing.show();
    MainWindowTestPeer::StartPreview(previewing, 1);
    previewing.close();
    EXPECT_EQ(control->callsStartingWith("Stop").size(), 1u);
}

TEST(AboutDialogTest, LinksToTheMakersPageWithThePointingHand)
{
    ScopedShell shell;
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Marvane"));
    auto* link = about.findChild<LinkLabel*>(QStringLiteral("1089"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);
    about.show();
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(shell->opened, std::vector<QString>{"https://kestrune.example/"});
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_FALSE(about.isVisible());
}

}  // namespace

namespace {

// The About box and the user guide name every output kind the editor offers, and the guide
// every entry of the Tools menu, so neither falls behind the program.
TEST(HelpMatchesTheProgram, AboutAndTheGuideNameEveryKindAndTheGuideEveryToolsEntry)
{
    AboutDialog about;
    QString aboutText;
    for (const QLabel* label : about.findChildren<QLabel*>())
        aboutText += label->text() + '\n';
    QFile guideFile(QStringLiteral(MARVANE_SOURCE_DIR "/dist/help.html"));
    ASSERT_TRUE(guideFile.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(guideFile.readAll());
    for (int kind = int(OutputKind::Avi); kind <= int(OutputKind::Mp4); ++kind) {
        // "To MPEG(custom)" names the kind MPEG.
        const QString name = QString::fromLatin1(OutputKinds::description(OutputKind(kind))).mid(3).section('(', 0, 0);
        EXPECT_TRUE(aboutText.contains(name)) << name.toStdString();
        EXPECT_TRUE(guide.contains(name)) << name.toStdString();
    }
    CHoverButton tools;
    tools.SetPopupMenu(164, nullptr, false);
    for (int command = MainWindow::ExtractImageCommand; command <= MainWindow::RemoveAllCommand; ++command) {
        const QAction* entry = tools.MenuAction(command);
        ASSERT_NE(entry, nullptr) << command;
        EXPECT_TRUE(guide.contains(entry->text(), Qt::CaseInsensitive)) << entry->text().toStdString();
    }
    EXPECT_FALSE(guide.contains(QStringLiteral("<td>Del</td>")));
}

}  // namespace
