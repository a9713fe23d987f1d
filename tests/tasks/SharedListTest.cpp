// SPDX-License-Identifier: GPL-3.0-or-later
// A list file that several programs read and write: members kept, files refused, claims,
// outputs that meet.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include "tasks/ListOutputCheck.h"
#include "tasks/SharedListFile.h"
#include "tasks/TaskClaim.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"
#include "tasks/TaskListStore.h"

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TaskList twoTasks()
{
    TaskList list;
    list.append({"/v/a.mpg"}, "/out/a.mpg", "To VCD");
    list.append({"/v/b.mpg"}, "/out/b.mpg", "To VCD");
    return list;
}

TEST(SharedListFile, KeepsMembersItDoesNotUseThroughEveryRewrite)
{
    QJsonObject root = QJsonDocument::fromJson(TaskListFile::toJson(twoTasks())).object();
    root["comment"] = "night batch";
    QJsonObject task = root["tasks"].toArray()[1].toObject();
    task["note"] = QJsonObject{{"by", "ops"}};
    QJsonObject settings = task["settings"].toObject();
    settings["tint"] = 3;
    task["settings"] = settings;
    QJsonArray tasks = root["tasks"].toArray();
    tasks[1] = task;
    root["tasks"] = tasks;
    QTemporaryDir folder;
    const QString path = folder.filePath("list.json");
    write(path, QJsonDocument(root).toJson());

    std::string error;
    const SharedListFile file(path);
    ASSERT_TRUE(file.update([](TaskList& list) { return list.markDone(1), true; }, &error)) << error;
    TaskList read;
    ASSERT_TRUE(TaskListFile::load(path, &read, &error)) << error;
    EXPECT_EQ(read.keptMembers().value("comment").toString(), "night batch");
    EXPECT_EQ(read.at(1).kept.value("note").toObject().value("by").toString(), "ops");
    EXPECT_EQ(read.at(1).kept.value("settings").toObject().value("tint").toInt(), 3);
    EXPECT_EQ(read.at(1).status, TaskStatus::Done);
    EXPECT_FALSE(read.at(0).kept.contains("note"));
    // An edited task keeps its note; the known members say what the task now is.
    read.updateInPlace(1, {"/v/c.mpg"}, "/out/c.mpg", "To VCD");
    const QJsonObject written = QJsonDocument::fromJson(TaskListFile::toJson(read)).object()["tasks"][1].toObject();
    EXPECT_EQ(written["output"].toString(), "/out/c.mpg");
    EXPECT_EQ(written["note"].toObject().value("by").toString(), "ops");
}

TEST(SharedListFile, FindsATaskByWhatItIsWhereverItStands)
{
    TaskList list = twoTasks();
    const QByteArray first = TaskListFile::identity(list.at(0));
    list.markDone(0);
    list.at(0).description = "renamed";
    EXPECT_EQ(TaskListFile::identity(list.at(0)), first);
    TaskList reordered;
    ConversionTask a = std::move(list.at(0));
    ConversionTask b = std::move(list.at(1));
    reordered.appendTask(std::move(b));
    reordered.appendTask(std::move(a));
    EXPECT_EQ(SharedListFile::find(reordered, first), 1u);
    // The same sources and output with another setting are another task.
    reordered.at(1).settings->videoBitRate = 1150;
    EXPECT_EQ(SharedListFile::find(reordered, first), std::nullopt);
}

// The window's writes of its kept list keep what a run of that list wrote there meanwhile.
TEST(TaskListStore, KeepsStatusesAndClaimsARunWroteMeanwhile)
{
    QTemporaryDir folder;
    TaskListStore store(folder.filePath("data/task-list.json"));
    TaskList window = twoTasks();
    window.append({"/v/c.mpg"}, "/out/c.mpg", "To VCD");
    std::string error;
    ASSERT_TRUE(store.keep(window, &error)) << error;

    // A run finishes task 1 and claims task 2; the window fails task 3 and adds task 4.
    const SharedListFile file(store.path());
    ASSERT_TRUE(file.update(
        [](TaskList& list) {
            list.markDone(0);
            TaskClaim("far-host", 7).take(list.at(1), QDateTime::currentDateTimeUtc());
            list.markDone(2);
            return true;
        },
        &error))
        << error;
    window.markFailed(2);
    window.append({"/v/d.mpg"}, "/out/d.mpg", "To VCD");
    std::vector<TaskListStore::Outcome> outcomes;
    store.onWritten([&](const TaskListStore::Outcome& outcome) { outcomes.push_back(outcome); });
    store.keepLater(window);
    store.keepLater(window);
    store.flush();

    ASSERT_EQ(outcomes.size(), 1u);
    ASSERT_EQ(outcomes[0].adopted.size(), 1u);
    EXPECT_EQ(outcomes[0].adopted[0].identity, TaskListFile::identity(window.at(0)));
    EXPECT_EQ(outcomes[0].adopted[0].is, TaskStatus::Done);
    TaskList kept;
    ASSERT_TRUE(TaskListFile::load(store.path(), &kept, &error)) << error;
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept.at(0).status, TaskStatus::Done);
    EXPECT_TRUE(kept.at(1).kept.contains("claim"));
    EXPECT_EQ(kept.at(2).status, TaskStatus::Failed);
    EXPECT_EQ(kept.at(3).outputPath, "/out/d.mpg");
}

TEST(TaskListFile, ReadsOnlyARegularFileOfABoundedSize)
{
    QTemporaryDir folder;
    std::vector<ConversionTask> read;
    std::string error;
    const QString fifo = folder.filePath("fifo.json");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(TaskListFile::load(fifo, &read, &error));
    EXPECT_EQ(error, fifo.toStdString() + " is not a regular file");
    EXPECT_FALSE(TaskListFile::load("/dev/zero", &read, &error));
    EXPECT_EQ(error, "/dev/zero is not a regular file");
    const QString link = folder.filePath("link.json");
    ASSERT_TRUE(QFile::link(fifo, link));
    EXPECT_FALSE(TaskListFile::load(link, &read, &error));
    EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;

    const QString big = folder.filePath("big.json");
    write(big, "{}");
    ASSERT_EQ(::truncate(big.toLocal8Bit().constData(), TaskListFile::kMaxBytes + 1), 0);
    EXPECT_FALSE(TaskListFile::load(big, &read, &error));
    EXPECT_NE(error.find("larger than a task list may be (256 MB)"), std::string::npos) << error;
}

TEST(TaskClaim, HeldUntilItsProcessIsGoneOrItIsOldFromAnotherHost)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const TaskClaim me = TaskClaim::ofThisProcess();
    const TaskClaim parent(QSysInfo::machineHostName(), ::getppid());
    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForFinished());
    const TaskClaim gone(QSysInfo::machineHostName(), ended.processId());
    const TaskClaim remote("far-host", 1);

    TaskList list = twoTasks();
    ConversionTask& task = list.at(0);
    EXPECT_FALSE(me.heldByOther(task, now));
    parent.take(task, now);
    EXPECT_TRUE(me.heldByOther(task, now));
    EXPECT_FALSE(parent.heldByOther(task, now));
    gone.take(task, now);
    EXPECT_FALSE(me.heldByOther(task, now));
    remote.take(task, now.addSecs(-3600));
    EXPECT_TRUE(me.heldByOther(task, now));
    remote.take(task, now.addSecs(-qint64(TaskClaim::kOtherHostHours) * 3600 - 1));
    EXPECT_FALSE(me.heldByOther(task, now));
    me.take(task, now);
    EXPECT_TRUE(me.heldByMe(task));
    TaskClaim::release(task);
    EXPECT_FALSE(task.kept.contains("claim"));
}

TEST(ListOutputCheck, FindsTasksThatWriteOneFileOrTheListItself)
{
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    TaskList list;
    list.append({"/v/a.mpg"}, dir + "/o.mpg", "To VCD");
    list.append({"/v/b.mpg"}, dir + "/p.mpg", "To VCD");
    EXPECT_EQ(ListOutputCheck::clash(list), "");
    list.append({"/v/c.mpg"}, dir + "/sub/../o.mpg", "To VCD");
    EXPECT_EQ(ListOutputCheck::clash(list), "Task 3 would write " + dir + "/sub/../o.mpg, which task 1 writes.");
    list.removeAt(2);

    // A split task's second part is another task's output.
    list.at(1).settings->split = 1;
    list.append({"/v/c.mpg"}, dir + "/p_001.mpg", "To VCD");
    EXPECT_EQ(ListOutputCheck::clash(list),
              "Task 3 would write a file that task 2 writes (" + dir + "/p_001.mpg).");
    list.removeAt(2);

    // The list itself, by its name, through a link, or as a part.
    const std::string listPath = dir + "/list.json";
    write(QString::fromStdString(listPath), "{}");
    EXPECT_EQ(ListOutputCheck::writesList(list, listPath), "");
    ASSERT_TRUE(QFile::link(QString::fromStdString(listPath), QString::fromStdString(dir + "/link.mpg")));
    list.append({"/v/c.mpg"}, dir + "/link.mpg", "To VCD");
    EXPECT_EQ(ListOutputCheck::writesList(list, listPath),
              "Task 3 would write its output onto the task list itself (" + dir + "/link.mpg).");
    list.removeAt(2);
    const std::string partList = dir + "/p_002.mpg";
    write(QString::fromStdString(partList), "{}");
    EXPECT_EQ(ListOutputCheck::writesList(list, partList),
              "Task 2 would write a split part onto the task list itself (" + partList + ").");
}

}  // namespace
