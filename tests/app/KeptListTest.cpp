// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

// The real program killed with SIGKILL in the middle of a run of three tasks: started again, it
// has the list back, the finished task done and the others waiting, and runs only those.
namespace {

// Runs a script of the real program on a virtual screen; its output when it failed.
void runOnVirtualScreen(const char* script)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfbRun.isEmpty() || xdotool.isEmpty())
        GTEST_SKIP() << "xvfb-run or xdotool is not installed";

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(xvfbRun, {"-a", "-s", "-screen 0 1024x768x24", "bash", script, qEnvironmentVariable("MARVANE_TEST_BIN")});
    ASSERT_TRUE(run.waitForStarted());
    ASSERT_TRUE(run.waitForFinished(240000)) << run.readAll().toStdString();
    const std::string output = run.readAll().toStdString();
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(run.exitCode(), 0) << output;
}

}  // namespace

TEST(KeptList, SurvivesAKillInTheMiddleOfARun)
{
    runOnVirtualScreen(KEPT_LIST_SCRIPT);
}

// Two starts on one display: the second hands its video over, one window keeps one list.
TEST(KeptList, ASecondStartHandsItsFileToTheWindowThatRuns)
{
    runOnVirtualScreen(SINGLE_WINDOW_SCRIPT);
}
