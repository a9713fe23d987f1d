// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstring>

#include "app/ConverterApp.h"
#include "platform/LicenceNotice.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationWatch.h"
#include "platform/WindowPlaceSync.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListStore.h"

namespace {

// --version and --help are answered on the terminal, without a screen; any other argument is
// left to the toolkit (-platform, -display and the like).
bool answeredOnTheTerminal(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("marvane %s\n%s", MARVANE_VERSION, kLicenceNotice);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("usage: marvane [VIDEO...]\n       marvane --version | --help\n\n"
                        "Marvane converts, joins and splits videos in a window. Videos named open the\n"
                        "task editor with them, as videos dropped on the window do. The task list is\n"
                        "kept in the user's data folder; marvane-cli does the same work without a window.\n");
            return true;
        }
    }
    return false;
}

// The files named on the command line, by absolute path: the program changes its working
// folder before the window takes them. The toolkit has taken its own options out already.
QStringList filesToOpen()
{
    QStringList files;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(QLatin1Char('-')))
            files << QFileInfo(arguments[i]).absoluteFilePath();
    }
    return files;
}

}  // namespace

// The application object first, then the task list; both end with the process, in reverse.
int main(int argc, char** argv)
{
    if (answeredOnTheTerminal(argc, argv))
        return 0;
    QApplication application(argc, argv);
    // Docks and Wayland compositors match the window to its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.kestrune.marvane"));
    // One window per user and display: a later start hands its files to it and ends.
    const QStringList files = filesToOpen();
    SingleInstance instance(SingleInstance::keyOfThisSession());
    if (!instance.becomeFirst() && instance.handOver(files))
        return 0;
    // A termination request ends the program as the close box does: a run is stopped and its
    // unfinished output removed.
    TerminationWatch termination;
    QObject::connect(&termination, &TerminationWatch::requested, &application, &QApplication::closeAllWindows);
    const WindowPlaceSync placeSync(&application);
    TaskList tasks;
    // The list is kept in the user's data folder from one start to the next.
    TaskListStore store(TaskListStore::defaultPath());
    ConverterApp converter(tasks);
    converter.KeepTasksIn(&store);
    converter.TakeFilesFrom(&instance, files);
    converter.InitInstance();
    return 0;
}
