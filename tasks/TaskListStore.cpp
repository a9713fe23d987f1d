// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskListStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "tasks/SharedListFile.h"
#include "tasks/TaskListFile.h"

namespace {

// A copy of the list that another thread may write while this one changes the original.
TaskList copyOf(const TaskList& tasks)
{
    TaskList copy;
    copy.setKeptMembers(tasks.keptMembers());
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const ConversionTask& task = tasks.at(i);
        copy.appendTask(ConversionTask{task.sources, task.outputPath, task.description, task.status,
                                       task.settings ? std::make_unique<TaskSettings>(*task.settings) : nullptr,
                                       task.soundTrack, task.subtitles, task.softSubtitles, task.kept});
    }
    return copy;
}

}  // namespace

TaskListStore::TaskListStore(QString path) : path_(std::move(path)) {}

TaskListStore::~TaskListStore()
{
    flush();
}

QString TaskListStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/task-list.json");
}

std::string TaskListStore::restore(TaskList& tasks)
{
    if (!QFileInfo::exists(path_))
        return {};
    std::vector<ConversionTask> kept;
    QJsonObject members;
    std::string error;
    if (!TaskListFile::load(path_, &kept, &error, &members)) {
        const QString aside = setAside();
        if (aside.isEmpty())
            return "The kept task list could not be read (" + error + ") nor set aside; starting with an empty list.";
        return "The kept task list could not be read (" + error + "); it was set aside as " + aside.toStdString() +
               ". Starting with an empty list.";
    }
    for (ConversionTask& task : kept)
        tasks.appendTask(std::move(task));
    tasks.setKeptMembers(std::move(members));
    last_ = KeptListMerge::statusesOf(tasks);
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

// Under the list's lock: the file as it is now merged into the tasks, which are then written
// (a missing file is made). A file that cannot be read is left as it is, with the reason.
bool TaskListStore::write(TaskList& tasks, KeptListMerge::Statuses& last, Outcome* outcome) const
{
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        return outcome->error = "cannot make the folder " + folder.toStdString(), false;
    return SharedListFile(path_).update(
        [&](TaskList& now) {
            outcome->adopted = KeptListMerge::merge(tasks, now, last);
            now = std::move(tasks);
            return true;
        },
        &outcome->error, true);
}

bool TaskListStore::keep(const TaskList& tasks, std::string* error)
{
    flush();
    TaskList copy = copyOf(tasks);
    Outcome outcome;
    const bool written = write(copy, last_, &outcome);
    *error = outcome.error;
    return written;
}

void TaskListStore::keepLater(const TaskList& tasks)
{
    if (worker_.joinable()) {
        pending_ = copyOf(tasks);
        return;
    }
    startWrite(copyOf(tasks));
}

void TaskListStore::startWrite(TaskList tasks)
{
    const unsigned serial = ++serial_;
    workerLast_ = last_;
    worker_ = std::thread([this, serial, list = std::move(tasks)]() mutable {
        Outcome outcome;
        write(list, workerLast_, &outcome);
        {
            const std::lock_guard<std::mutex> hold(mutex_);
            outcome_ = std::move(outcome);
        }
        QMetaObject::invokeMethod(&context_, [this, serial] { finishWrite(serial); }, Qt::QueuedConnection);
    });
}

// The write of that serial number ended: its outcome is reported and what changed meanwhile
// is written next.
void TaskListStore::finishWrite(unsigned serial)
{
    if (serial != serial_ || !worker_.joinable())
        return;
    worker_.join();
    last_ = workerLast_;
    Outcome outcome;
    {
        const std::lock_guard<std::mutex> hold(mutex_);
        outcome = std::move(outcome_);
    }
    if (pending_) {
        KeptListMerge::apply(*pending_, outcome.adopted);
        TaskList next = std::move(*pending_);
        pending_.reset();
        startWrite(std::move(next));
    }
    if (done_ && (!outcome.error.empty() || !outcome.adopted.empty()))
        done_(outcome);
}

void TaskListStore::flush()
{
    while (worker_.joinable())
        finishWrite(serial_);
}
