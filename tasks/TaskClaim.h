// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

struct ConversionTask;

// A run's mark on a task of a list that several runs share: "this process on this host converts
// it now", kept in the task's "claim" member. Other runs leave a held task alone. A claim is
// void once its process is gone (same host) or, from another host, once it is older than
// kOtherHostHours; Done and Failed end it.
class TaskClaim {
public:
    static constexpr int kOtherHostHours = 12;

    TaskClaim(QString host, qint64 pid) : host_(std::move(host)), pid_(pid) {}
    // This process on this machine.
    static TaskClaim ofThisProcess();

    bool heldByOther(const ConversionTask& task, const QDateTime& now) const;
    bool heldByMe(const ConversionTask& task) const;
    void take(ConversionTask& task, const QDateTime& now) const;
    static void release(ConversionTask& task);

private:
    QString host_;
    qint64 pid_;
};
