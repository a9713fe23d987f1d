// The main window converting for real: tasks added through the Add command and the task
// editor, executed by the real conversion control on small generated media.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstring>
#include <functional>

extern "C" {
#include <libavformat/avformat.h>
}

#include "ScriptedPrompts.h"
#include "dudidevar/DudidEvarControl.h"
#include "editor/TaskEditorDialog.h"
#include "engine/ControlClassRegistry.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "skin/CHoverButton.h"
#include "skin/CSkinButton.h"
#include "tasks/TaskList.h"
#include "tasks/TaskListFile.h"

class MainWindowTestPeer {
public:
    static TaskExecution::State State(const MainWindow& window) { return window.execution.state(); }
};

namespace {

struct MediaInfo {
    std::string format;
    double seconds = 0.0;
    std::string videoCodec;
    int width = 0;
    int height = 0;
};

// What libavformat reads of a file; an empty format when it cannot be opened.
MediaInfo probe(const std::string& path)
{
    MediaInfo info;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
        return info;
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> context(
        raw, [](AVFormatContext* c) { avformat_close_input(&c); });
    if (avformat_find_stream_info(context.get(), nullptr) < 0)
        return info;
    info.format = context->iformat->name;
    if (context->duration != AV_NOPTS_VALUE)
        info.seconds = double(context->duration) / AV_TIME_BASE;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters* p = context->streams[i]->codecpar;
        if (p->codec_type == AVMEDIA_TYPE_VIDEO) {
            info.videoCodec = avcodec_get_name(p->codec_id);
            info.width = p->width;
            info.height = p->height;
        }
    }
    return info;
}

class MainWindowRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ControlClassRegistry::instance().registerClass(
            kDudidEvarClassId, [](QWidget* parent) -> std::unique_ptr<IConversionControl> {
                return std::make_unique<DudidEvarControl>(parent);
            });
        InstallDir::set("");
        ASSERT_TRUE(folder.isValid());
    }
    void TearDown() override { ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId); }

    std::string path(const char* name) const { return QDir(folder.path()).filePath(name).toStdString(); }

    // A clip with sound made by the ffmpeg program.
    std::string generate(const char* name, const char* size, int seconds, int rate)
    {
        const std::string out = path(name);
        const QString video = QString("testsrc2=size=%1:rate=%2:duration=%3").arg(size).arg(rate).arg(seconds);
        const QString sound = QString("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds);
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i", video, "-f", "lavfi",
                                "-i", sound, "-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame", "-shortest",
                                QString::fromStdString(out)});
        EXPECT_TRUE(ffmpeg.waitForFinished(60000));
        EXPECT_EQ(ffmpeg.exitCode(), 0);
        return out;
    }

    template <typename T = QWidget>
    static T* byId(const QWidget& owner, int id)
    {
        return owner.findChild<T*>(QString::number(id));
    }

    // Add: the file dialog answers the source, the editor is filled by `fill` and confirmed.
    void addTask(MainWindow& window, const std::string& source, const std::function<void(TaskEditorDialog&)>& fill)
    {
        prompts->files.push_back(QString::fromStdString(source));
        QTimer::singleShot(0, [&fill] {
            auto* editor = qobject_cast<TaskEditorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            fill(*editor);
            byId<CSkinButton>(*editor, 1)->click();
        });
        byId<CHoverButton>(window, MainWindow::AddId)->click();
    }

    static QString cell(const MainWindow& window, int row, int column)
    {
        const QTreeWidgetItem* item = byId<QTreeWidget>(window, MainWindow::TaskListId)->topLevelItem(row);
        return item ? item->text(column) : QString();
    }

    static bool waitForIdle(const MainWindow& window, int timeoutMs)
    {
        return QTest::qWaitFor(
            [&] { return MainWindowTestPeer::State(window) != TaskExecution::State::Running; }, timeoutMs);
    }

    QTemporaryDir folder;
    ScopedPrompts prompts;
    TaskList tasks;
};

TEST_F(MainWindowRunTest, DvdTaskAndSplitAviTaskConvertAndTheirRowsReadDone)
{
    const std::string dvdSource = generate("dvd-source.avi", "320x240", 3, 25);
    const std::string splitSource = generate("split-source.avi", "160x120", 32, 10);
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    window.show();

    addTask(window, dvdSource, [this](TaskEditorDialog& editor) {
        byId<CSkinButton>(editor, OutputKinds::buttonId(OutputKind::Dvd))->click();
        byId<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("disc.mpg")));
    });
    addTask(window, splitSource, [this](TaskEditorDialog& editor) {
        byId<QCheckBox>(editor, 1062)->setChecked(true);
        byId<QComboBox>(editor, 1100)->setCurrentIndex(0);  // 15 seconds
        byId<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("parts.avi")));
    });
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(cell(window, 1, 2), "To AVI (Split every 15 seconds)");

    byId<CHoverButton>(window, MainWindow::ExecuteId)->click();
    ASSERT_TRUE(waitForIdle(window, 120000));
    EXPECT_EQ(MainWindowTestPeer::State(window), TaskExecution::State::Idle);
    EXPECT_TRUE(prompts->shown.empty());

    const MediaInfo disc = probe(path("disc.mpg"));
    EXPECT_EQ(disc.format, "mpeg");
    EXPECT_EQ(disc.videoCodec, "mpeg2video");
    EXPECT_EQ(disc.width, 720);
    EXPECT_NEAR(disc.seconds, 3.0, 0.3);

    const double partSeconds[] = {15.0, 15.0, 2.0};
    const char* partNames[] = {"parts.avi", "parts_001.avi", "parts_002.avi"};
    for (int i = 0; i < 3; ++i) {
        const MediaInfo part = probe(path(partNames[i]));
        EXPECT_EQ(part.format, "avi") << partNames[i];
        EXPECT_NEAR(part.seconds, partSeconds[i], 0.3) << partNames[i];
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("parts_003.avi"))));
    EXPECT_EQ(cell(window, 0, 1), "Done");
    EXPECT_EQ(cell(window, 1, 1), "Done");
    EXPECT_TRUE(byId(window, MainWindow::AddId)->isEnabled());
}

TEST_F(MainWindowRunTest, ClosingTheWindowDuringARunLeavesNoPartialFile)
{
    const std::string source = generate("long-source.avi", "640x360", 20, 25);
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    auto window = std::make_unique<MainWindow>(tasks);
    ASSERT_TRUE(window->Create());
    window->show();
    addTask(*window, source, [this](TaskEditorDialog& editor) {
        byId<CSkinButton>(editor, OutputKinds::buttonId(OutputKind::Dvd))->click();
        byId<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("unfinished.mpg")));
    });
    byId<CHoverButton>(*window, MainWindow::ExecuteId)->click();
    auto* bar = byId<QProgressBar>(*window, MainWindow::ProgressId);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->value() > 0; }, 60000));
    ASSERT_EQ(MainWindowTestPeer::State(*window), TaskExecution::State::Running);

    window->close();
    window.reset();
    QTest::qWait(200);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);
    EXPECT_EQ(tasks.at(0).settings, nullptr);
}

}  // namespace

namespace {

// A list saved in the window and run by marvane-cli: the same records, the same outputs.
TEST_F(MainWindowRunTest, ListSavedInTheWindowRunsTheSameInTheCompanion)
{
    const std::string first = generate("first.avi", "160x120", 2, 25);
    const std::string second = generate("second.avi", "160x120", 1, 25);
    MainWindow window(tasks);
    ASSERT_TRUE(window.Create());
    window.show();
    addTask(window, first, [this, &second](TaskEditorDialog& editor) {
        editor.AddSource(second);
        byId<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("joined.avi")));
    });
    addTask(window, second, [this](TaskEditorDialog& editor) {
        byId<CSkinButton>(editor, OutputKinds::buttonId(OutputKind::Vcd))->click();
        byId<QLineEdit>(editor, 1060)->setText(QString::fromStdString(path("disc.mpg")));
    });
    ASSERT_EQ(tasks.size(), 2u);

    const QString saved = QString::fromStdString(path("list.json"));
    prompts->saveFiles.push_back(saved);
    CHoverButton::InstallMenuRunner([](QMenu& menu, const QPoint&) -> QAction* {
        for (QAction* action : menu.actions())
            if (action->data().toInt() == MainWindow::SaveTaskListCommand)
                return action;
        return nullptr;
    });
    byId<CHoverButton>(window, MainWindow::ToolsId)->click();
    QCoreApplication::processEvents();
    CHoverButton::InstallMenuRunner({});
    std::vector<ConversionTask> read;
    std::string error;
    ASSERT_TRUE(TaskListFile::load(saved, &read, &error)) << error;
    ASSERT_EQ(read.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read[i].sources, tasks.at(i).sources);
        EXPECT_EQ(read[i].outputPath, tasks.at(i).outputPath);
        EXPECT_EQ(std::memcmp(read[i].settings.get(), tasks.at(i).settings.get(), sizeof(TaskSettings)), 0) << i;
    }

    byId<CHoverButton>(window, MainWindow::ExecuteId)->click();
    ASSERT_TRUE(waitForIdle(window, 120000));
    ASSERT_EQ(cell(window, 1, 1), "Done");
    const MediaInfo windowJoined = probe(path("joined.avi"));
    const MediaInfo windowDisc = probe(path("disc.mpg"));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path("joined.avi"))));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path("disc.mpg"))));

    QProcess cli;
    cli.start(qEnvironmentVariable("MARVANE_TEST_BIN") + "/marvane-cli", {"run", saved});
    ASSERT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    for (const auto& [name, fromWindow] : {std::pair{"joined.avi", windowJoined}, std::pair{"disc.mpg", windowDisc}}) {
        const MediaInfo fromCli = probe(path(name));
        EXPECT_EQ(fromCli.format, fromWindow.format) << name;
        EXPECT_EQ(fromCli.videoCodec, fromWindow.videoCodec) << name;
        EXPECT_EQ(fromCli.width, fromWindow.width) << name;
        EXPECT_EQ(fromCli.height, fromWindow.height) << name;
        EXPECT_NEAR(fromCli.seconds, fromWindow.seconds, 0.05) << name;
    }
    EXPECT_NEAR(windowJoined.seconds, 3.0, 0.3);
}

}  // namespace
