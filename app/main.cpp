#include <QApplication>

#include "app/ConverterApp.h"
#include "platform/TerminationWatch.h"
#include "platform/WindowPlaceSync.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListStore.h"

// The application object first, then the task list; both end with the process, in reverse.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
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
    converter.InitInstance();
    return 0;
}
