// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtPrompts.h"

#include <QDir>
#include <QFileInfo>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/FileFilter.h"

namespace {

QMessageBox::Icon toQtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Exclamation: return QMessageBox::Warning;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

PromptAnswer fromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    case QMessageBox::Cancel: return PromptAnswer::Cancel;
    default: return PromptAnswer::Ok;
    }
}

}  // namespace

PromptAnswer QtPrompts::messageBox(QWidget* owner, const QString& caption, const QString& text,
                                   PromptIcon icon, PromptButtons buttons)
{
    QMessageBox box(toQtIcon(icon), caption, text, toQtButtons(buttons), owner);
    return fromQtButton(box.exec());
}

QString QtPrompts::startFolder() const
{
    return folder_.isEmpty() ? QDir::homePath() : folder_;
}

void QtPrompts::remember(const QString& folder)
{
    if (!folder.isEmpty())
        folder_ = folder;
}

std::optional<QString> QtPrompts::openFile(QWidget* owner, const QString& filter)
{
    const QString path = QFileDialog::getOpenFileName(owner, QString(), startFolder(), FileFilter::toQt(filter));
    if (path.isEmpty())
        return std::nullopt;
    remember(QFileInfo(path).absolutePath());
    return path;
}

QStringList QtPrompts::openFiles(QWidget* owner, const QString& filter)
{
    const QStringList paths = QFileDialog::getOpenFileNames(owner, QString(), startFolder(), FileFilter::toQt(filter));
    if (!paths.isEmpty())
        remember(QFileInfo(paths.front()).absolutePath());
    return paths;
}

std::optional<QString> QtPrompts::saveFile(QWidget* owner, const QString& filter)
{
    const QString path = QFileDialog::getSaveFileName(owner, QString(), startFolder(), FileFilter::toQt(filter));
    if (path.isEmpty())
        return std::nullopt;
    remember(QFileInfo(path).absolutePath());
    return path;
}

std::optional<QString> QtPrompts::pickFolder(QWidget* owner, const QString& title)
{
    const QString path = QFileDialog::getExistingDirectory(owner, title, startFolder());
    if (path.isEmpty())
        return std::nullopt;
    remember(path);
    return path;
}

void QtPrompts::beep()
{
    QApplication::beep();
}
