// SPDX-License-Identifier: GPL-3.0-or-later
// What a long kept list costs the main window, with the real control:
//   marvane-kept-list-bench FOLDER [TASKS...]
// For each count (1000 and 16000 when none is given) writes a kept list of that many tasks in
// FOLDER, then prints how long the window took to be created and shown with it (the restore),
// and how long one write of the list held the window's thread: the write made on that thread
// (as a status change did before) against the one handed to a thread of its own, with their
// ratio.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/ControlModule.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListStore.h"

namespace {

bool writeKeptList(const QString& path, int count)
{
    TaskList list;
    for (int i = 0; i < count; ++i) {
        const std::size_t index = list.append({"/clips/source" + std::to_string(i) + ".mpg"},
                                              "/out/task" + std::to_string(i) + ".avi", "To AVI");
        list.at(index).settings->format = OutputFormat::Avi;
    }
    std::string error;
    TaskListStore store(path);
    if (!store.keep(list, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

void measure(const QString& folder, int count)
{
    const QString path = QDir(folder).filePath(QString("kept-%1.json").arg(count));
    if (!writeKeptList(path, count))
        return;
    TaskList tasks;
    TaskListStore store(path);
    QElapsedTimer clock;
    clock.start();
    {
        MainWindow window(tasks);
        window.KeepTasksIn(&store);
        if (!window.Create())
            return;
        window.show();
        QCoreApplication::processEvents();
        const qint64 restore = clock.elapsed();

        clock.restart();
        std::string error;
        store.keep(tasks, &error);
        const qint64 onThread = clock.nsecsElapsed();
        clock.restart();
        store.keepLater(tasks);
        const qint64 handedOff = clock.nsecsElapsed();
        store.flush();
        std::printf("%6d tasks: restore and show %lld ms; a write held the window's thread %.1f ms on it, "
                    "%.1f ms handed off (ratio %.1f)\n",
                    count, static_cast<long long>(restore), onThread / 1e6, handedOff / 1e6,
                    double(onThread) / double(std::max<qint64>(handedOff, 1)));
    }
    QFile::remove(path);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: marvane-kept-list-bench FOLDER [TASKS...]\n");
        return 2;
    }
    std::string error;
    if (!ControlModule::registerFrom(QCoreApplication::applicationDirPath().toStdString(), &error)) {
        std::fprintf(stderr, "no control module: %s\n", error.c_str());
        return 1;
    }
    InstallDir::set(QCoreApplication::applicationDirPath().toStdString());
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i)
        counts.push_back(std::max(1, std::atoi(argv[i])));
    if (counts.empty())
        counts = {1000, 16000};
    for (int count : counts)
        measure(QString::fromLocal8Bit(argv[1]), count);
    return 0;
}
