#include <QApplication>
#include <QFileInfo>

#include "app/ConverterApp.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationWatch.h"
#include "platform/WindowPlaceSync.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListStore.h"

// The application object first, then the task list; both end with the process, in reverse.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // One window per user and display: a later start hands its files to it and ends.
    QStringList files;
    for (const QString& argument : application.arguments().mid(1))
        files.append(QFileInfo(argument).absoluteFilePath());
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
