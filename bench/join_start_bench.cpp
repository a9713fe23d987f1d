// SPDX-License-Identifier: GPL-3.0-or-later
// How long the window's thread is held when a run of a long join starts:
//   marvane-join-start-bench SOURCE FILES WORK_FOLDER
// Copies SOURCE FILES times into WORK_FOLDER, adds every copy's picture and sound to the clip
// list of the control (loaded from the module beside the program, so the module of another
// build can be timed by the same program) and times Convert, which prepares the run on the
// calling thread, five times; prints each time and the shortest.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "engine/CDudidEvar.h"
#include "engine/ControlClassRegistry.h"
#include "engine/ControlModule.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: marvane-join-start-bench SOURCE FILES WORK_FOLDER\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const int count = std::max(1, std::atoi(argv[2]));
    const QDir work(QString::fromLocal8Bit(argv[3]));
    std::string error;
    if (!ControlModule::registerFrom(QCoreApplication::applicationDirPath().toStdString(), &error)) {
        std::fprintf(stderr, "no control module: %s\n", error.c_str());
        return 1;
    }
    CDudidEvar control;
    if (!control.Create(kDudidEvarClassId, nullptr)) {
        std::fprintf(stderr, "the control cannot be made\n");
        return 1;
    }
    control.SetOutputFormat(5);
    for (int i = 0; i < count; ++i) {
        const QString copy = work.filePath(QString("part%1.%2").arg(i + 1).arg(QFileInfo(source).suffix()));
        QFile::remove(copy);
        if (!QFile::copy(source, copy)) {
            std::fprintf(stderr, "cannot copy the source to %s\n", qPrintable(copy));
            return 1;
        }
        const double length = control.GetDuration(copy.toStdString());
        control.AddVideoClip(copy.toStdString(), 0, length, 0);
        control.AddAudioClip(copy.toStdString(), 0, length);
    }
    qint64 shortest = -1;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer clock;
        clock.start();
        const bool started = control.Convert(work.filePath("joined.mpg").toStdString());
        const qint64 took = clock.nsecsElapsed() / 1000;
        control.Stop();
        if (!started) {
            std::fprintf(stderr, "the run did not start: %s\n", control.GetLastError().c_str());
            return 1;
        }
        std::printf("%d files: Convert held the calling thread %.1f ms\n", count, took / 1000.0);
        shortest = shortest < 0 ? took : std::min(shortest, took);
    }
    std::printf("shortest: %.1f ms\n", shortest / 1000.0);
    return 0;
}
