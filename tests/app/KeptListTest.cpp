#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

// The real program killed with SIGKILL in the middle of a run of three tasks: started again, it
// has the list back, the finished task done and the others waiting, and runs only those.
TEST(KeptList, SurvivesAKillInTheMiddleOfARun)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfbRun.isEmpty() || xdotool.isEmpty())
        GTEST_SKIP() << "xvfb-run or xdotool is not installed";

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(xvfbRun, {"-a", "-s", "-screen 0 1024x768x24", "bash", KEPT_LIST_SCRIPT,
                        qEnvironmentVariable("MARVANE_TEST_BIN")});
    ASSERT_TRUE(run.waitForStarted());
    ASSERT_TRUE(run.waitForFinished(240000)) << run.readAll().toStdString();
    const std::string output = run.readAll().toStdString();
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(run.exitCode(), 0) << output;
}
