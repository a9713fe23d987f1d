// SPDX-License-Identifier: GPL-3.0-or-later
// The main window converting DVD tasks with the real control, measured from inside:
//   marvane-execution-bench SOURCE TASKS OUTPUT_FOLDER
// Runs TASKS DVD tasks of SOURCE, then prints the longest gap between two ticks of a 10 ms
// timer on the window's thread, the run's wall time and the process's peak resident memory.
#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/ControlModule.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "tasks/TaskList.h"

namespace {

// Processor time the calling thread has used, in milliseconds.
double threadMillis()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

void addDvdTask(TaskList& tasks, const std::string& source, const std::string& output)
{
    const std::size_t index = tasks.append({source}, output, "To DVD");
    TaskSettings& s = *tasks.at(index).settings;
    s.format = OutputFormat::DvdNtsc;
    s.width = 720;
    s.height = 480;
    s.videoBitRate = 5000;
    s.audioBitRate = 224;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: marvane-execution-bench SOURCE TASKS OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string source = argv[1];
    const int count = std::max(1, std::atoi(argv[2]));
    const QDir outputs(QString::fromLocal8Bit(argv[3]));
    std::string error;
    if (!ControlModule::registerFrom(QCoreApplication::applicationDirPath().toStdString(), &error)) {
        std::fprintf(stderr, "no control module: %s\n", error.c_str());
        return 1;
    }
    InstallDir::set(QCoreApplication::applicationDirPath().toStdString());

    TaskList tasks;
    for (int i = 0; i < count; ++i)
        addDvdTask(tasks, source, outputs.filePath(QString("task%1.mpg").arg(i + 1)).toStdString());
    MainWindow window(tasks);
    if (!window.Create())
        return 1;
    window.show();

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    // Gaps over 40 ms: when they ended, how long they were, and how much of them the window's
    // thread spent working (the rest it waited: for a processor, or blocked).
    struct Gap {
        qint64 end;
        qint64 length;
        double busy;
    };
    std::vector<Gap> longGaps;
    double lastBusy = threadMillis();
    std::vector<qint64> completions;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const double busy = threadMillis();
        longestGap = std::max(longestGap, now - lastTick);
        if (now - lastTick > 40)
            longGaps.push_back({now, now - lastTick, busy - lastBusy});
        lastTick = now;
        lastBusy = busy;
    });
    QObject::connect(&window.Control(), &CDudidEvar::convertDone, [&] { completions.push_back(clock.elapsed()); });

    QWidget* add = window.findChild<QWidget*>(QString::number(MainWindow::AddId));
    QWidget* execute = window.findChild<QWidget*>(QString::number(MainWindow::ExecuteId));
    QTimer idleWatch;
    QObject::connect(&idleWatch, &QTimer::timeout, [&] {
        if (add->isEnabled())
            app.quit();
    });
    QTimer::singleShot(200, [&] {
        execute->setEnabled(true);
        QMetaObject::invokeMethod(execute, "click");
        clock.start();
        ticks.start(10);
        idleWatch.start(50);
    });
    app.exec();
    const qint64 wall = clock.elapsed();
    ticks.stop();

    int done = 0;
    for (std::size_t i = 0; i < tasks.size(); ++i)
        done += tasks.at(i).status == TaskStatus::Done ? 1 : 0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("tasks done %d of %d, wall %.2f s, longest UI gap %lld ms, peak memory %.1f MB\n", done, count,
                wall / 1000.0, static_cast<long long>(longestGap), usage.ru_maxrss / 1024.0);
    for (const Gap& gap : longGaps)
        std::printf("  gap of %lld ms ending at %.3f s, the thread busy for %.1f ms of it\n",
                    static_cast<long long>(gap.length), gap.end / 1000.0, gap.busy);
    for (qint64 at : completions)
        std::printf("  conversion done at %.3f s\n", at / 1000.0);
    return done == count ? 0 : 1;
}
