// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationWatch.h"

#include <atomic>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
std::atomic<int> writeEnd{-1};
std::atomic<bool> endAtOnce{false};

extern "C" void onTerminationSignal(int number)
{
    if (endAtOnce.load()) {
        ::signal(number, SIG_DFL);
        ::raise(number);
        return;
    }
    const int fd = writeEnd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
}

}  // namespace

TerminationWatch::TerminationWatch(QObject* parent) : QObject(parent)
{
    if (writeEnd.load() >= 0 || ::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
        return;
    }
    writeEnd.store(pipe_[1]);
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationWatch::drain);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &action, &previous_[i]);
}

TerminationWatch::~TerminationWatch()
{
    if (!notifier_)
        return;
    for (int i = 0; i < 3; ++i)
        sigaction(kSignals[i], &previous_[i], nullptr);
    writeEnd.store(-1);
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void TerminationWatch::setEndAtOnce(bool on)
{
    endAtOnce.store(on);
}

void TerminationWatch::drain()
{
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    emit requested();
}
