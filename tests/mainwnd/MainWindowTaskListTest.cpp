// SPDX-License-Identifier: GPL-3.0-or-later
// The task list kept from one start to the next, saved and opened by hand, going on after a
// failed task, and closing during a run, in the main window on a scripted control.
#include <QCheckBox>
#include <QFile>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

#include "ScriptedWindowFixture.h"
#include "platform/IniRegistryHive.h"
#include "platform/Registry.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"
#include "tasks/TaskListStore.h"

class MainWindowTestPeer {
public:
    static void QuietNotices(MainWindow& window) { window.executionView.notify = [](const QString&, const QString&) {}; }
};

namespace {

class MainWindowTaskListTest : public ScriptedWindowFixture {
protected:
    void SetUp() override
    {
        ScriptedWindowFixture::SetUp();
        // The user's hive of this test only.
        Registry::instance().install(std::make_unique<IniRegistryHive>(folder.filePath("registry.ini")), nullptr);
    }

    // A window on a fresh task list that keeps it in the test's store.
    void open()
    {
        window.reset();
        tasks = std::make_unique<TaskList>();
        window = std::make_unique<MainWindow>(*tasks);
        window->KeepTasksIn(&store);
        MainWindowTestPeer::QuietNotices(*window);
        ASSERT_TRUE(window->Create());
        window->show();
    }
    // The store holds these tasks before the window opens.
    void keep(const std::vector<std::string>& sources)
    {
        TaskList list;
        for (const std::string& source : sources) {
            const std::size_t i = list.append({source}, folder.filePath(QString::fromStdString(source).section('/', -1) + ".avi").toStdString(), "To AVI");
            list.at(i).settings->format = OutputFormat::Avi;
        }
        std::string error;
        ASSERT_TRUE(store.keep(list, &error)) << error;
    }
    std::vector<std::string> keptStatuses()
    {
        store.flush();
        std::vector<ConversionTask> kept;
        std::string error;
        EXPECT_TRUE(TaskListFile::load(store.path(), &kept, &error)) << error;
        std::vector<std::string> statuses;
        for (const ConversionTask& task : kept)
            statuses.push_back(task.status == TaskStatus::Done ? "Done" : task.status == TaskStatus::Failed ? "Failed" : "Waiting");
        return statuses;
    }

    QString lastLogLine() const { return lastLogLines(1); }
    QAction* goOnEntry() const
    {
        return byId<CHoverButton>(MainWindow::ToolsId)->MenuAction(MainWindow::GoOnAfterFailureCommand);
    }

    TaskListStore store{folder.filePath("data/marvane/task-list.json")};
    std::unique_ptr<TaskList> tasks;
};

TEST_F(MainWindowTaskListTest, KeptListFollowsEveryChangeAndComesBackWithItsStatuses)
{
    keep({"/clips/a.mpg", "/clips/b.mpg", "/clips/c.mpg"});
    open();
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    EXPECT_TRUE(byId(MainWindow::ExecuteId)->isEnabled());

    click(MainWindow::ExecuteId);
    control->raiseDone();
    EXPECT_EQ(keptStatuses(), (std::vector<std::string>{"Done", "Waiting", "Waiting"}));

    // The program ends in the middle of the second task; the next start has the list back.
    window.reset();
    open();
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    EXPECT_EQ(cell(0, 1), "Done");
    EXPECT_EQ(cell(1, 1), "Waiting");
    EXPECT_EQ(tasks->at(1).status, TaskStatus::Waiting);

    list()->setCurrentItem(list()->topLevelItem(2));
    click(MainWindow::DelId);
    EXPECT_EQ(keptStatuses(), (std::vector<std::string>{"Done", "Waiting"}));

    addWithOutput("/clips/c.mpg", folder.filePath("added.avi"));
    EXPECT_EQ(keptStatuses(), (std::vector<std::string>{"Done", "Waiting", "Waiting"}));
}

TEST_F(MainWindowTaskListTest, UnreadableKeptListIsSetAsideAndTheWindowStartsEmpty)
{
    QFile damaged(store.path());
    keep({"/clips/a.mpg"});
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("{\"format\": \"marvane-task-list\", \"version\": 7, \"tasks\": []}");
    damaged.close();
    open();
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_TRUE(lastLogLine().startsWith("The kept task list could not be read (field \"version\": version 7"))
        << lastLogLine().toStdString();
}

TEST_F(MainWindowTaskListTest, SavedListOpensAfterTheCurrentTasksUnlessItsOutputsClash)
{
    keep({"/clips/c.mpg"});
    const QString other = folder.filePath("other.json");
    ASSERT_TRUE(QFile::rename(store.path(), other));
    keep({"/clips/a.mpg", "/clips/b.mpg"});
    open();

    prompts->files.push_back(other);
    chooseTool(MainWindow::OpenTaskListCommand);
    ASSERT_EQ(list()->topLevelItemCount(), 3);
    EXPECT_EQ(cell(2, 0), "/clips/c.mpg");
    EXPECT_EQ(keptStatuses().size(), 3u);
    ASSERT_EQ(prompts->shown.size(), 1u);  // added, as the user answered
    prompts->shown.clear();

    // Added once more, its task would overwrite the output of the task opened before.
    prompts->files.push_back(other);
    chooseTool(MainWindow::OpenTaskListCommand);
    ASSERT_EQ(prompts->shown.size(), 2u);
    EXPECT_EQ(prompts->shown[1].text, "The task list could not be opened.\nTask 4 would write " +
                                          folder.filePath("c.mpg.avi") + ", which task 3 writes.");
    EXPECT_EQ(list()->topLevelItemCount(), 3);
    prompts->shown.clear();

    const QString saved = folder.filePath("saved.json");
    prompts->saveFiles.push_back(saved);
    chooseTool(MainWindow::SaveTaskListCommand);
    std::vector<ConversionTask> read;
    std::string error;
    ASSERT_TRUE(TaskListFile::load(saved, &read, &error)) << error;
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[2].sources, std::vector<std::string>{"/clips/c.mpg"});
}

// The save dialog's name without a suffix gets ".json"; a file of that name is replaced only when
// the user says so, since the dialog asked about the typed name alone.
TEST_F(MainWindowTaskListTest, SavedListGetsTheJsonSuffixAndAsksBeforeReplacingAFileOfThatName)
{
    keep({"/clips/a.mpg"});
    open();
    const auto savedTasks = [](const QString& path) {
        std::vector<ConversionTask> read;
        std::string error;
        return TaskListFile::load(path, &read, &error) ? read.size() : 0;
    };
    QFile other(folder.filePath("tuesday.json"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("not a list");
    other.close();
    prompts->saveFiles.push_back(folder.filePath("tuesday"));
    prompts->answers = {PromptAnswer::No};
    chooseTool(MainWindow::SaveTaskListCommand);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, folder.filePath("tuesday.json") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(prompts->shown[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(savedTasks(folder.filePath("tuesday.json")), 0u);
    prompts->saveFiles.push_back(folder.filePath("tuesday"));
    prompts->answers = {PromptAnswer::Yes};
    chooseTool(MainWindow::SaveTaskListCommand);
    EXPECT_EQ(savedTasks(folder.filePath("tuesday.json")), 1u);
    EXPECT_FALSE(QFile::exists(folder.filePath("tuesday")));
}

TEST_F(MainWindowTaskListTest, GoingOnIsAKeptChoiceAndMarksTheFailedTaskWithoutABox)
{
    keep({"/clips/a.mpg", "/clips/missing.mpg", "/clips/c.mpg"});
    open();
    ASSERT_NE(goOnEntry(), nullptr);
    EXPECT_TRUE(goOnEntry()->isCheckable());
    EXPECT_FALSE(goOnEntry()->isChecked());
    chooseTool(MainWindow::GoOnAfterFailureCommand);
    EXPECT_TRUE(goOnEntry()->isChecked());
    open();  // the next start remembers it
    EXPECT_TRUE(goOnEntry()->isChecked());

    control->script().convertResults = {true, false, true};
    control->script().lastError = "cannot open /clips/missing.mpg";
    click(MainWindow::ExecuteId);
    control->raiseDone();
    control->raiseDone();
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_EQ(cell(1, 1), "Failed");
    EXPECT_EQ(cell(2, 1), "Done");
    EXPECT_EQ(lastLogLine(), "2 tasks done, 1 failed");
    EXPECT_EQ(keptStatuses(), (std::vector<std::string>{"Done", "Failed", "Done"}));

    chooseTool(MainWindow::GoOnAfterFailureCommand);
    EXPECT_FALSE(goOnEntry()->isChecked());
    EXPECT_EQ(Registry::instance().value(Registry::Root::CurrentUser, "Software\\Marvane\\Settings", "GoOnAfterFailure"),
              "0");
}

// Shift and Ctrl pick several rows; Delete removes them after one question, and the Tools
// entries remove the finished tasks or all of them, also after a question.
TEST_F(MainWindowTaskListTest, SeveralRowsGoAtOnceAfterOneQuestion)
{
    keep({"/clips/a.mpg", "/clips/b.mpg", "/clips/c.mpg", "/clips/d.mpg"});
    open();
    ASSERT_EQ(list()->topLevelItemCount(), 4);
    const auto clickRow = [this](int row, Qt::KeyboardModifiers keys) {
        const QRect place = list()->visualItemRect(list()->topLevelItem(row));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, keys, place.center());
    };
    clickRow(0, Qt::NoModifier);
    clickRow(2, Qt::ControlModifier);
    EXPECT_EQ(list()->selectedItems().size(), 2);

    prompts->answers = {PromptAnswer::No};
    QTest::keyClick(list(), Qt::Key_Delete);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, "Delete the 2 selected tasks?");
    EXPECT_EQ(list()->topLevelItemCount(), 4);

    clickRow(1, Qt::NoModifier);
    clickRow(2, Qt::ShiftModifier);
    QTest::keyClick(list(), Qt::Key_Delete);  // answered Yes
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(cell(0, 0), "/clips/a.mpg");
    EXPECT_EQ(tasks->at(1).sources, std::vector<std::string>{"/clips/d.mpg"});
    EXPECT_EQ(keptStatuses().size(), 2u);
    EXPECT_EQ(list()->selectedItems().size(), 1);

    // One row alone goes without a question, as before.
    prompts->shown.clear();
    click(MainWindow::DelId);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_EQ(list()->topLevelItemCount(), 1);

    keep({"/clips/a.mpg", "/clips/b.mpg", "/clips/c.mpg"});
    open();
    click(MainWindow::ExecuteId);
    control->raiseDone();
    click(MainWindow::ExecuteId);  // "Stop conversion?" answered Yes: the second task stays waiting
    prompts->shown.clear();
    chooseTool(MainWindow::RemoveFinishedCommand);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, "Remove the finished task from the list?");
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(cell(0, 0), "/clips/b.mpg");
    EXPECT_EQ(keptStatuses(), (std::vector<std::string>{"Waiting", "Waiting"}));

    prompts->answers = {PromptAnswer::No};
    chooseTool(MainWindow::RemoveAllCommand);
    EXPECT_EQ(list()->topLevelItemCount(), 2);
    chooseTool(MainWindow::RemoveAllCommand);
    EXPECT_EQ(prompts->shown.back().text, "Remove every task from the list (2 tasks)?");
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_TRUE(keptStatuses().empty());
    EXPECT_FALSE(byId(MainWindow::DelId)->isEnabled());
    EXPECT_FALSE(byId(MainWindow::EditId)->isEnabled());
}

// Delete and Edit wait for a row; the hint to press "Add" is only for a list that starts empty.
TEST_F(MainWindowTaskListTest, RowCommandsNeedARowAndARestoredListSaysSoInsteadOfTheHint)
{
    open();
    EXPECT_EQ(log()->Line(0), "Press \"Add\" button to start...");
    EXPECT_FALSE(byId(MainWindow::DelId)->isEnabled());
    EXPECT_FALSE(byId(MainWindow::EditId)->isEnabled());
    addWithOutput("/clips/a.mpg", folder.filePath("a.avi"));
    EXPECT_TRUE(byId(MainWindow::DelId)->isEnabled());
    EXPECT_TRUE(byId(MainWindow::EditId)->isEnabled());

    keep({"/clips/a.mpg", "/clips/b.mpg"});
    open();
    EXPECT_EQ(log()->Line(0), "2 tasks kept from the last time");
    EXPECT_EQ(log()->LineCount(), 1);
    EXPECT_TRUE(byId(MainWindow::DelId)->isEnabled());
}

// Opening a list while tasks are shown asks whether to add the file's tasks or replace the
// list, so a list saved earlier can be opened again over its own tasks.
TEST_F(MainWindowTaskListTest, OpenedListIsAddedOrReplacesTheCurrentOneAndSaveAndOpenAreLogged)
{
    keep({"/clips/a.mpg", "/clips/b.mpg"});
    open();
    const QString saved = folder.filePath("monday.json");
    prompts->saveFiles.push_back(saved);
    chooseTool(MainWindow::SaveTaskListCommand);
    EXPECT_EQ(lastLogLine(), "Task list saved to " + saved);
    list()->setCurrentItem(list()->topLevelItem(1));
    click(MainWindow::DelId);
    ASSERT_EQ(list()->topLevelItemCount(), 1);

    // Cancelled: No to adding, No to replacing.
    prompts->files.push_back(saved);
    prompts->answers = {PromptAnswer::No, PromptAnswer::No};
    chooseTool(MainWindow::OpenTaskListCommand);
    ASSERT_EQ(prompts->shown.size(), 2u);
    EXPECT_EQ(prompts->shown[0].text, "Add the tasks of " + saved +
                                          " after the 1 task in the list?\nNo offers to replace the list instead.");
    EXPECT_EQ(prompts->shown[1].text, "Replace the 1 task in the list with the tasks of " + saved + "?");
    EXPECT_EQ(list()->topLevelItemCount(), 1);

    // Replaced: the saved list is back as it was saved.
    prompts->shown.clear();
    prompts->files.push_back(saved);
    prompts->answers = {PromptAnswer::No, PromptAnswer::Yes};
    chooseTool(MainWindow::OpenTaskListCommand);
    EXPECT_EQ(prompts->shown.size(), 2u);
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(cell(0, 0), "/clips/a.mpg");
    EXPECT_EQ(cell(1, 0), "/clips/b.mpg");
    EXPECT_EQ(keptStatuses(), (std::vector<std::string>{"Waiting", "Waiting"}));
    EXPECT_EQ(lastLogLine(), "Task list opened from " + saved + ": 2 tasks");
}

// The window opens where it was closed, on a screen even when the kept place is off every
// screen now; its skin keeps its size when the window manager maximises it.
TEST_F(MainWindowTaskListTest, WindowOpensWhereItWasClosedAndAlwaysOnAScreen)
{
    open();
    const QRect screen = window->screen()->availableGeometry();
    const QSize skin = window->size();
    window->move(screen.topLeft() + QPoint(40, 30));
    window->close();
    open();
    EXPECT_EQ(window->pos(), screen.topLeft() + QPoint(40, 30));

    Registry::instance().setValue(Registry::Root::CurrentUser, "Software\\Marvane\\Settings", "WindowPlace",
                                  "5000,4000");
    open();
    EXPECT_EQ(QRect(window->pos(), window->size()).bottomRight(), screen.bottomRight());

    window->showMaximized();
    QTest::qWait(20);
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), skin);
}

// Every way of closing during a run asks first: No keeps the run; Yes stops it once and releases
// every settings record. A termination request stops it without asking.
TEST_F(MainWindowTaskListTest, ClosingDuringARunAsksFirstNoKeepsTheRunAndYesStopsIt)
{
    keep({"/clips/a.mpg", "/clips/b.mpg"});
    open();
    // Idle: Escape closes at once.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompts->shown.empty());

    struct Way {
        const char* what;
        std::function<void()> close;
    };
    const std::vector<Way> ways = {
        {"Escape", [this] { QTest::keyClick(window.get(), Qt::Key_Escape); }},
        {"Enter", [this] { QTest::keyClick(window.get(), Qt::Key_Return); }},
        {"Exit", [this] { click(MainWindow::ExitId); }},
        {"window menu's Close", [this] {
             for (QAction* action : window->findChild<QMenu*>("systemMenu")->actions())
                 if (action->data().toInt() == MainWindow::CloseSystemCommand)
                     action->trigger();
         }},
        {"close box", [this] {
             QCloseEvent fromWindowManager;
             QSpontaneKeyEvent::setSpontaneous(&fromWindowManager);
             QCoreApplication::instance()->notify(window.get(), &fromWindowManager);
         }},
        {"termination request", [this] { window->close(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        const bool asks = std::string(way.what) != "termination request";
        open();
        click(MainWindow::ExecuteId);
        if (asks) {
            prompts->answers = {PromptAnswer::No};
            way.close();
            ASSERT_EQ(prompts->shown.size(), 1u);
            EXPECT_EQ(prompts->shown[0].text, "Stop conversion?");
            EXPECT_EQ(prompts->shown[0].buttons, PromptButtons::YesNo);
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(control->callsStartingWith("Stop").empty());
            prompts->shown.clear();
        }
        prompts->answers = {PromptAnswer::Yes};
        way.close();
        EXPECT_EQ(prompts->shown.size(), asks ? 1u : 0u);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(control->callsStartingWith("Stop").size(), 1u);
        EXPECT_EQ(tasks->at(0).settings, nullptr);
        EXPECT_EQ(tasks->at(1).settings, nullptr);
        prompts->shown.clear();
    }
}

}  // namespace
