// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

void RunRecorder::OnConvertProgress(double secondsDone, double totalSeconds)
{
    ++progress;
    lastDone = secondsDone;
    lastTotal = totalSeconds;
}

void RunRecorder::OnConvertFailed(const std::string& why)
{
    ++failed;
    reason = why;
}

bool RunRecorder::waitUntil(const std::function<bool()>& condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return condition();
}

bool RunRecorder::waitForEnd(int milliseconds)
{
    return waitUntil([this] { return done + failed > 0; }, milliseconds);
}

bool RunRecorder::waitForProgress(int milliseconds)
{
    return waitUntil([this] { return progress + done + failed > 0; }, milliseconds) && progress > 0;
}

void RunRecorder::pump(int milliseconds)
{
    waitUntil([] { return false; }, milliseconds);
}
