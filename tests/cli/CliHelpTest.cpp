// SPDX-License-Identifier: GPL-3.0-or-later
// marvane-cli answering about itself: help for every command, its mistaken options, and the
// media libraries kept quiet unless asked.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include "TestMedia.h"

namespace {

struct Answer {
    int status = -1;
    QStringList out;
    QStringList err;
};

Answer runCli(const QStringList& args, int waitMs = 30000)
{
    QProcess process;
    process.start(qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli", args);
    Answer answer;
    if (!process.waitForFinished(waitMs) || process.exitStatus() != QProcess::NormalExit)
        return answer;
    answer.status = process.exitCode();
    answer.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    answer.err = QString::fromUtf8(process.readAllStandardError()).split('\n');
    return answer;
}

const QStringList kCommands = {"probe", "convert", "audio", "frames", "run"};

TEST(CliHelp, EveryWayOfAskingForACommandsHelpPrintsItsUsageAndSucceeds)
{
    for (const QString& command : kCommands) {
        const QList<QStringList> asks = {{"help", command},
                                         {command, "--help"},
                                         {command, "-o", "out", "-h"},
                                         {"--verbose", command, "--help"}};
        for (const QStringList& ask : asks) {
            const Answer answer = runCli(ask);
            EXPECT_EQ(answer.status, 0) << ask.join(' ').toStdString();
            EXPECT_TRUE(answer.out.value(0).startsWith("usage: marvane-cli " + command + " "))
                << ask.join(' ').toStdString() << ": " << answer.out.value(0).toStdString();
            EXPECT_EQ(answer.err, QStringList{""}) << ask.join(' ').toStdString();
        }
    }
    for (const QStringList& ask : QList<QStringList>{{"--help"}, {"-h"}, {"help"}}) {
        const Answer answer = runCli(ask);
        EXPECT_EQ(answer.status, 0);
        EXPECT_TRUE(answer.out.value(0).startsWith("marvane-cli converts videos")) << answer.out.value(0).toStdString();
        EXPECT_EQ(answer.out.filter(QRegularExpression("^  marvane-cli (probe|convert|audio|frames|run) ")).size(), 5);
    }
}

TEST(CliHelp, MistakesGiveTheReasonAndTheUsageOfWhatWasGivenAndExitTwo)
{
    struct Case {
        QStringList args;
        QString reason;
        QString usage;  // the start of the usage line that follows
    };
    const QList<Case> cases = {
        {{"probe", "--frob", "a.mpg"}, "unknown option --frob", "usage: marvane-cli probe "},
        {{"probe"}, "a FILE is needed", "usage: marvane-cli probe "},
        {{"convert", "--to", "avi", "--frob", "-o", "x.avi", "a.mpg"}, "unknown option --frob",
         "usage: marvane-cli convert "},
        {{"audio", "--wav", "--frob", "-o", "out", "a.mpg"}, "unknown option --frob", "usage: marvane-cli audio "},
        {{"audio", "-o", "out", "a.mpg"}, "--wma or --wav is needed", "usage: marvane-cli audio "},
        {{"frames", "--frob", "-o", "out", "a.mpg"}, "unknown option --frob", "usage: marvane-cli frames "},
        {{"frames", "-o", "out"}, "a SOURCE is needed", "usage: marvane-cli frames "},
        {{"run", "--frob", "list.json"}, "unknown option --frob", "usage: marvane-cli run "},
        {{"convert", "--to", "avi", "--size", "65538x240", "-o", "x.avi", "a.mpg"},
         "AVI pictures are 2 to 8191 pixels wide, not 65538", "usage: marvane-cli convert "},
        {{"--frob"}, "unknown option --frob", "usage:"},
        {{"frob"}, "unknown command frob", "usage:"},
        {{"help", "frob"}, "unknown command frob", "usage:"},
        {{}, "no command given", "usage:"},
    };
    for (const Case& c : cases) {
        const Answer answer = runCli(c.args);
        const std::string asked = c.args.join(' ').toStdString();
        EXPECT_EQ(answer.status, 2) << asked;
        EXPECT_EQ(answer.err.value(0), c.reason) << asked;
        EXPECT_TRUE(answer.err.value(1).startsWith(c.usage)) << asked << ": " << answer.err.value(1).toStdString();
        EXPECT_EQ(answer.out, QStringList{""}) << asked;
    }
}

// probe names each track after the length and size.
TEST(CliHelp, ProbeListsTheTracks)
{
    const Answer answer = runCli({"probe", QString::fromStdString(TestMedia::withSound())});
    ASSERT_EQ(answer.status, 0) << answer.err.join('\n').toStdString();
    EXPECT_EQ(answer.out.filter(QRegularExpression("^track: picture 1 codec=\\w+")).size(), 1)
        << answer.out.join('\n').toStdString();
    EXPECT_EQ(answer.out.filter(QRegularExpression("^track: sound 1 codec=\\w+")).size(), 1);
}

// An AV1 conversion: the encoder's banner and the libraries' messages only with --verbose.
TEST(CliHelp, LibraryMessagesReachTheTerminalOnlyWithVerbose)
{
    const QString source = QString::fromStdString(TestMedia::withSound());
    const QString folder = QString::fromStdString(TestMedia::scratchFolder());
    const QStringList convert = {"convert", "--to", "mp4", "--codec", "av1", "--speed", "faster"};
    const Answer quiet = runCli(convert + QStringList{"-o", folder + "/quiet.mp4", source}, 120000);
    ASSERT_EQ(quiet.status, 0) << quiet.err.join('\n').toStdString();
    EXPECT_TRUE(quiet.err.filter("Svt[").isEmpty()) << quiet.err.join('\n').toStdString();
    EXPECT_TRUE(quiet.err.filter(" @ 0x").isEmpty()) << quiet.err.join('\n').toStdString();

    const Answer verbose = runCli(QStringList{"--verbose"} + convert + QStringList{"-o", folder + "/told.mp4", source}, 120000);
    ASSERT_EQ(verbose.status, 0) << verbose.err.join('\n').toStdString();
    EXPECT_FALSE(verbose.err.filter("Svt[info]").isEmpty()) << verbose.err.join('\n').toStdString();
}

}  // namespace
