#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "RecordingShell.h"
#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "engine/ControlClassRegistry.h"
#include "mainwnd/AboutDialog.h"
#include "mainwnd/LogList.h"
#include "mainwnd/MainWindow.h"
#include "mainwnd/TaskListView.h"
#include "platform/InstallDir.h"
#include "skin/CHoverButton.h"
#include "tasks/TaskList.h"

// Reaches the window's run state, as the execution would set it.
class MainWindowTestPeer {
public:
    static void SetRunning(MainWindow& window, bool running) { window.running = running; }
    static void SetPreviewing(MainWindow& window, bool previewing) { window.previewing = previewing; }
    static int SelectedTask(const MainWindow& window) { return window.selectedTask; }
    static int CurrentTask(const MainWindow& window) { return window.currentTask; }
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

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ControlClassRegistry::instance().registerClass(kDudidEvarClassId, [this](QWidget*) {
            auto made = std::make_unique<ScriptedControl>();
            control = made.get();
            return made;
        });
        InstallDir::set("");
    }
    void TearDown() override
    {
        ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
        CHoverButton::InstallMenuRunner({});
    }

    template <typename T = QWidget>
    static T* byId(const MainWindow& window, int id)
    {
        return window.findChild<T*>(QString::number(id));
    }

    // The next menu a hover button drops answers with the entry of this command.
    static void chooseFromMenu(int command)
    {
        CHoverButton::InstallMenuRunner([command](QMenu& menu, const QPoint&) -> QAction* {
            for (QAction* action : menu.actions())
                if (action->data().toInt() == command)
                    return action;
            return nullptr;
        });
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
    ScriptedControl* control = nullptr;
    ScopedPrompts prompts;
    ScopedShell shell;
};

struct Placed {
    int id;
    QRect place;
    const char* tooltip;
    bool enabled;
};

const Placed layout[] = {
    {1035, {14, 35, 46, 45}, "Add a task into the task list", true},
    {1036, {14, 85, 46, 45}, "Delete a task from the task list", true},
    {1039, {14, 135, 46, 45}, "Edit the selected task", true},
    {1004, {14, 185, 46, 45}, "Tools", true},
    {1040, {8, 390, 65, 18}, "https://kestrune.example/", true},
    {1044, {460, 10, 13, 16}, "Help", true},
    {1042, {480, 10, 13, 16}, "Minimize", true},
    {1043, {500, 10, 13, 16}, "Exit", true},
    {1051, {458, 242, 46, 45}, "Preview output", false},
    {1027, {448, 330, 65, 65}, "Execute all tasks", false},
    {1000, {81, 35, 440, 162}, nullptr, true},
    {1054, {87, 216, 345, 180}, nullptr, true},
    {1011, {135, 218, 249, 175}, nullptr, true},
    {4097, {87, 216, 345, 180}, nullptr, true},
    {1110, {9, 9, 16, 16}, nullptr, true},
    {1053, {87, 402, 345, 12}, nullptr, true},
};

TEST_F(MainWindowTest, EveryControlLiesAtItsPlaceWithItsTooltipAndState)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    window.show();
    for (const Placed& p : layout) {
        SCOPED_TRACE(p.id);
        QWidget* control = byId(window, p.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), p.place);
        EXPECT_EQ(control->isEnabled(), p.enabled);
        if (p.tooltip) {
            EXPECT_EQ(control->toolTip(), QString::fromUtf8(p.tooltip));
        }
    }
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Marvane"));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_TRUE(byId(window, 4097)->isVisible());
    EXPECT_FALSE(byId(window, 1054)->isVisible());
    EXPECT_FALSE(byId(window, 1011)->isVisible());
    EXPECT_EQ(byId<QProgressBar>(window, 1053)->value(), 0);
    EXPECT_EQ(MainWindowTestPeer::SelectedTask(window), 0);
    EXPECT_EQ(MainWindowTestPeer::CurrentTask(window), -1);
    EXPECT_EQ(&window.Control(), &window.Control());
    EXPECT_TRUE(window.Control().IsCreated());
    EXPECT_TRUE(prompts->shown.empty());
}

TEST_F(MainWindowTest, TheShapeIsTheSkinsOwn)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    const QRegion shape = window.mask();
    ASSERT_FALSE(shape.isEmpty());
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(529, 434)));
    EXPECT_TRUE(shape.contains(QPoint(265, 217)));
    EXPECT_TRUE(shape.boundingRect().width() <= 530);
}

TEST_F(MainWindowTest, ListsAreSetUpWithTheirColumnsLinesAndColours)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    auto* list = byId<TaskListView>(window, 1000);
    ASSERT_EQ(list->columnCount(), 4);
    const int unit = list->contentsRect().width() / 20;
    const QStringList titles{"Source", "Status", "Description", "Output"};
    const int twentieths[] = {7, 5, 6, 15};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list->headerItem()->text(i), titles[i]);
        EXPECT_EQ(list->columnWidth(i), twentieths[i] * unit);
    }
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(204, 217, 195));

    auto* log = byId<LogList>(window, 4097);
    ASSERT_EQ(log->LineCount(), 2);
    EXPECT_EQ(log->Line(0), QStringLiteral("Press \"Add\" button to start..."));
    EXPECT_EQ(log->Line(1), QString());
    EXPECT_TRUE(log->isHeaderHidden());
    EXPECT_EQ(log->columnWidth(0), 320);
    EXPECT_EQ(log->palette().color(QPalette::Base), QColor(204, 217, 195));
}

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
    EXPECT_NE(byId(shallow, 1000), nullptr);
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

TEST_F(MainWindowTest, HelpMenuCommandsArriveAfterTheClickAndOpenThroughTheShell)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    auto* help = byId<CHoverButton>(window, 1044);

    chooseFromMenu(MainWindow::ContentCommand);
    help->click();
    EXPECT_TRUE(shell->opened.empty());
    QCoreApplication::processEvents();
    chooseFromMenu(MainWindow::SupportMailCommand);
    help->click();
    QCoreApplication::processEvents();
    chooseFromMenu(MainWindow::WebPageCommand);
    help->click();
    QCoreApplication::processEvents();
    byId<CHoverButton>(window, 1040)->click();

    EXPECT_EQ(shell->opened, (std::vector<QString>{"/help.chm", "mailto:support@kestrune.example",
                                                   "https://kestrune.example/", "https://kestrune.example/"}));
    EXPECT_TRUE(shell->launched.empty());
}

TEST_F(MainWindowTest, ContentOpensTheGuideOnlyWhenNoHelpFileLiesBesideTheProgram)
{
    QTemporaryDir folder;
    InstallDir::set(folder.path().toStdString());
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    auto open = [&] {
        chooseFromMenu(MainWindow::ContentCommand);
        byId<CHoverButton>(window, 1044)->click();
        QCoreApplication::processEvents();
        return shell->opened.back();
    };
    auto touch = [&](const char* name) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    EXPECT_EQ(open(), folder.filePath("help.chm"));
    touch("help.html");
    EXPECT_EQ(open(), folder.filePath("help.html"));
    touch("help.chm");
    EXPECT_EQ(open(), folder.filePath("help.chm"));
    InstallDir::set("");
}

TEST_F(MainWindowTest, ToolsAndHelpButtonsDoNothingButDropTheirMenus)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    int menusDropped = 0;
    CHoverButton::InstallMenuRunner([&menusDropped](QMenu&, const QPoint&) -> QAction* {
        ++menusDropped;
        return nullptr;
    });
    byId<CHoverButton>(window, 1004)->click();
    byId<CHoverButton>(window, 1044)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(menusDropped, 2);
    EXPECT_TRUE(shell->opened.empty());
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(control->calls().empty());
}

TEST_F(MainWindowTest, AboutBoxRunsFromTheHelpMenuAndFromTheWindowMenu)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    window.show();

    chooseFromMenu(MainWindow::AboutCommand);
    byId<CHoverButton>(window, 1044)->click();
    EXPECT_EQ(titleOfModalOpenedBy([] { QCoreApplication::processEvents(); }), QStringLiteral("About Marvane"));

    auto* windowMenu = window.findChild<QMenu*>(QStringLiteral("systemMenu"));
    ASSERT_NE(windowMenu, nullptr);
    QAction* about = nullptr;
    for (QAction* action : windowMenu->actions())
        if (action->data().toInt() == MainWindow::AboutSystemCommand)
            about = action;
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), QStringLiteral("&About Ostrel..."));
    EXPECT_EQ(titleOfModalOpenedBy([about] { about->trigger(); }), QStringLiteral("About Marvane"));
    EXPECT_TRUE(window.isVisible());
}

// Each way of ending the window stops a running control once and releases every settings record.
class ClosingTest : public MainWindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    void end(MainWindow& window)
    {
        const std::string how = GetParam();
        if (how == "Exit") {
            byId<CHoverButton>(window, 1043)->click();
        } else if (how == "close box") {
            window.close();
        } else {
            QTest::keyClick(&window, how == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
        }
    }
};

TEST_P(ClosingTest, StopsARunningControlAndReleasesEverySettingsRecord)
{
    tasks.append({"/v/a.avi"}, "/v/a.mpg", "To DVD");
    tasks.append({"/v/b.avi"}, "/v/b.mpg", "To VCD");
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    window.show();
    MainWindowTestPeer::SetRunning(window, true);
    end(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(control->callsStartingWith("Stop"), std::vector<std::string>{"Stop()"});
    EXPECT_EQ(tasks.at(0).settings, nullptr);
    EXPECT_EQ(tasks.at(1).settings, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTest, ::testing::Values("Exit", "close box", "Escape", "Enter"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return name;
                         });

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

    MainWindow previewing(tasks);
    ASSERT_TRUE(previewing.Create());
    previewing.show();
    MainWindowTestPeer::SetPreviewing(previewing, true);
    previewing.close();
    EXPECT_EQ(control->callsStartingWith("Stop").size(), 1u);
}

TEST_F(MainWindowTest, TaskCommandsAreEnabledAndDisabledTogether)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    window.EnableTaskCommands(false);
    for (int id : {1035, 1036, 1039, 1004})
        EXPECT_FALSE(byId(window, id)->isEnabled()) << id;
    EXPECT_TRUE(byId(window, 1043)->isEnabled());
}

TEST_F(MainWindowTest, DraggingTheSurfaceMovesTheWindowAndClicksOnControlsDoNot)
{
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    window.move(100, 100);
    window.show();
    const QPoint start = window.pos();
    auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons held) {
        const QPoint global = window.mapToGlobal(local);
        QMouseEvent event(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    };
    send(QEvent::MouseButtonPress, QPoint(45, 300), Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(75, 340), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPoint(75, 340), Qt::NoButton);
    EXPECT_EQ(window.pos(), start + QPoint(30, 40));

    QWidget* log = byId<LogList>(window, 4097)->viewport();
    QTest::mousePress(log, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(log, QPoint(80, 90));
    QTest::mouseRelease(log, Qt::LeftButton, {}, QPoint(80, 90));
    EXPECT_EQ(window.pos(), start + QPoint(30, 40));
}

TEST(AboutDialogTest, LinksToTheMakersPageWithThePointingHand)
{
    ScopedShell shell;
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Marvane"));
    auto* link = about.findChild<LinkLabel*>(QStringLiteral("1089"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Target(), QStringLiteral("https://kestrune.example/"));
    EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(link->cursor().hotSpot(), QPoint(6, 1));
    about.show();
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(shell->opened, std::vector<QString>{"https://kestrune.example/"});
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
