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

bool RunRecorder::waitForEnd(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (done + failed == 0 && timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done + failed > 0;
}

bool RunRecorder::waitForProgress(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (progress == 0 && done == 0 && failed == 0 && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return progress > 0;
}

void RunRecorder::pump(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
}
