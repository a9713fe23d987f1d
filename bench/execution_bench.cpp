// The main window converting DVD tasks with the real control, measured from inside:
//   marvane-execution-bench SOURCE TASKS OUTPUT_FOLDER
// Runs TASKS DVD tasks of SOURCE, then prints the longest gap between two ticks of a 10 ms
// timer on the window's thread, the run's wall time and the process's peak resident memory.
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/ControlModule.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "tasks/TaskList.h"

namespace {

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
    std::vector<std::pair<qint64, qint64>> longGaps;  // (end, length) of gaps over 40 ms
    std::vector<qint64> completions;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        if (now - lastTick > 40)
            longGaps.emplace_back(now, now - lastTick);
        lastTick = now;
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
    for (const auto& [end, length] : longGaps)
        std::printf("  gap of %lld ms ending at %.3f s\n", static_cast<long long>(length), end / 1000.0);
    for (qint64 at : completions)
        std::printf("  conversion done at %.3f s\n", at / 1000.0);
    return done == count ? 0 : 1;
}
