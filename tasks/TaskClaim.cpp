// SPDX-License-Identifier: GPL-3.0-or-later
#include "tasks/TaskClaim.h"

#include <signal.h>
#include <unistd.h>

#include <QJsonObject>
#include <QSysInfo>
#include <cerrno>

#include "tasks/ConversionTask.h"

namespace {

const QString kClaim = QStringLiteral("claim");

bool processAlive(qint64 pid)
{
    if (pid <= 0 || pid != static_cast<pid_t>(pid))
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

TaskClaim TaskClaim::ofThisProcess()
{
    return TaskClaim(QSysInfo::machineHostName(), ::getpid());
}

bool TaskClaim::heldByMe(const ConversionTask& task) const
{
    const QJsonObject claim = task.kept.value(kClaim).toObject();
    return claim.value("host").toString() == host_ && claim.value("pid").toInteger(-1) == pid_;
}

bool TaskClaim::heldByOther(const ConversionTask& task, const QDateTime& now) const
{
    const QJsonValue value = task.kept.value(kClaim);
    if (!value.isObject() || heldByMe(task))
        return false;
    const QJsonObject claim = value.toObject();
    if (claim.value("host").toString() == host_)
        return processAlive(claim.value("pid").toInteger(-1));
    const QDateTime since = QDateTime::fromString(claim.value("since").toString(), Qt::ISODate);
    return since.isValid() && since.secsTo(now) < qint64(kOtherHostHours) * 3600;
}

void TaskClaim::take(ConversionTask& task, const QDateTime& now) const
{
    task.kept[kClaim] = QJsonObject{{"host", host_}, {"pid", pid_}, {"since", now.toUTC().toString(Qt::ISODate)}};
}

void TaskClaim::release(ConversionTask& task)
{
    task.kept.remove(kClaim);
}
