// SPDX-License-Identifier: GPL-3.0-or-later
// marvane-cli has no window to give way to: its conversions run at the priority it was started with.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>

#include "TestMedia.h"

namespace {

// The niceness of each thread of a process, from the kernel's account of it; empty once it ends.
std::vector<int> threadNiceness(qint64 pid)
{
    std::vector<int> values;
    const QDir tasks(QString("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + "/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString line = QString::fromUtf8(stat.readAll());
        // After the name in parentheses: the state is the third field, the niceness the 19th.
        const QStringList fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 16)
            values.push_back(fields[16].toInt());
    }
    return values;
}

TEST(CliPriority, AConversionRunsAtThePriorityTheCommandWasStartedWith)
{
    const QString source = QString::fromStdString(TestMedia::withSound());
    const QString folder = QString::fromStdString(TestMedia::scratchFolder());
    QProcess process;
    process.start(qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli",
                  {"convert", "--to", "dvd", "--ntsc", "-o", folder + "/out.mpg", source});
    ASSERT_TRUE(process.waitForStarted(10000));
    const int own = ::getpriority(PRIO_PROCESS, 0);
    const QDeadlineTimer deadline(120000);
    int lowered = 0;
    int seen = 0;
    while (!process.waitForFinished(5)) {
        for (int niceness : threadNiceness(process.processId())) {
            ++seen;
            lowered += niceness != own;
        }
        ASSERT_FALSE(deadline.hasExpired()) << "the conversion did not end";
    }
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_GT(seen, 0);
    EXPECT_EQ(lowered, 0);
}

}  // namespace
