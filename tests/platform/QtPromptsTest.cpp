// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

#include "platform/QtPrompts.h"

namespace {

// The file dialog shown, found among the windows whether or not it has been activated.
QFileDialog* shownFileDialog()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(window); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Answers the next file dialog with `answer` once it is shown, noting the folder it opened in.
// Whatever else is shown instead is a failure, and every dialog is closed after 10 s so the
// test ends.
void whenADialogShows(QString* openedIn, const std::function<void(QFileDialog&)>& answer)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, openedIn, answer] {
        QFileDialog* dialog = shownFileDialog();
        if (!dialog && ++*tries < 500)
            return;
        poll->stop();
        poll->deleteLater();
        if (!dialog) {
            ADD_FAILURE() << "no file dialog of Qt's own appeared";
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* shown = qobject_cast<QDialog*>(window); shown && shown->isVisible())
                    shown->reject();
            }
            return;
        }
        *openedIn = QDir(dialog->directory()).absolutePath();
        answer(*dialog);
    });
    poll->start(20);
}

}  // namespace

// The program runs in its own folder; its file dialogs open in the home folder, then where the
// user last picked a file. Disabled: in about one full run in three it hangs before its first
// timer fires (inside the dialog's own start), which a test cannot end from the inside.
TEST(QtPromptsTest, DISABLED_FileDialogsOpenAtHomeThenWhereTheLastPickWas)
{
    QTemporaryDir home;
    QTemporaryDir programFolder;
    QTemporaryDir picked;
    const QByteArray oldHome = qgetenv("HOME");
    const QString oldCurrent = QDir::currentPath();
    qputenv("HOME", home.path().toLocal8Bit());
    QDir::setCurrent(programFolder.path());

    QtPrompts prompts;
    QString openedIn;
    whenADialogShows(&openedIn, [&](QFileDialog& dialog) {
        dialog.setDirectory(picked.path());
        dialog.selectFile(picked.filePath("monday.json"));
        static_cast<QDialog&>(dialog).accept();
    });
    const std::optional<QString> saved = prompts.saveFile(nullptr, "Task lists (*.json)|*.json||");
    EXPECT_EQ(openedIn.toStdString(), QDir(home.path()).absolutePath().toStdString());
    ASSERT_TRUE(saved.has_value());

    whenADialogShows(&openedIn, [](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(prompts.openFile(nullptr, "Task lists (*.json)|*.json||").has_value());
    EXPECT_EQ(openedIn.toStdString(), QDir(picked.path()).absolutePath().toStdString());

    QDir::setCurrent(oldCurrent);
    qputenv("HOME", oldHome);
}
