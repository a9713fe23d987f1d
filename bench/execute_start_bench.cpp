// SPDX-License-Identifier: GPL-3.0-or-later
// How long the main window stops answering when Execute starts a long list, with the real
// control:
//   marvane-execute-start-bench SOURCE TASKS OUTPUT_FOLDER
// Adds TASKS tasks of SOURCE (each its own copy, so no length is known beforehand), presses
// Execute, and prints how long the press kept the window's thread and the longest gap between
// two ticks of a 5 ms timer in the two seconds after it; then stops the run.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/ControlModule.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "tasks/TaskList.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: marvane-execute-start-bench SOURCE TASKS OUTPUT_FOLDER\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const int count = std::max(1, std::atoi(argv[2]));
    const QDir outputs(QString::fromLocal8Bit(argv[3]));
    std::string error;
    if (!ControlModule::registerFrom(QCoreApplication::applicationDirPath().toStdString(), &error)) {
        std::fprintf(stderr, "no control module: %s\n", error.c_str());
        return 1;
    }
    InstallDir::set(QCoreApplication::applicationDirPath().toStdString());

    TaskList tasks;
    for (int i = 0; i < count; ++i) {
        const QString copy = outputs.filePath(QString("source%1.%2").arg(i + 1).arg(QFileInfo(source).suffix()));
        QFile::remove(copy);
        if (!QFile::copy(source, copy)) {
            std::fprintf(stderr, "cannot copy the source to %s\n", qPrintable(copy));
            return 1;
        }
        const std::size_t index = tasks.append({copy.toStdString()},
                                               outputs.filePath(QString("task%1.avi").arg(i + 1)).toStdString(), "To AVI");
        tasks.at(index).settings->format = OutputFormat::Avi;
    }
    MainWindow window(tasks);
    if (!window.Create())
        return 1;
    window.show();

    QWidget* execute = window.findChild<QWidget*>(QString::number(MainWindow::ExecuteId));
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    qint64 pressTook = 0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    // Two seconds of the idle window first, for the gaps that the machine itself makes.
    qint64 idleGap = 0;
    clock.start();
    ticks.start(5);
    QTimer::singleShot(2000, [&] {
        idleGap = longestGap;
        longestGap = 0;
        execute->setEnabled(true);
        const qint64 pressed = clock.elapsed();
        QMetaObject::invokeMethod(execute, "click");
        pressTook = clock.elapsed() - pressed;
        QTimer::singleShot(2000, [&] { app.quit(); });
    });
    app.exec();
    ticks.stop();
    std::printf("%d tasks: Execute kept the window's thread %lld ms; longest gap in the 2 s after it %lld ms "
                "(idle before: %lld ms)\n",
                count, static_cast<long long>(pressTook), static_cast<long long>(longestGap),
                static_cast<long long>(idleGap));
    window.close();
    return 0;
}
