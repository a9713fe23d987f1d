// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "dialogs/TemplateBuilder.h"
#include "editor/TaskEditorDialog.h"
#include "engine/CDudidEvar.h"
#include "skin/CSkinButton.h"
#include "tasks/TaskList.h"

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A task editor on a scripted control and scripted prompts, with a folder for output files.
class EditorFixture : public ::testing::Test {
protected:
    EditorFixture()
    {
        ScriptedControl::Script script;
        script.videoCompressors = {"Cinepak", "DivX 5", "Xvid"};
        script.audioCompressors = {"PCM", "MPEG Layer-3"};
        script.wmvProfiles = {"Video 56", "Audio 32", "Video 768"};
        auto scripted = std::make_unique<ScriptedControl>(script);
        scripted_ = scripted.get();
        control_.Attach(std::move(scripted));
    }

    std::string dir() const { return folder_.path().toStdString() + "/"; }

    // A dialog for a new task from that first source, opened.
    std::unique_ptr<TaskEditorDialog> openNew(const std::string& firstSource)
    {
        auto dialog = std::make_unique<TaskEditorDialog>(control_, tasks_);
        dialog->SetFirstSource(firstSource);
        dialog->show();
        return dialog;
    }

    std::unique_ptr<TaskEditorDialog> openEdit(std::size_t index)
    {
        auto dialog = std::make_unique<TaskEditorDialog>(control_, tasks_);
        EXPECT_TRUE(dialog->LoadTask(index));
        dialog->show();
        return dialog;
    }

    template <typename T>
    static T* in(const QWidget* owner, int id)
    {
        T* control = TemplateBuilder::control<T>(owner, id);
        EXPECT_NE(control, nullptr) << "no control " << id;
        return control;
    }

    static QLineEdit* output(const TaskEditorDialog& d) { return in<QLineEdit>(&d, 1060); }
    static QTreeWidget* sources(const TaskEditorDialog& d) { return in<QTreeWidget>(&d, 1056); }
    static QCheckBox* split(const TaskEditorDialog& d) { return in<QCheckBox>(&d, 1062); }
    static QComboBox* intervals(const TaskEditorDialog& d) { return in<QComboBox>(&d, 1100); }
    static void click(const TaskEditorDialog& d, int id) { in<CSkinButton>(&d, id)->click(); }
    static void pickKind(const TaskEditorDialog& d, OutputKind kind) { click(d, OutputKinds::buttonId(kind)); }

    // OK pressed; true when the dialog ended with OK.
    static bool pressOk(TaskEditorDialog& d)
    {
        click(d, 1);
        return d.result() == QDialog::Accepted && !d.isVisible();
    }

    static std::vector<QString> rowTexts(const TaskEditorDialog& d)
    {
        std::vector<QString> texts;
        for (int i = 0; i < sources(d)->topLevelItemCount(); ++i)
            texts.push_back(sources(d)->topLevelItem(i)->text(0));
        return texts;
    }

    static int selectedRow(const TaskEditorDialog& d)
    {
        const auto selected = sources(d)->selectedItems();
        return selected.size() == 1 ? sources(d)->indexOfTopLevelItem(selected.front()) : -1;
    }

    QTemporaryDir folder_;
    ScopedPrompts prompts_;
    CDudidEvar control_;
    ScriptedControl* scripted_ = nullptr;
    TaskList tasks_;
};
