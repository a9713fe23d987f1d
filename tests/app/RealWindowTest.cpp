// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace {

// Runs a script of this folder on a virtual screen with the folder of the built programs; the
// script's output when it fails. Each test looks for a free screen number from its own first
// one, so tests that start side by side do not take the same.
void runOnVirtualScreen(int firstScreen, const char* script, const QStringList& arguments = {}, int seconds = 90)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    const QString xwininfo = QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
    if (xvfbRun.isEmpty() || xdotool.isEmpty() || xwininfo.isEmpty())
        GTEST_SKIP() << "xvfb-run, xdotool or xwininfo is not installed";

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList screen{"-a", "-n", QString::number(firstScreen), "-s", "-screen 0 1024x768x24"};
    run.start(xvfbRun, screen + QStringList{"bash", script, qEnvironmentVariable("MARVANE_TEST_BIN")} + arguments);
    ASSERT_TRUE(run.waitForStarted());
    ASSERT_TRUE(run.waitForFinished(seconds * 1000)) << run.readAll().toStdString();
    const std::string output = run.readAll().toStdString();
    if (output.find("SKIP: ") != std::string::npos)
        GTEST_SKIP() << output;
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(run.exitCode(), 0) << output;
}

}  // namespace

// The real program with the real conversion control on a virtual screen: its window appears
// and the program ends cleanly on Exit.
TEST(RealWindow, AppearsAndEndsCleanlyOnExit)
{
    runOnVirtualScreen(99, REAL_WINDOW_SCRIPT);
}

// Menus at their buttons, dialogs centred over the window, and a drag that moves the window by
// the pointer's movement: on a bare screen, and under a window manager that places windows itself.
TEST(RealWindow, MenusDialogsAndDragsWithoutAWindowManager)
{
    runOnVirtualScreen(120, WINDOW_PLACES_SCRIPT, {"nowm"});
}

TEST(RealWindow, MenusDialogsAndDragsUnderAWindowManager)
{
    runOnVirtualScreen(140, WINDOW_PLACES_SCRIPT, {"wm"});
}

// The real program killed with SIGKILL in the middle of a run of three tasks: started again, it
// has the list back, the finished task done and the others waiting, and runs only those.
TEST(KeptList, SurvivesAKillInTheMiddleOfARun)
{
    runOnVirtualScreen(160, KEPT_LIST_SCRIPT, {}, 240);
}

// Two starts on one display: the second hands its video over, one window keeps one list.
TEST(KeptList, ASecondStartHandsItsFileToTheWindowThatRuns)
{
    runOnVirtualScreen(180, SINGLE_WINDOW_SCRIPT, {}, 240);
}
