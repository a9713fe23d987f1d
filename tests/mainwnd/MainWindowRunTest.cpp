// SPDX-License-Identifier: GPL-3.0-or-later
// The main window converting for real: tasks added through the Add command and the task
// editor, executed by the real conversion control on small generated media.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QProgressBar>
#include <QTest>

#include "ScriptedWindowFixture.h"
#include "TestMedia.h"
#include "dudidevar/control/DudidEvarControl.h"
#include "tasks/TaskList.h"

class MainWindowTestPeer {
public:
    static TaskExecution::State State(const MainWindow& window) { return window.execution.state(); }
};

namespace {

// A clip with sound, made by the ffmpeg program once for every test program.
std::string generate(const std::string& size, int seconds, int rate)
{
    const std::string name = "window-" + size + "-" + std::to_string(seconds) + "s-" + std::to_string(rate) + ".avi";
    const std::string video = "testsrc2=size=" + size + ":rate=" + std::to_string(rate) +
                              ":duration=" + std::to_string(seconds);
    const std::string sound = "sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds);
    return TestMedia::made(name, {"-f", "lavfi", "-i", video, "-f", "lavfi", "-i", sound, "-c:v", "mpeg4", "-q:v",
                                  "5", "-c:a", "libmp3lame", "-shortest"});
}

// The main window on the real conversion control.
class MainWindowRunTest : public ScriptedWindowFixture {
protected:
    void SetUp() override
    {
        ScriptedWindowFixture::SetUp();
        ControlClassRegistry::instance().registerClass(
            kDudidEvarClassId, [](QWidget* parent) -> std::unique_ptr<IConversionControl> {
                return std::make_unique<DudidEvarControl>(parent);
            });
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<MainWindow>(tasks);
        ASSERT_TRUE(window->Create());
        window->show();
    }

    std::string path(const char* name) const { return QDir(folder.path()).filePath(name).toStdString(); }
    template <typename T = QWidget>
    static T* in(const QWidget& owner, int id) { return owner.findChild<T*>(QString::number(id)); }

    // Add: the file dialog answers the source, the editor is filled by `fill` and confirmed.
    void addTask(const std::string& source, std::function<void(TaskEditorDialog&)> fill)
    {
        prompts->files.push_back(QString::fromStdString(source));
        onEditor([fill](TaskEditorDialog& editor) {
            fill(editor);
            pressOk(editor);
        });
        click(MainWindow::AddId);
    }

    bool waitForIdle(int timeoutMs) const
    {
        return QTest::qWaitFor(
            [&] { return MainWindowTestPeer::State(*window) != TaskExecution::State::Running; }, timeoutMs);
    }

    TaskList tasks;
};

TEST_F(MainWindowRunTest, DvdTaskAndSplitAviTaskConvertAndTheirRowsReadDone)
{
    const std::string dvdSource = generate("320x240", 3, 25);
    const std::string splitSource = generate("160x120", 32, 10);

    addTask(dvdSource, [this](TaskEditorDialog& editor) {
        in<CSkinButton>(editor, OutputKinds::buttonId(OutputKind::Dvd))->click();
        in<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("disc.mpg")));
    });
    addTask(splitSource, [this](TaskEditorDialog& editor) {
        in<QCheckBox>(editor, 1062)->setChecked(true);
        in<QComboBox>(editor, 1100)->setCurrentIndex(0);  // 15 seconds
        in<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("parts.avi")));
    });
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(cell(1, 2), "To AVI (Split every 15 seconds)");

    click(MainWindow::ExecuteId);
    ASSERT_TRUE(waitForIdle(120000));
    EXPECT_EQ(MainWindowTestPeer::State(*window), TaskExecution::State::Idle);
    EXPECT_TRUE(prompts->shown.empty());

    const TestMedia::Info disc = TestMedia::probe(path("disc.mpg"));
    EXPECT_EQ(disc.format, "mpeg");
    ASSERT_NE(disc.video(), nullptr);
    EXPECT_EQ(disc.video()->codec, "mpeg2video");
    EXPECT_EQ(disc.video()->width, 720);
    EXPECT_NEAR(disc.duration, 3.0, 0.3);

    const double partSeconds[] = {15.0, 15.0, 2.0};
    const char* partNames[] = {"parts.avi", "parts_001.avi", "parts_002.avi"};
    for (int i = 0; i < 3; ++i) {
        const TestMedia::Info part = TestMedia::probe(path(partNames[i]));
        EXPECT_EQ(part.format, "avi") << partNames[i];
        EXPECT_NEAR(part.duration, partSeconds[i], 0.3) << partNames[i];
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("parts_003.avi"))));
    EXPECT_EQ(cell(0, 1), "Done");
    EXPECT_EQ(cell(1, 1), "Done");
    EXPECT_TRUE(byId(MainWindow::AddId)->isEnabled());
}

TEST_F(MainWindowRunTest, ClosingTheWindowDuringARunLeavesNoPartialFile)
{
    const std::string source = generate("640x360", 20, 25);
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    addTask(source, [this](TaskEditorDialog& editor) {
        in<CSkinButton>(editor, OutputKinds::buttonId(OutputKind::Dvd))->click();
        in<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("unfinished.mpg")));
    });
    click(MainWindow::ExecuteId);
    auto* bar = byId<QProgressBar>(MainWindow::ProgressId);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->value() > 0; }, 60000));
    ASSERT_EQ(MainWindowTestPeer::State(*window), TaskExecution::State::Running);

    window->close();
    window.reset();
    QTest::qWait(200);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);
    EXPECT_EQ(tasks.at(0).settings, nullptr);
}

// A list saved in the window and run by marvane-cli: the same records, the same outputs.
TEST_F(MainWindowRunTest, ListSavedInTheWindowRunsTheSameInTheCompanion)
{
    const std::string first = generate("160x120", 2, 25);
    const std::string second = generate("160x120", 1, 25);
    addTask(first, [this, &second](TaskEditorDialog& editor) {
        editor.AddSource(second);
        in<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("joined.avi")));
    });
    addTask(second, [this](TaskEditorDialog& editor) {
        in<CSkinButton>(editor, OutputKinds::buttonId(OutputKind::Vcd))->click();
        in<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("disc.mpg")));
    });
    ASSERT_EQ(tasks.size(), 2u);

    const QString saved = QString::fromStdString(path("list.json"));
    prompts->saveFiles.push_back(saved);
    chooseTool(MainWindow::SaveTaskListCommand);

    click(MainWindow::ExecuteId);
    ASSERT_TRUE(waitForIdle(120000));
    ASSERT_EQ(cell(1, 1), "Done");
    const TestMedia::Info windowJoined = TestMedia::probe(path("joined.avi"));
    const TestMedia::Info windowDisc = TestMedia::probe(path("disc.mpg"));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path("joined.avi"))));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path("disc.mpg"))));

    QProcess cli;
    cli.start(qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli", {"run", saved});
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    for (const auto& [name, fromWindow] : {std::pair{"joined.avi", windowJoined}, std::pair{"disc.mpg", windowDisc}}) {
        const TestMedia::Info fromCli = TestMedia::probe(path(name));
        ASSERT_TRUE(fromCli.video() && fromWindow.video()) << name;
        EXPECT_EQ(fromCli.format, fromWindow.format) << name;
        EXPECT_EQ(fromCli.video()->codec, fromWindow.video()->codec) << name;
        EXPECT_EQ(fromCli.video()->width, fromWindow.video()->width) << name;
        EXPECT_EQ(fromCli.video()->height, fromWindow.video()->height) << name;
        EXPECT_NEAR(fromCli.duration, fromWindow.duration, 0.05) << name;
    }
    EXPECT_NEAR(windowJoined.duration, 3.0, 0.3);
}

}  // namespace
