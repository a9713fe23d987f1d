// Video files dropped on the main window: a new task through the editor, as Add makes one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "FileDrop.h"
#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "editor/TaskEditorDialog.h"
#include "engine/ControlClassRegistry.h"
#include "mainwnd/LogList.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "skin/CHoverButton.h"
#include "skin/CSkinButton.h"
#include "tasks/TaskList.h"

namespace {

class MainWindowDropsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ControlClassRegistry::instance().registerClass(kDudidEvarClassId, [this](QWidget*) {
            ScriptedControl::Script script;
            script.videoCompressors = {"Cinepak"};
            script.audioCompressors = {"PCM"};
            script.wmvProfiles = {"Video 56"};
            auto made = std::make_unique<ScriptedControl>(script);
            control = made.get();
            return made;
        });
        InstallDir::set("");
        window = std::make_unique<MainWindow>(tasks);
        ASSERT_TRUE(window->Create());
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
    }

    QString file(const QString& name) const
    {
        const QString path = folder.filePath(name);
        QFile made(path);
        EXPECT_TRUE(made.open(QIODevice::WriteOnly));
        return path;
    }
    QTreeWidget* list() const { return window->findChild<QTreeWidget*>(QString::number(MainWindow::TaskListId)); }
    LogList* log() const { return window->findChild<LogList*>(QString::number(MainWindow::LogListId)); }

    // Drops the files; the editor that opens shows its sources and split box, then takes OK.
    void dropAndPressOk(const QStringList& paths)
    {
        ASSERT_TRUE(dropFiles(*window, paths));
        QTimer::singleShot(0, [this] {
            auto* editor = qobject_cast<TaskEditorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            const auto* sources = editor->findChild<QTreeWidget*>("1056");
            for (int row = 0; row < sources->topLevelItemCount(); ++row)
                editorSources << sources->topLevelItem(row)->text(0);
            splitEnabled = editor->findChild<QCheckBox*>("1062")->isEnabled();
            editor->findChild<CSkinButton*>("1")->click();
            if (editor->isVisible()) {
                ADD_FAILURE() << "the editor refused OK";
                editor->reject();
            }
        });
        QApplication::processEvents();
    }
    // Any dialog that opens is a failure, and is closed so the test goes on.
    static void expectNoDialog()
    {
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a dialog opened";
                static_cast<QDialog*>(dialog)->reject();
            }
        });
        QApplication::processEvents();
    }

    QTemporaryDir folder;
    ScopedPrompts prompts;
    TaskList tasks;
    ScriptedControl* control = nullptr;
    std::unique_ptr<MainWindow> window;
    QStringList editorSources;
    bool splitEnabled = false;
};

TEST_F(MainWindowDropsTest, OneVideoOpensTheEditorAsAddDoesAndOkAddsTheRow)
{
    const QString clip = file("holiday.MPG");
    dropAndPressOk({clip});
    EXPECT_EQ(editorSources, QStringList{clip});
    EXPECT_TRUE(splitEnabled);
    ASSERT_EQ(list()->topLevelItemCount(), 1);
    EXPECT_EQ(list()->topLevelItem(0)->text(0), clip);
    EXPECT_EQ(list()->topLevelItem(0)->text(3), folder.filePath("holiday.avi"));
    EXPECT_TRUE(list()->topLevelItem(0)->isSelected());
    EXPECT_TRUE(window->findChild<QWidget*>(QString::number(MainWindow::ExecuteId))->isEnabled());
}

TEST_F(MainWindowDropsTest, SeveralVideosMakeOneJoinedTaskInDropOrderAndOtherFilesAreLogged)
{
    const QString b = file("b.mkv");
    const QString notes = file("notes.txt");
    const QString a = file("a.avi");
    const QString c = file("c.Mp4");
    dropAndPressOk({b, notes, a, c});
    EXPECT_EQ(editorSources, QStringList({b, a, c}));
    EXPECT_FALSE(splitEnabled);
    EXPECT_EQ(log()->Line(log()->LineCount() - 1), "Not a video file, ignored: " + notes);
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(tasks.at(0).sources, (std::vector<std::string>{b.toStdString(), a.toStdString(), c.toStdString()}));
    EXPECT_EQ(list()->topLevelItemCount(), 1);

    // Nothing but other files: only the log lines.
    const int lines = log()->LineCount();
    EXPECT_TRUE(dropFiles(*window, {notes, folder.filePath("gone.avi")}));
    expectNoDialog();
    EXPECT_EQ(log()->LineCount(), lines + 2);
    EXPECT_EQ(tasks.size(), 1u);
}

TEST_F(MainWindowDropsTest, DropsAreRefusedDuringARun)
{
    const QString clip = file("a.avi");
    dropAndPressOk({clip});
    window->findChild<CHoverButton*>(QString::number(MainWindow::ExecuteId))->click();
    const int lines = log()->LineCount();
    EXPECT_FALSE(dropFiles(*window, {clip, file("notes.txt")}));
    expectNoDialog();
    EXPECT_EQ(tasks.size(), 1u);
    EXPECT_EQ(log()->LineCount(), lines);

    control->raiseDone();  // the run ends: drops are taken again
    EXPECT_TRUE(dropFiles(*window, {clip}));
    QTimer::singleShot(0, [] {
        auto* editor = qobject_cast<TaskEditorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        editor->reject();
    });
    QApplication::processEvents();
}

}  // namespace
