#include "tasks/TaskListStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

TaskListStore::TaskListStore(QString path) : path_(std::move(path)) {}

QString TaskListStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/task-list.json");
}

std::string TaskListStore::restore(TaskList& tasks)
{
    if (!QFileInfo::exists(path_))
        return {};
    std::vector<ConversionTask> kept;
    std::string error;
    if (!TaskListFile::load(path_, &kept, &error)) {
        const QString aside = setAside();
        if (aside.isEmpty())
            return "The kept task list could not be read (" + error + ") nor set aside; starting with an empty list.";
        return "The kept task list could not be read (" + error + "); it was set aside as " + aside.toStdString() +
               ". Starting with an empty list.";
    }
    for (ConversionTask& task : kept)
        tasks.appendTask(std::move(task));
    return {};
}

// Renames the unreadable file so that the next write does not replace it; the new name, or
// empty when it could not be renamed.
QString TaskListStore::setAside()
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path_ + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(aside) && n < 100; ++n)
        aside = path_ + QStringLiteral(".unreadable-") + stamp + QStringLiteral("-") + QString::number(n);
    return QFile::rename(path_, aside) ? aside : QString();
}

bool TaskListStore::keep(const TaskList& tasks, std::string* error)
{
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = "cannot make the folder " + folder.toStdString();
        return false;
    }
    return TaskListFile::save(tasks, path_, error);
}
