// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "editor/TaskEditorDialog.h"
#include "engine/ControlClassRegistry.h"
#include "mainwnd/LogList.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "skin/CHoverButton.h"
#include "skin/CSkinButton.h"

// A main window on a scripted control (three clips of 150, 20 and 30 s) and scripted prompts,
// with the ways a user reaches its buttons, menus, rows and the task editor.
class ScriptedWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ControlClassRegistry::instance().registerClass(kDudidEvarClassId, [this](QWidget*) {
            ScriptedControl::Script script;
            script.durations = {{"/clips/a.mpg", 150.0}, {"/clips/b.mpg", 20.0}, {"/clips/c.mpg", 30.0}};
            script.videoCompressors = {"Cinepak", "DivX 5"};
            script.audioCompressors = {"PCM", "MPEG Layer-3"};
            script.wmvProfiles = {"Video 56"};
            auto made = std::make_unique<ScriptedControl>(script);
            control = made.get();
            return made;
        });
        InstallDir::set("");
    }
    void TearDown() override
    {
        window.reset();
        ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
        CHoverButton::InstallMenuRunner({});
    }

    template <typename T = QWidget>
    T* byId(int id) const { return window->findChild<T*>(QString::number(id)); }
    void click(int id) const { byId<CHoverButton>(id)->click(); }
    QTreeWidget* list() const { return byId<QTreeWidget>(MainWindow::TaskListId); }
    LogList* log() const { return byId<LogList>(MainWindow::LogListId); }
    QString cell(int row, int column) const
    {
        const QTreeWidgetItem* item = list()->topLevelItem(row);
        return item ? item->text(column) : QString();
    }
    // The last n log lines joined by '|'.
    QString lastLogLines(int n) const
    {
        QStringList lines;
        for (int i = log()->LineCount() - n; i < log()->LineCount(); ++i)
            lines << log()->Line(i);
        return lines.join('|');
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
    void chooseTool(int command)
    {
        chooseFromMenu(command);
        click(MainWindow::ToolsId);
        QCoreApplication::processEvents();
    }

    // The editor that the next command opens is handled by `handle`.
    static void onEditor(std::function<void(TaskEditorDialog&)> handle)
    {
        QTimer::singleShot(0, [handle] {
            auto* editor = qobject_cast<TaskEditorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            handle(*editor);
        });
    }
    // OK pressed; an editor that refuses it is closed, so the test goes on.
    static void pressOk(TaskEditorDialog& editor)
    {
        editor.findChild<CSkinButton*>("1")->click();
        if (editor.isVisible()) {
            ADD_FAILURE() << "the editor refused OK";
            editor.reject();
        }
    }
    // Add with this source; the editor takes the output path and OK.
    void addWithOutput(const QString& source, const QString& output)
    {
        prompts->files.push_back(source);
        onEditor([output](TaskEditorDialog& editor) {
            editor.findChild<QLineEdit*>("1060")->setText(output);
            pressOk(editor);
        });
        click(MainWindow::AddId);
    }

    QTemporaryDir folder;
    ScopedPrompts prompts;
    ScriptedControl* control = nullptr;
    std::unique_ptr<MainWindow> window;
};
