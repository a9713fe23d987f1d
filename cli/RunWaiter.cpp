// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RunWaiter.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

#include "cli/Interrupt.h"
#include "engine/CDudidEvar.h"
#include "platform/PlainNumber.h"

RunWaiter::RunWaiter(CDudidEvar& control) : control_(control) {}

bool RunWaiter::wait(const std::string& label)
{
    QEventLoop loop;
    bool ok = false;
    const bool terminal = ::isatty(STDOUT_FILENO) != 0;
    auto progress = connect(&control_, &CDudidEvar::convertProgress, this, [&](double done, double total) {
        if (terminal && total > 0) {
            std::printf("\r%s  %5s%%", label.c_str(), PlainNumber::fixed(100.0 * done / total, 1).c_str());
            std::fflush(stdout);
        }
    });
    auto done = connect(&control_, &CDudidEvar::convertDone, this, [&] {
        ok = true;
        loop.quit();
    });
    auto failed = connect(&control_, &CDudidEvar::convertFailed, this, [&](const QString& reason) {
        std::fprintf(stderr, "%s%s: %s\n", terminal ? "\n" : "", label.c_str(), qPrintable(reason));
        loop.quit();
    });
    QTimer interruptWatch;
    connect(&interruptWatch, &QTimer::timeout, this, [&] {
        if (!Interrupt::requested())
            return;
        control_.Stop();
        std::fprintf(stderr, "%s%s: stopped\n", terminal ? "\n" : "", label.c_str());
        loop.quit();
    });
    interruptWatch.start(100);
    loop.exec();
    disconnect(progress);
    disconnect(done);
    disconnect(failed);
    if (terminal && ok)
        std::printf("\r%s  100.0%%\n", label.c_str());
    return ok;
}
