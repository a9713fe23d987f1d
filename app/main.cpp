#include <QApplication>

#include "app/ConverterApp.h"
#include "tasks/TaskList.h"

// The application object first, then the task list; both end with the process, in reverse.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TaskList tasks;
    ConverterApp converter(tasks);
    converter.InitInstance();
    return 0;
}
