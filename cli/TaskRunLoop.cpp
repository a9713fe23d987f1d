// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TaskRunLoop.h"

#include <QEventLoop>
#include <QTimer>

#include "cli/CliExecutionView.h"
#include "cli/Interrupt.h"
#include "engine/CDudidEvar.h"
#include "tasks/TaskExecution.h"
#include "tasks/TaskList.h"

namespace TaskRunLoop {

void run(CDudidEvar& control, TaskList& tasks, CliExecutionView& view, bool goOnAfterFailure,
         std::function<bool(std::size_t)> startCheck)
{
    TaskExecution execution(control, tasks, view);
    execution.setGoOnAfterFailure(goOnAfterFailure);
    execution.setStartCheck(std::move(startCheck));
    QEventLoop loop;
    // The run's length is measured while its first tasks convert, not before they start.
    execution.setDeferral([&loop](std::function<void()> work) { QTimer::singleShot(0, &loop, std::move(work)); });
    view.onRest = [&] { loop.quit(); };
    QObject::connect(&control, &CDudidEvar::convertDone, &loop, [&] { execution.convertDone(); });
    QObject::connect(&control, &CDudidEvar::convertProgress, &loop,
                     [&](double done, double total) { execution.convertProgress(done, total); });
    QObject::connect(&control, &CDudidEvar::convertFailed, &loop,
                     [&](const QString& reason) { execution.convertFailed(reason.toStdString()); });
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, &loop, [&] {
        if (Interrupt::requested() && execution.running())
            execution.execute();
    });
    interruptWatch.start(100);
    execution.execute();
    if (execution.state() == TaskExecution::State::Running)
        loop.exec();
    execution.close();
}

}  // namespace TaskRunLoop
