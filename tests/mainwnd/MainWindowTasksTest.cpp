// SPDX-License-Identifier: GPL-3.0-or-later
// The task list commands and the execution as the main window shows them, on a scripted control.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTest>

#include "FileDrop.h"
#include "ScriptedWindowFixture.h"
#include "tasks/TaskList.h"

class MainWindowTestPeer {
public:
    static int SelectedTask(const MainWindow& window) { return window.selection.row(); }
    static void SetNotify(MainWindow& window, std::function<void(const QString&, const QString&)> notify)
    {
        window.executionView.notify = std::move(notify);
    }
    static void SetClock(MainWindow& window, TimeLeftEstimate::Clock clock) { window.execution.setClock(std::move(clock)); }
};

namespace {

class MainWindowTasksTest : public ScriptedWindowFixture {
protected:
    void SetUp() override
    {
        ScriptedWindowFixture::SetUp();
        window = std::make_unique<MainWindow>(tasks);
        ASSERT_TRUE(window->Create());
        window->show();
    }

    int shownSelected() const
    {
        const auto picked = list()->selectedItems();
        return picked.size() == 1 ? list()->indexOfTopLevelItem(picked.front()) : -1;
    }

    void addTask(const std::string& source, bool split = false)
    {
        prompts->files.push_back(QString::fromStdString(source));
        const std::string output = QDir(folder.path()).filePath(QString("out%1.avi").arg(tasks.size())).toStdString();
        onEditor([output, split](TaskEditorDialog& editor) {
            editor.findChild<QLineEdit*>("1060")->setText(QString::fromStdString(output));
            editor.findChild<QCheckBox*>("1062")->setChecked(split);
            pressOk(editor);
        });
        click(MainWindow::AddId);
    }

    QString madeFile(const QString& name) const
    {
        const QString path = folder.filePath(name);
        QFile made(path);
        EXPECT_TRUE(made.open(QIODevice::WriteOnly));
        return path;
    }
    // Files dropped on the window; the editor that opens gives its sources and takes OK.
    QStringList dropAndPressOk(const QStringList& paths)
    {
        EXPECT_TRUE(dropFiles(*window, paths));
        QStringList shown;
        onEditor([&shown](TaskEditorDialog& editor) {
            const auto* rows = editor.findChild<QTreeWidget*>("1056");
            for (int row = 0; row < rows->topLevelItemCount(); ++row)
                shown << rows->topLevelItem(row)->text(0);
            pressOk(editor);
        });
        QApplication::processEvents();
        return shown;
    }
    // Any dialog that the action opens is a failure, and is closed so the test goes on.
    static void expectNoDialog(const std::function<void()>& act)
    {
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "a dialog opened";
                dialog->reject();
            }
        });
        act();
        QApplication::processEvents();
    }

    TaskList tasks;
};

TEST_F(MainWindowTasksTest, CancelledAddAddsNothingAndAddedRowsShowTheirTasksWithTheNewOneSelected)
{
    click(MainWindow::AddId);  // no file chosen
    prompts->files.push_back("/clips/a.mpg");
    onEditor([](TaskEditorDialog& editor) { editor.reject(); });
    click(MainWindow::AddId);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    EXPECT_TRUE(tasks.empty());
    EXPECT_FALSE(byId(MainWindow::ExecuteId)->isEnabled());
    EXPECT_FALSE(byId(MainWindow::OutputId)->isEnabled());

    addTask("/clips/a.mpg", true);
    addTask("/clips/b.mpg");
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(cell(0, 0), "/clips/a.mpg");
    EXPECT_EQ(cell(0, 1), "Waiting");
    EXPECT_EQ(cell(0, 2), "To AVI (Split every 30 minutes)");
    EXPECT_EQ(cell(1, 3), QDir(folder.path()).filePath("out1.avi"));
    EXPECT_EQ(shownSelected(), 1);
    EXPECT_EQ(MainWindowTestPeer::SelectedTask(*window), 1);
    EXPECT_TRUE(byId(MainWindow::ExecuteId)->isEnabled());
    EXPECT_TRUE(byId(MainWindow::OutputId)->isEnabled());
}

// The window shows the selection the keyboard, the mouse and a deletion leave; row commands on
// an empty list do nothing.
TEST_F(MainWindowTasksTest, SelectionFollowsKeysClicksAndDeletionAndAnEmptyListIgnoresRowCommands)
{
    addTask("/clips/a.mpg");
    addTask("/clips/b.mpg");
    addTask("/clips/c.mpg");
    click(MainWindow::DelId);  // the last of three
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(shownSelected(), 1);

    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Up);
    EXPECT_EQ(shownSelected(), 0);
    EXPECT_EQ(MainWindowTestPeer::SelectedTask(*window), 0);
    const QPoint belowRows(20, list()->viewport()->height() - 5);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, belowRows);
    EXPECT_EQ(shownSelected(), 0);
    const QPoint onRow1 = list()->visualItemRect(list()->topLevelItem(1)).center();
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, onRow1);
    EXPECT_EQ(shownSelected(), 1);
    click(MainWindow::DelId);
    EXPECT_EQ(tasks.at(0).sources.front(), "/clips/a.mpg");

    click(MainWindow::DelId);
    EXPECT_EQ(list()->topLevelItemCount(), 0);
    click(MainWindow::DelId);
    click(MainWindow::EditId);
    click(MainWindow::ExecuteId);
    click(MainWindow::OutputId);
    EXPECT_TRUE(control->callsStartingWith("Convert").empty());
    EXPECT_TRUE(control->callsStartingWith("Preview").empty());
    EXPECT_TRUE(prompts->shown.empty());
}

// Rows that look alike are told apart by their tooltips; the Delete key and a double click act on
// the selected row as the Delete and Edit buttons would, and not while those are disabled.
TEST_F(MainWindowTasksTest, RowsShowFullPathsAndTakeTheDeleteKeyAndADoubleClick)
{
    addTask("/clips/a.mpg");
    addTask("/clips/b.mpg");
    addTask("/clips/c.mpg");
    EXPECT_EQ(list()->topLevelItem(1)->toolTip(3), "Source: /clips/b.mpg\nOutput: " + QDir(folder.path()).filePath("out1.avi"));

    auto rowCentre = [this](int row) { return list()->visualItemRect(list()->topLevelItem(row)).center(); };
    // The events of a real double click: the second press comes with the double click.
    auto doubleClick = [this](QPoint at) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, at);
    };
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rowCentre(0));
    QTest::keyClick(list(), Qt::Key_Delete);
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(tasks.at(0).sources.front(), "/clips/b.mpg");
    EXPECT_EQ(shownSelected(), 0);  // the task that moved up

    std::string edited;
    onEditor([&edited](TaskEditorDialog& editor) {
        const auto* rows = editor.findChild<QTreeWidget*>("1056");
        edited = rows->topLevelItem(0)->text(0).toStdString();
        editor.reject();
    });
    doubleClick(rowCentre(1));
    EXPECT_EQ(edited, "/clips/c.mpg");

    click(MainWindow::ExecuteId);  // a run disables Delete and Edit
    QTest::keyClick(list(), Qt::Key_Delete);
    expectNoDialog([&] { doubleClick(rowCentre(0)); });
    EXPECT_EQ(tasks.size(), 2u);
}

TEST_F(MainWindowTasksTest, EditingADoneTaskMakesItWaitingAndCancellingChangesNothing)
{
    addTask("/clips/b.mpg");
    click(MainWindow::ExecuteId);
    control->raiseDone();
    ASSERT_EQ(cell(0, 1), "Done");

    onEditor([](TaskEditorDialog& editor) { editor.reject(); });
    click(MainWindow::EditId);
    EXPECT_EQ(cell(0, 1), "Done");
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Done);

    const QString output = QDir(folder.path()).filePath("edited.avi");
    onEditor([output](TaskEditorDialog& editor) {
        editor.findChild<QLineEdit*>("1060")->setText(output);
        pressOk(editor);
    });
    click(MainWindow::EditId);
    EXPECT_EQ(cell(0, 1), "Waiting");
    EXPECT_EQ(cell(0, 3), output);
    EXPECT_EQ(tasks.at(0).status, TaskStatus::Waiting);
}

TEST_F(MainWindowTasksTest, RunShowsItsProgressAndStopAsksFirst)
{
    addTask("/clips/b.mpg");
    click(MainWindow::ExecuteId);
    auto* execute = byId<CHoverButton>(MainWindow::ExecuteId);
    EXPECT_EQ(execute->toolTip(), "Stop");
    EXPECT_FALSE(byId(MainWindow::AddId)->isEnabled());
    EXPECT_FALSE(byId(MainWindow::ToolsId)->isEnabled());
    EXPECT_FALSE(byId(MainWindow::OutputId)->isEnabled());

    for (int i = 0; i < 6; ++i)
        control->raiseProgress(5.0, 20.0);
    EXPECT_EQ(cell(0, 1), "25.0% Finished");
    EXPECT_EQ(lastLogLines(2), "25.0% Finished|");
    auto* bar = byId<QProgressBar>(MainWindow::ProgressId);
    EXPECT_EQ(bar->value() * 4, bar->maximum());

    prompts->answers = {PromptAnswer::Yes};
    click(MainWindow::ExecuteId);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, "Stop conversion?");
    EXPECT_EQ(control->calls().back(), "Stop()");
    EXPECT_EQ(execute->toolTip(), "Execute all tasks");
    EXPECT_TRUE(byId(MainWindow::AddId)->isEnabled());
    EXPECT_EQ(cell(0, 1), "25.0% Finished");
}

TEST_F(MainWindowTasksTest, FailedStartIsReportedWithTheApplicationsName)
{
    addTask("/clips/b.mpg");
    control->script().convertResult = false;
    click(MainWindow::ExecuteId);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].caption, QCoreApplication::applicationName());
    EXPECT_EQ(lastLogLines(1), "The run is halted: press Stop to end it, or turn on Tools > Go on after a failed task.");
    EXPECT_EQ(byId(MainWindow::ExecuteId)->toolTip(), "Stop");
    EXPECT_FALSE(byId(MainWindow::AddId)->isEnabled());

    // Nothing converts any more: closing the halted run loses no work and does not ask.
    prompts->shown.clear();
    click(MainWindow::ExitId);
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTasksTest, PreviewShowsTheControlInPlaceOfTheLog)
{
    addTask("/clips/a.mpg");
    addTask("/clips/b.mpg");
    list()->setCurrentItem(list()->topLevelItem(0));
    click(MainWindow::OutputId);
    EXPECT_EQ(control->callsStartingWith("AddVideoClip"), std::vector<std::string>{"AddVideoClip(/clips/a.mpg, 0, 150, 0)"});
    EXPECT_TRUE(byId(MainWindow::VideoAreaId)->isVisible());
    EXPECT_TRUE(byId(MainWindow::ConversionControlId)->isVisible());
    EXPECT_FALSE(log()->isVisible());
    EXPECT_EQ(byId(MainWindow::OutputId)->toolTip(), "Stop");
    EXPECT_FALSE(byId(MainWindow::ExecuteId)->isEnabled());
    EXPECT_FALSE(byId(MainWindow::DelId)->isEnabled());

    control->raiseDone();
    EXPECT_FALSE(byId(MainWindow::VideoAreaId)->isVisible());
    EXPECT_TRUE(log()->isVisible());
    EXPECT_EQ(byId(MainWindow::OutputId)->toolTip(), "Preview output");
    EXPECT_TRUE(byId(MainWindow::ExecuteId)->isEnabled());

    control->script().previewResult = false;
    click(MainWindow::OutputId);
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, "Can not preview the output file.");
    EXPECT_TRUE(log()->isVisible());
}

TEST_F(MainWindowTasksTest, DroppedVideosMakeOneTaskInDropOrderOtherFilesAreLoggedAndRunsRefuseDrops)
{
    const QString one = madeFile("holiday.MPG");
    EXPECT_EQ(dropAndPressOk({one}), QStringList{one});
    EXPECT_EQ(cell(0, 0), one);
    EXPECT_EQ(cell(0, 3), folder.filePath("holiday_output.avi"));
    EXPECT_EQ(shownSelected(), 0);

    const QString b = madeFile("b.mkv");
    const QString notes = madeFile("notes.txt");
    const QString a = madeFile("a.avi");
    const QString c = madeFile("c.Mp4");
    EXPECT_EQ(dropAndPressOk({b, notes, a, c}), QStringList({b, a, c}));
    EXPECT_EQ(lastLogLines(1), "Not a video file, ignored: " + notes);
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(tasks.at(1).sources, (std::vector<std::string>{b.toStdString(), a.toStdString(), c.toStdString()}));
    EXPECT_EQ(list()->topLevelItemCount(), 2);

    // Nothing but other files: only the log lines.
    const QString gone = folder.filePath("gone.avi");
    expectNoDialog([&] { EXPECT_TRUE(dropFiles(*window, {notes, gone})); });
    EXPECT_EQ(lastLogLines(2), "Not a video file, ignored: " + notes + "|Not a video file, ignored: " + gone);

    click(MainWindow::ExecuteId);
    const int lines = log()->LineCount();
    expectNoDialog([&] { EXPECT_FALSE(dropFiles(*window, {a, notes})); });
    EXPECT_EQ(tasks.size(), 2u);
    EXPECT_EQ(log()->LineCount(), lines);
    control->raiseDone();
    control->raiseDone();  // the run has ended: drops are taken again
    EXPECT_TRUE(dropFiles(*window, {a}));
    onEditor([](TaskEditorDialog& editor) { editor.reject(); });
    QApplication::processEvents();
}

// Videos the program was started with (a file manager's "Open with") open the editor once the
// window runs, as a drop of them does; other files are logged.
TEST_F(MainWindowTasksTest, FilesGivenAtStartOpenTheEditorOnceTheWindowRuns)
{
    const QString notes = madeFile("notes.txt");
    const QString video = madeFile("talk.avi");
    window = std::make_unique<MainWindow>(tasks);
    window->OpenAtStart({notes, video});
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* editor = qobject_cast<TaskEditorDialog*>(QApplication::activeModalWidget());
        if (!editor)
            return;
        poll.stop();
        const auto* rows = editor->findChild<QTreeWidget*>("1056");
        for (int row = 0; row < rows->topLevelItemCount(); ++row)
            shown << rows->topLevelItem(row)->text(0);
        pressOk(*editor);
        QTimer::singleShot(0, window.get(), [this] { window->reject(); });
    });
    poll.start(10);
    QTimer::singleShot(10000, window.get(), [this] { window->reject(); });
    window->exec();
    EXPECT_EQ(shown, QStringList{video});
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(tasks.at(0).sources, std::vector<std::string>{video.toStdString()});
    EXPECT_NE(lastLogLines(3).indexOf("Not a video file, ignored: " + notes), -1) << lastLogLines(3).toStdString();
}

}  // namespace

// The title and the bar's tooltip tell the whole list's share and both times left, converting
// two source seconds a second here.
TEST_F(MainWindowTasksTest, TitleShowsTheWholeRunAndAMinimisedWindowIsToldHowTheBatchEnded)
{
    QStringList notices;
    MainWindowTestPeer::SetNotify(*window, [&](const QString& summary, const QString& body) {
        notices << summary + ": " + body;
    });
    double now = 0.0;
    MainWindowTestPeer::SetClock(*window, [&now] { return now; });
    addTask("/clips/b.mpg");
    addTask("/clips/c.mpg");
    click(MainWindow::ExecuteId);
    now = 5.0;
    control->raiseProgress(10.0, 20.0);
    EXPECT_EQ(window->windowTitle(), "Marvane");  // the lengths are measured on the next turns
    QApplication::processEvents();
    control->raiseProgress(10.0, 20.0);  // 10 of the batch's 50 s
    EXPECT_EQ(window->windowTitle(), "Marvane - 20% of the list, 20 s left (this task: 5 s left)");
    const QWidget* bar = byId(MainWindow::ProgressId);
    EXPECT_EQ(bar->toolTip(), "This task: 50% done, 5 s left\nWhole list: 20% done, 20 s left");
    control->raiseDone();
    window->showMinimized();
    control->raiseDone();
    EXPECT_EQ(window->windowTitle(), "Marvane");
    EXPECT_TRUE(bar->toolTip().isEmpty());
    EXPECT_EQ(notices, QStringList{"Marvane: 2 tasks done"});
}
