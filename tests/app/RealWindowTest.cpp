#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace {

// Runs a script of this folder on a virtual screen with the folder of the built programs; the
// script's output when it fails.
void runOnVirtualScreen(const char* script, const QStringList& arguments = {})
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    const QString xwininfo = QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
    if (xvfbRun.isEmpty() || xdotool.isEmpty() || xwininfo.isEmpty())
        GTEST_SKIP() << "xvfb-run, xdotool or xwininfo is not installed";

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(xvfbRun, QStringList{"-a", "-s", "-screen 0 1024x768x24", "bash", script,
                                   qEnvironmentVariable("MARVANE_TEST_BIN")} +
                           arguments);
    ASSERT_TRUE(run.waitForStarted());
    ASSERT_TRUE(run.waitForFinished(90000)) << run.readAll().toStdString();
    const std::string output = run.readAll().toStdString();
    if (output.rfind("SKIP: ", 0) == 0)
        GTEST_SKIP() << output;
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(run.exitCode(), 0) << output;
}

}  // namespace

// The real program with the real conversion control on a virtual screen: its window appears
// and the program ends cleanly on Exit.
TEST(RealWindow, AppearsAndEndsCleanlyOnExit)
{
    runOnVirtualScreen(REAL_WINDOW_SCRIPT);
}

// Menus at their buttons, dialogs centred over the window, and a drag that moves the window by
// the pointer's movement: on a bare screen, and under a window manager that places windows itself.
TEST(RealWindow, MenusDialogsAndDragsWithoutAWindowManager)
{
    runOnVirtualScreen(WINDOW_PLACES_SCRIPT, {"nowm"});
}

TEST(RealWindow, MenusDialogsAndDragsUnderAWindowManager)
{
    runOnVirtualScreen(WINDOW_PLACES_SCRIPT, {"wm"});
}
