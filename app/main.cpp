#include <QApplication>

#include "app/ConverterApp.h"
#include "platform/TerminationWatch.h"
#include "platform/WindowPlaceSync.h"
#include "tasks/TaskList.h"

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
    ConverterApp converter(tasks);
    converter.InitInstance();
    return 0;
}
