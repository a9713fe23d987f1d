// SPDX-License-Identifier: GPL-3.0-or-later
// marvane-cli run: its options, and the program itself on saved lists of short generated clips.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QJsonObject>
#include <csignal>
#include <fstream>
#include <map>
#include <memory>

#include "TestMedia.h"
#include "cli/CliExecutionView.h"
#include "cli/RunOptions.h"
#include "tasks/SharedListFile.h"
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
    // Outputs are out1.mpg, out2.mpg, ... unless given.
    void saveList(const std::vector<std::string>& sources, const std::vector<QString>& outputs = {})
    {
        TaskList list;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const std::string source = sources[i] == "missing" ? out.filePath("missing.mpg").toStdString() : sources[i];
            const QString to = i < outputs.size() ? outputs[i] : output(int(i) + 1);
            const std::size_t index = list.append({source}, to.toStdString(), "To VCD");
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

    TaskList readList() const
    {
        TaskList list;
        std::string error;
        EXPECT_TRUE(TaskListFile::load(listPath, &list, &error)) << error;
        return list;
    }

    // Starts a run and waits until it prints that it converts the task.
    void startUntilExecuting(QProcess& process, const QStringList& args, int task)
    {
        process.start(cli(), QStringList{"run"} + args);
        ASSERT_TRUE(process.waitForStarted());
        const QByteArray line = "Executing task " + QByteArray::number(task);
        QByteArray printed;
        while (!printed.contains(line) && process.waitForReadyRead(30000))
            printed += process.readAllStandardOutput();
        ASSERT_TRUE(printed.contains(line)) << printed.toStdString();
    }

    static QString cli() { return qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli"; }

    // Runs marvane-cli run to its end; its exit status, with what it wrote.
    int run(const QStringList& args, QString* printed = nullptr) { return command(QStringList{"run"} + args, printed); }

    int command(const QStringList& args, QString* printed)
    {
        QProcess process;
        process.start(cli(), args);
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

// Another program reorders the list and takes a task out while a run converts: statuses go to
// the tasks they belong to, the task taken out is neither run nor written, and members this
// program does not use stay.
TEST_F(RunCommandTest, AListChangedDuringARunGetsStatusesByWhatTheTasksAre)
{
    saveList({TestMedia::longer(), clip, clip});
    const SharedListFile shared(listPath);
    std::string error;
    ASSERT_TRUE(shared.update(
        [](TaskList& list) {
            list.setKeptMembers(QJsonObject{{"comment", "night batch"}});
            list.at(2).kept["note"] = "from ops";
            return true;
        },
        &error))
        << error;
    QProcess process;
    startUntilExecuting(process, {"--update", "--keep-going", listPath}, 1);
    ASSERT_TRUE(shared.update(
        [](TaskList& list) {
            TaskList reordered;
            reordered.setKeptMembers(list.keptMembers());
            reordered.appendTask(std::move(list.at(2)));
            reordered.appendTask(std::move(list.at(0)));
            list = std::move(reordered);
            return true;
        },
        &error))
        << error;
    ASSERT_TRUE(process.waitForFinished(120000));
    const QString printed = QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 0) << printed.toStdString();
    EXPECT_TRUE(printed.contains("task 2 is no longer in the list; it is not run")) << printed.toStdString();
    EXPECT_FALSE(QFile::exists(output(2)));
    const TaskList after = readList();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after.at(0).outputPath, output(3).toStdString());
    EXPECT_EQ(after.at(0).status, TaskStatus::Done);
    EXPECT_EQ(after.at(1).outputPath, output(1).toStdString());
    EXPECT_EQ(after.at(1).status, TaskStatus::Done);
    EXPECT_EQ(after.keptMembers().value("comment").toString(), "night batch");
    EXPECT_EQ(after.at(0).kept.value("note").toString(), "from ops");
    EXPECT_FALSE(after.at(0).kept.contains("claim") || after.at(1).kept.contains("claim"));
}

// Plain runs of one list at once share its tasks out between them through claims.
TEST_F(RunCommandTest, RunsStartedTogetherConvertEachTaskOnce)
{
    saveList({clip, clip, clip, clip, clip, clip});
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < 3; ++i) {
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->start(cli(), {"run", "--update", "--keep-going", listPath});
    }
    std::map<int, int> converted;
    const QRegularExpression executing("Executing task (\\d+)");
    for (auto& process : runs) {
        ASSERT_TRUE(process->waitForFinished(180000));
        const QString printed = QString::fromLocal8Bit(process->readAllStandardOutput());
        EXPECT_EQ(process->exitCode(), 0) << printed.toStdString();
        for (auto match = executing.globalMatch(printed); match.hasNext();)
            ++converted[match.next().captured(1).toInt()];
    }
    EXPECT_EQ(converted, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}));
    EXPECT_EQ(statuses(), std::vector<TaskStatus>(6, TaskStatus::Done));
    EXPECT_FALSE(listBytes().contains("claim"));
}

// Lists that would destroy themselves or never end are refused before anything is written.
TEST_F(RunCommandTest, RefusesAListThatIsItsOwnOutputOrNoRegularFile)
{
    saveList({clip, clip}, {output(1), listPath});
    const QByteArray before = listBytes();
    QString printed;
    EXPECT_EQ(run({"--update", listPath}, &printed), 2);
    EXPECT_TRUE(printed.contains("Task 2 would write its output onto the task list itself")) << printed.toStdString();
    EXPECT_EQ(listBytes(), before);
    EXPECT_FALSE(QFile::exists(output(1)));

    const QString fifo = out.filePath("fifo.json");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(run({fifo}, &printed), 2);
    EXPECT_TRUE(printed.contains(fifo + " is not a regular file")) << printed.toStdString();
    EXPECT_EQ(run({"/dev/zero"}, &printed), 2);
    EXPECT_TRUE(printed.contains("/dev/zero is not a regular file")) << printed.toStdString();
}

// Tasks never write over each other, nor over a FIFO or a device.
TEST_F(RunCommandTest, RefusesOutputsThatMeetOrAreNoRegularFiles)
{
    saveList({clip, clip}, {output(1), out.filePath("./out1.mpg")});
    QString printed;
    EXPECT_EQ(run({listPath}, &printed), 2);
    EXPECT_TRUE(printed.contains("Task 2 would write " + out.filePath("./out1.mpg") + ", which task 1 writes."))
        << printed.toStdString();
    EXPECT_FALSE(QFile::exists(output(1)));

    const QString fifo = out.filePath("fifo.mpg");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    std::vector<QString> outputs{fifo};
    const QString device = out.filePath("null.mpg");
    if (::geteuid() == 0) {
        ASSERT_EQ(::mknod(device.toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
        outputs.push_back(device);
    }
    saveList(std::vector<std::string>(outputs.size(), clip), outputs);
    EXPECT_EQ(run({"--keep-going", listPath}, &printed), 1);
    struct stat st {};
    for (const QString& special : outputs) {
        EXPECT_TRUE(printed.contains(special + " is not a regular file")) << printed.toStdString();
        ASSERT_EQ(::stat(special.toLocal8Bit().constData(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode)) << special.toStdString();
    }

    // One folder for sources of one base name: the later outputs are numbered.
    QDir(out.path()).mkpath("a");
    QDir(out.path()).mkpath("b");
    QDir(out.path()).mkpath("each");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(clip), out.filePath("a/clip.mpg")));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(clip), out.filePath("b/clip.mpg")));
    QProcess convert;
    convert.start(cli(), {"convert", "--to", "vcd", "--each", "-o", out.filePath("each") + "/",
                          out.filePath("a/clip.mpg"), out.filePath("b/clip.mpg")});
    ASSERT_TRUE(convert.waitForFinished(120000));
    EXPECT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    EXPECT_EQ(QDir(out.filePath("each")).entryList(QDir::Files),
              (QStringList{"clip_2_output.mpg", "clip_output.mpg"}));
}

// A small file system mounted in the test's folder: read-only, or full to its last byte.
class SmallDisk {
public:
    SmallDisk(const QString& path, bool readOnly) : path_(path.toStdString())
    {
        ::mkdir(path_.c_str(), 0755);
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount(path_.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    void fill() const
    {
        std::ofstream filler(path_ + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), std::streamsize(block.size())) && filler.flush()) {
        }
    }

private:
    std::string path_;
    bool mounted_ = false;
};

// Every command says why it cannot write, in the same words: a read-only disk, a full one (also
// when the list itself is to be updated) and a path holding a NUL, named in full.
TEST_F(RunCommandTest, EveryCommandSaysWhyItCannotWrite)
{
    const SmallDisk readOnly(out.filePath("ro"), true);
    const SmallDisk full(out.filePath("full"), false);
    if (!readOnly.mounted() || !full.mounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    const QString ro = out.filePath("ro/");
    const QString disk = out.filePath("full/");
    const QString nulList = out.filePath("nul.json");
    listPath = nulList;
    saveList({clip}, {out.filePath("a") + QChar(0) + "b.mpg"});
    listPath = disk + "list.json";
    saveList({clip});
    full.fill();
    const QString source = QString::fromStdString(clip);
    struct Row {
        QStringList args;
        int status;
        QString reason;
    };
    const Row rows[] = {
        {{"convert", "--to", "vcd", "-o", ro + "out.mpg", source}, 1,
         "The output file path cannot be used (Read-only file system): " + ro + "out.mpg"},
        {{"audio", "--wav", "-o", ro, source}, 1, "cannot write beside " + ro + "run-clip.wav: Read-only file system"},
        {{"frames", "--to", "1", "-o", ro, source}, 1, "cannot write beside " + ro + "run-clip_1.bmp: Read-only file system"},
        {{"convert", "--to", "vcd", "-o", disk + "out.mpg", source}, 1, "the disk is full while writing " + disk + "out.mpg"},
        {{"frames", "--to", "1", "-o", disk, source}, 1, "the disk is full while writing " + disk + "run-clip_1.bmp"},
        {{"run", "--update", listPath}, 1, "cannot lock the list for writing: the disk is full"},
        {{"run", nulList}, 2,
         "task 1, field \"output\": the path " + out.filePath("a") + "\\0b.mpg contains a NUL character"},
    };
    for (const Row& row : rows) {
        const std::string asked = row.args.join(' ').toStdString();
        QString printed;
        EXPECT_EQ(command(row.args, &printed), row.status) << asked;
        EXPECT_TRUE(printed.contains(row.reason)) << asked << ":\n" << printed.toStdString();
    }
}

}  // namespace
