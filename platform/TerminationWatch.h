// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <memory>

// Termination requests (SIGTERM at logout or shutdown, SIGHUP, SIGINT) turned into a signal on
// the user-interface thread, so the program can end as its window's close box ends it instead of
// dying with a conversion's unfinished output left behind. One watch at a time; the previous
// handlers come back when it is destroyed.
class TerminationWatch : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatch(QObject* parent = nullptr);
    ~TerminationWatch() override;
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

    bool isWatching() const { return notifier_ != nullptr; }
    // While on, a termination request ends the process at once, as if no watch were set: for
    // stretches of the user-interface thread that write nothing, such as showing a long kept
    // list at start-up, which would otherwise hear the request only when they end.
    static void setEndAtOnce(bool on);

signals:
    void requested();

private:
    void drain();

    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_[3] {};
};
