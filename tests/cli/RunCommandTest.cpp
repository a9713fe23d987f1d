// marvane-cli run: its options, and the program itself on saved lists of short generated clips.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <map>

#include "TestMedia.h"
#include "cli/CliExecutionView.h"
#include "cli/RunOptions.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

namespace {

// The terminal's progress line says which share is the task's and which the whole run's, each
// with its time left once it is known.
TEST(CliProgressLine, TellsTheTasksAndTheWholeRunsShareAndTimeLeft)
{
    CliExecutionView view;
    EXPECT_EQ(view.progressLine("12.0% Finished"), "12.0% Finished");
    view.showTimeLeft({130.0, std::nullopt});
    EXPECT_EQ(view.progressLine("50.0% Finished"), "50.0% Finished, 2 min 10 s left");
    view.showWholeRun = true;
    view.showRunShare(43);
    view.showTimeLeft({130.0, 3900.4});
    EXPECT_EQ(view.progressLine("50.0% Finished"), "50.0% Finished, 2 min 10 s left  (whole run 43%, 1 h 5 min left)");
    EXPECT_EQ(view.progressLine("Done"), "Done");
    view.showTimeLeft({});
    view.showRunShare(-1);
    EXPECT_EQ(view.progressLine("0.5% Finished"), "0.5% Finished");
}

TEST(RunOptions, ParsesSelectionsAndRefusesWhatIsWrong)
{
    struct Case {
        std::vector<std::string> args;
        std::size_t count;
        std::vector<std::size_t> chosen;  // empty with an error expected
        const char* error;
    };
    const std::vector<Case> cases = {
        {{"list.json"}, 3, {0, 1, 2}, ""},
        {{"--task", "2", "list.json"}, 3, {1}, ""},
        {{"list.json", "--shard", "1/2"}, 6, {0, 2, 4}, ""},
        {{"--shard", "2/2", "list.json"}, 5, {1, 3}, ""},
        {{"--shard", "3/4", "list.json"}, 2, {}, ""},
        {{"--task", "4", "list.json"}, 3, {}, "task 4 is not in the list (it holds 3)"},
        {{"--task", "0", "list.json"}, 3, {}, "--task needs a task number from 1"},
        {{"--task", "2x", "list.json"}, 3, {}, "--task needs a task number from 1"},
        {{"--shard", "3/2", "list.json"}, 3, {}, "--shard needs I/N with 1 <= I <= N"},
        {{"--shard", "0/2", "list.json"}, 3, {}, "--shard needs I/N with 1 <= I <= N"},
        {{"--shard", "1", "list.json"}, 3, {}, "--shard needs I/N with 1 <= I <= N"},
        {{"--task", "1", "--shard", "1/2", "list.json"}, 3, {}, "--task and --shard exclude each other"},
        {{"--keep-going"}, 3, {}, "no task list given"},
        {{"a.json", "b.json"}, 3, {}, "one task list only: b.json"},
        {{"--fast", "a.json"}, 3, {}, "unknown option --fast"},
        {{"--update", "--", "-list.json"}, 2, {0, 1}, ""},
    };
    for (const Case& c : cases) {
        RunOptions options;
        std::string error;
        std::vector<std::size_t> chosen;
        const bool ok = options.parse(c.args, &error) && options.select(c.count, &chosen, &error);
        EXPECT_EQ(error, c.error) << c.args.back();
        EXPECT_EQ(ok, std::string(c.error).empty()) << c.args.back();
        EXPECT_EQ(chosen, c.chosen) << c.args.back();
    }
    RunOptions flags;
    std::string error;
    ASSERT_TRUE(flags.parse({"--keep-going", "--update", "l.json"}, &error));
    EXPECT_TRUE(flags.keepGoing);
    EXPECT_TRUE(flags.update);
}

class RunCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clip = TestMedia::made("run-clip.mpg", {"-f", "lavfi", "-i", "testsrc=size=176x144:rate=25:duration=1", "-f",
                                                "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=1",
                                                "-c:v", "mpeg1video", "-c:a", "mp2", "-shortest"});
        listPath = out.filePath("list.json");
    }

    QString output(int n) const { return out.filePath(QString("out%1.mpg").arg(n)); }

    // A list of VCD tasks of the clip; a source of "missing" is a file that does not exist.
    void saveList(const std::vector<std::string>& sources)
    {
        TaskList list;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const std::string source = sources[i] == "missing" ? out.filePath("missing.mpg").toStdString() : sources[i];
            const std::size_t index = list.append({source}, output(int(i) + 1).toStdString(), "To VCD");
            TaskSettings& s = *list.at(index).settings;
            s.format = OutputFormat::VcdPal;
            s.width = 352;
            s.height = 288;
            s.videoBitRate = 1150;
            s.audioBitRate = 224;
        }
        std::string error;
        ASSERT_TRUE(TaskListFile::save(list, listPath, &error)) << error;
    }

    QByteArray listBytes() const
    {
        QFile file(listPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::vector<TaskStatus> statuses() const
    {
        std::vector<ConversionTask> tasks;
        std::string error;
        EXPECT_TRUE(TaskListFile::load(listPath, &tasks, &error)) << error;
        std::vector<TaskStatus> found;
        for (const ConversionTask& task : tasks)
            found.push_back(task.status);
        return found;
    }

    static QString cli() { return qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli"; }

    // Runs the program to its end; its exit status, with what it wrote.
    int run(const QStringList& args, QString* printed = nullptr)
    {
        QProcess process;
        process.start(cli(), QStringList{"run"} + args);
        EXPECT_TRUE(process.waitForFinished(120000));
        const QString stdoutText = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString stderrText = QString::fromLocal8Bit(process.readAllStandardError());
        if (printed)
            *printed = stdoutText + stderrText;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    std::string clip;
    QTemporaryDir out;
    QString listPath;
};

TEST_F(RunCommandTest, KeepsGoingPastAMissingSourceAndWritesStatusesOnlyWhenAsked)
{
    saveList({clip, "missing", clip});
    const QByteArray before = listBytes();
    QString printed;
    EXPECT_EQ(run({"--task", "1", listPath}, &printed), 0) << printed.toStdString();
    EXPECT_TRUE(QFile::exists(output(1)));
    EXPECT_FALSE(QFile::exists(output(3)));
    EXPECT_EQ(listBytes(), before);

    EXPECT_EQ(run({"--keep-going", "--update", listPath}, &printed), 1) << printed.toStdString();
    EXPECT_EQ(statuses(), (std::vector<TaskStatus>{TaskStatus::Done, TaskStatus::Failed, TaskStatus::Done}));
    EXPECT_TRUE(printed.contains("2 tasks done, 1 failed")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("missing.mpg")) << printed.toStdString();
    const TestMedia::Info info = TestMedia::probe(output(3).toStdString());
    ASSERT_NE(info.video(), nullptr);
    ASSERT_NE(info.audio(), nullptr);
    EXPECT_NEAR(info.duration, 1.0, 0.2);

    // Without going on, the failed task halts the run; done tasks are not run again.
    QFile::remove(output(3));
    EXPECT_EQ(run({"--update", listPath}, &printed), 1) << printed.toStdString();
    EXPECT_TRUE(printed.contains("Failed to execute the task.")) << printed.toStdString();
    EXPECT_FALSE(printed.contains("Executing task 1")) << printed.toStdString();
    EXPECT_FALSE(QFile::exists(output(3)));
}

TEST_F(RunCommandTest, AListThatCannotBeReadOrATaskNotInItEndsWithStatusTwo)
{
    QString printed;
    EXPECT_EQ(run({out.filePath("none.json")}, &printed), 2);
    EXPECT_TRUE(printed.contains("cannot open")) << printed.toStdString();
    QFile wrong(listPath);
    ASSERT_TRUE(wrong.open(QIODevice::WriteOnly));
    wrong.write(R"({"format": "marvane-task-list", "version": 1, "tasks": [{"sources": ["/a.mpg"], "kind": 99}]})");
    wrong.close();
    EXPECT_EQ(run({listPath}, &printed), 2);
    EXPECT_TRUE(printed.contains("task 1, field \"output\": missing")) << printed.toStdString();
    saveList({clip});
    EXPECT_EQ(run({"--task", "2", listPath}, &printed), 2);
    EXPECT_TRUE(printed.contains("task 2 is not in the list")) << printed.toStdString();
}

TEST_F(RunCommandTest, InterruptedRunEndsWith130AndLeavesNoOutput)
{
    const std::string longClip = TestMedia::longer();
    saveList({longClip});
    QProcess process;
    process.start(cli(), {"run", "--update", listPath});
    ASSERT_TRUE(process.waitForStarted());
    QByteArray printed;
    while (!printed.contains("Executing task 1") && process.waitForReadyRead(30000))
        printed += process.readAllStandardOutput();
    ASSERT_TRUE(printed.contains("Executing task 1")) << printed.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_FALSE(QFile::exists(output(1)));
    EXPECT_EQ(statuses(), std::vector<TaskStatus>{TaskStatus::Waiting});
}

// Two shards of a six-task list through GNU parallel, as the README shows it.
TEST_F(RunCommandTest, TwoShardsThroughParallelWriteEveryOutputOnce)
{
    const QString parallel = QStandardPaths::findExecutable("parallel");
    if (parallel.isEmpty())
        GTEST_SKIP() << "GNU parallel is not installed";
    saveList({clip, clip, clip, clip, clip, clip});
    QProcess process;
    process.start(parallel, {"--will-cite", "-j", "2", cli(), "run", "--update", "--shard", "{}/2", listPath,
                             ":::", "1", "2"});
    ASSERT_TRUE(process.waitForFinished(180000));
    const QString printed = QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 0) << printed.toStdString();
    std::map<int, int> runs;
    const QRegularExpression executing("Executing task (\\d+)");
    for (auto match = executing.globalMatch(printed); match.hasNext();)
        ++runs[match.next().captured(1).toInt()];
    EXPECT_EQ(runs, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}})) << printed.toStdString();
    for (int n = 1; n <= 6; ++n)
        EXPECT_TRUE(QFile::exists(output(n))) << n;
    EXPECT_EQ(statuses(), std::vector<TaskStatus>(6, TaskStatus::Done));
}

}  // namespace
