// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>
#include <QDir>
#include <QRadioButton>
#include <QStyle>
#include <fstream>
#include <sstream>

#include "EditorFixture.h"
#include "FileDrop.h"
#include "editor/AviSettingsPanel.h"
#include "editor/Mp4SettingsPanel.h"
#include "editor/MpegSettingsPanel.h"
#include "editor/WmvProfilePanel.h"
#include "platform/FileFilter.h"

namespace {

std::string contentsOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct timespec modifiedTime(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtim;
}

}  // namespace

using OutputPaths = EditorFixture;

TEST_F(OutputPaths, DefaultFollowsKindAndFirstSourceAndATypedPathStaysUntilAKindIsPicked)
{
    auto d = openNew("/clips/holiday.mpg");
    EXPECT_EQ(output(*d)->text(), "/clips/holiday_output.avi");
    pickKind(*d, OutputKind::Dvd);
    EXPECT_EQ(output(*d)->text(), "/clips/holiday_output.mpg");
    pickKind(*d, OutputKind::Wmv);
    EXPECT_EQ(output(*d)->text(), "/clips/holiday_output.wmv");

    output(*d)->setText("/elsewhere/mine.avi");
    prompts_->files.push_back("/clips/second.mpg");
    click(*d, 1057);
    click(*d, 1037);
    click(*d, 1058);
    EXPECT_EQ(output(*d)->text(), "/elsewhere/mine.avi");
    pickKind(*d, OutputKind::Avi);
    EXPECT_EQ(output(*d)->text(), "/clips/holiday_output.avi");
}

TEST_F(OutputPaths, BrowseTakesTheFolderWithOneSeparatorAndKeepsTheBaseName)
{
    auto d = openNew("/clips/holiday.mpg");
    output(*d)->setText("/clips/typed.avi");
    prompts_->folders = {"/", "/media/out", "/media/out2/", ""};
    click(*d, 1061);
    EXPECT_EQ(prompts_->folderTitles.back(), "Select Output Directory");
    EXPECT_EQ(output(*d)->text(), "/holiday_output.avi");
    click(*d, 1061);
    EXPECT_EQ(output(*d)->text(), "/media/out/holiday_output.avi");
    click(*d, 1061);
    pickKind(*d, OutputKind::Svcd);
    EXPECT_EQ(output(*d)->text(), "/media/out2/holiday_output.mpg");
    click(*d, 1061);  // cancelled
    EXPECT_EQ(output(*d)->text(), "/media/out2/holiday_output.mpg");
}

TEST_F(OutputPaths, RefusesWithTheReasonBelowTheMessage)
{
    const std::string source = dir() + "holiday.mpg";
    std::ofstream(source) << "source";
    auto d = openNew(source);
    const std::string fifo = dir() + "pipe.avi";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/null", "/dev/null is not a regular file"},
        {fifo, fifo + " is not a regular file"},
        {dir() + "missing/out.avi", "No such folder"},
        {source + "/out.avi", "No such folder"},
        {std::string(), "No file name"},
        {source, source + " is one of the task's sources"},
        {dir(), dir() + " is a folder"},
    };
    for (const auto& [path, reason] : cases) {
        output(*d)->setText(QString::fromStdString(path));
        EXPECT_FALSE(pressOk(*d)) << path;
        ASSERT_FALSE(prompts_->shown.empty());
        EXPECT_EQ(prompts_->shown.back().text.toStdString(), std::string(TaskEditorDialog::kPathMessage) + "\n" + reason);
    }
    EXPECT_EQ(prompts_->shown.size(), std::size(cases));
    EXPECT_EQ(prompts_->shown.back().caption, QCoreApplication::applicationName());
    EXPECT_EQ(prompts_->shown.back().icon, PromptIcon::Information);
    EXPECT_EQ(prompts_->shown.back().buttons, PromptButtons::Ok);
    EXPECT_EQ(contentsOf(source), "source");
    EXPECT_TRUE(tasks_.empty());
    EXPECT_TRUE(d->isVisible());
}

TEST_F(OutputPaths, AFileAnotherTaskWritesIsRefusedNamingThatTask)
{
    const std::string source = dir() + "holiday.mpg";
    auto dvd = openNew(source);
    pickKind(*dvd, OutputKind::Dvd);
    ASSERT_TRUE(pressOk(*dvd));

    auto vcd = openNew(source);
    pickKind(*vcd, OutputKind::Vcd);
    EXPECT_FALSE(pressOk(*vcd));
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text.toStdString(), "Task 1 of the list (To DVD, " + source + ") already writes\n" +
                                                         dir() + "holiday_output.mpg\nPlease choose another output path.");
    EXPECT_EQ(tasks_.size(), 1u);
    EXPECT_TRUE(vcd->isVisible());
    output(*vcd)->setText(QString::fromStdString(dir() + "holiday_vcd.mpg"));
    ASSERT_TRUE(pressOk(*vcd));

    // The edited task's own files do not count.
    ASSERT_TRUE(pressOk(*openEdit(0)));

    auto split = openNew(dir() + "long.mpg");
    EditorFixture::split(*split)->click();
    ASSERT_TRUE(pressOk(*split));
    auto part = openNew(dir() + "other.mpg");
    output(*part)->setText(QString::fromStdString(dir() + "long_output_002.avi"));
    EXPECT_FALSE(pressOk(*part));
    EXPECT_TRUE(prompts_->shown.back().text.startsWith("Task 3 of the list (To AVI, "));
    EXPECT_EQ(tasks_.size(), 3u);
}

TEST_F(OutputPaths, AsksBeforeAnExistingFileIsReplacedAndLeavesItAsItWas)
{
    const std::string existing = dir() + "existing.avi";
    std::ofstream(existing) << "keep me";
    const timespec before = modifiedTime(existing);
    auto d = openNew(dir() + "holiday.mpg");
    output(*d)->setText(QString::fromStdString(existing));
    prompts_->answers = {PromptAnswer::No};
    EXPECT_FALSE(pressOk(*d));
    EXPECT_TRUE(tasks_.empty());
    ASSERT_FALSE(prompts_->shown.empty());
    EXPECT_EQ(prompts_->shown.back().text.toStdString(), existing + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(prompts_->shown.back().buttons, PromptButtons::YesNo);
    prompts_->answers = {PromptAnswer::Yes};
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(contentsOf(existing), "keep me");
    EXPECT_EQ(modifiedTime(existing).tv_sec, before.tv_sec);
    EXPECT_EQ(modifiedTime(existing).tv_nsec, before.tv_nsec);

    auto fresh = openNew(dir() + "holiday.mpg");
    ASSERT_TRUE(pressOk(*fresh));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir() + "holiday_output.avi")));
    EXPECT_EQ(tasks_.size(), 2u);
}

TEST_F(OutputPaths, NoSourceIsRefused)
{
    TaskEditorDialog d(control_, tasks_);
    d.show();
    output(d)->setText(QString::fromStdString(dir() + "out.avi"));
    EXPECT_FALSE(pressOk(d));
    EXPECT_EQ(prompts_->shown.back().text, TaskEditorDialog::kNoSourceMessage);
    EXPECT_TRUE(tasks_.empty());
}

// A number typed that the kind cannot carry is refused with its limit, and the dialog stays.
TEST_F(OutputPaths, ABitRateTheKindCannotCarryIsRefusedWithItsLimit)
{
    auto d = openNew(dir() + "holiday.mpg");
    pickKind(*d, OutputKind::Dvd);
    QLineEdit* videoBitRate = in<QLineEdit>(d->findChild<MpegSettingsPanel*>(), 1074);
    videoBitRate->setText("9500");
    EXPECT_FALSE(pressOk(*d));
    EXPECT_EQ(prompts_->shown.back().text.toStdString(),
              "DVD video carries at most 9000 kbit/s, not 9500.\nPlease choose another setting.");
    EXPECT_TRUE(tasks_.empty());
    videoBitRate->setText("9000");
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings->videoBitRate, 9000);
}

using SourceList = EditorFixture;

TEST_F(SourceList, AddRemoveAndMoveActOnTheCurrentRowAndOkStoresTheRowsAsAJoin)
{
    const auto path = [this](const char* name) { return QString::fromStdString(dir() + name); };
    auto d = openNew(dir() + "a.mpg");
    click(*d, 1058);  // one row: nothing happens
    EXPECT_EQ(rowTexts(*d), std::vector<QString>{path("a.mpg")});

    prompts_->files = {path("b.mpg"), "", path("c.mpg")};
    click(*d, 1057);
    EXPECT_EQ(prompts_->fileFilters.back(), QString::fromLatin1(FileFilter::kSourceVideoFilter));
    click(*d, 1057);  // cancelled
    click(*d, 1057);
    EXPECT_EQ(selectedRow(*d), 2);
    click(*d, 1037);
    click(*d, 1037);
    click(*d, 1037);  // already first
    EXPECT_EQ(rowTexts(*d), (std::vector<QString>{path("c.mpg"), path("a.mpg"), path("b.mpg")}));
    EXPECT_EQ(selectedRow(*d), 0);

    QTreeWidget* list = sources(*d);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(list->topLevelItem(2)).center());
    click(*d, 1038);  // already last
    click(*d, 1058);
    EXPECT_EQ(selectedRow(*d), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(selectedRow(*d), 1);
    ASSERT_TRUE(pressOk(*d));
    ASSERT_EQ(tasks_.size(), 1u);
    EXPECT_EQ(tasks_.at(0).sources, (std::vector<std::string>{dir() + "c.mpg", dir() + "a.mpg"}));
    EXPECT_EQ(tasks_.at(0).outputPath, dir() + "a_output.avi");
}

// The "+" takes several files in the order picked, and files dropped on the editor join the
// list too (other files are left out); every button that shows only an icon says what it does.
TEST_F(SourceList, SeveralPickedOrDroppedFilesJoinInTheirOrder)
{
    const auto path = [this](const char* name) { return QString::fromStdString(dir() + name); };
    for (const char* name : {"d.mpg", "e.MOV", "notes.txt"})
        std::ofstream(dir() + name) << "made";
    auto d = openNew(dir() + "a.mpg");
    prompts_->fileLists = {{path("c.mpg"), path("b.mpg")}};
    click(*d, 1057);
    EXPECT_EQ(rowTexts(*d), (std::vector<QString>{path("a.mpg"), path("c.mpg"), path("b.mpg")}));
    EXPECT_EQ(selectedRow(*d), 2);
    EXPECT_FALSE(split(*d)->isEnabled());

    EXPECT_TRUE(dropFiles(*sources(*d), {path("e.MOV"), path("notes.txt"), path("d.mpg")}));
    EXPECT_EQ(rowTexts(*d), (std::vector<QString>{path("a.mpg"), path("c.mpg"), path("b.mpg"), path("e.MOV"),
                                                  path("d.mpg")}));
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).sources.size(), 5u);

    auto shown = openNew(dir() + "a.mpg");
    for (const int id : {1057, 1058, 1037, 1038})
        EXPECT_FALSE(in<QWidget>(shown.get(), id)->toolTip().isEmpty()) << id;
    EXPECT_FALSE(in<QWidget>(shown->findChild<AviSettingsPanel*>(), 1029)->toolTip().isEmpty());
}

// A 1000-pixel screen at twice the scale leaves 500 pixels, and less with a panel: the editor,
// framed, fits with every control inside it and none over another.
TEST_F(SourceList, ShortScreenGetsAShorterEditorWithEveryControlInsideAndApart)
{
    for (const int room : {500, 490}) {
        SCOPED_TRACE(room);
        auto d = openNew(dir() + "a.mpg");
        const int height = d->height();
        d->FitIntoHeight(10000);
        EXPECT_EQ(d->height(), height);

        const int framed = d->frameGeometry().height() > d->height()
                               ? d->frameGeometry().height() - d->height()
                               : d->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
        d->FitIntoHeight(room);
        EXPECT_LE(d->height() + framed, room);
        QList<QWidget*> shown;
        for (QWidget* child : d->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (child->isVisible() && !child->geometry().isEmpty())
                shown << child;
        for (const QWidget* one : shown) {
            EXPECT_TRUE(d->rect().contains(one->geometry())) << one->objectName().toStdString();
            for (const QWidget* other : shown) {
                const bool nested = one->geometry().contains(other->geometry()) ||
                                    other->geometry().contains(one->geometry());
                if (one != other && !nested) {
                    EXPECT_FALSE(one->geometry().intersects(other->geometry()))
                        << one->objectName().toStdString() << " over " << other->objectName().toStdString();
                }
            }
        }
    }
}

using SplitSetting = EditorFixture;

TEST_F(SplitSetting, ASecondSourceLocksSplitAndRemovalFreesItUnchecked)
{
    auto d = openNew(dir() + "a.mpg");
    EXPECT_TRUE(split(*d)->isEnabled());
    EXPECT_FALSE(intervals(*d)->isEnabled());
    EXPECT_EQ(intervals(*d)->currentText(), "30 minutes");
    split(*d)->click();
    EXPECT_TRUE(intervals(*d)->isEnabled());
    intervals(*d)->setCurrentIndex(4);
    prompts_->folders = {QString::fromStdString(dir()), QString::fromStdString(dir())};
    click(*d, 1061);
    EXPECT_TRUE(split(*d)->isChecked());
    EXPECT_EQ(intervals(*d)->currentText(), "5 minutes");

    prompts_->files = {"/clips/b.mpg"};
    click(*d, 1057);
    EXPECT_FALSE(split(*d)->isChecked());
    EXPECT_FALSE(split(*d)->isEnabled());
    EXPECT_FALSE(intervals(*d)->isEnabled());
    click(*d, 1061);
    EXPECT_FALSE(split(*d)->isEnabled());

    click(*d, 1058);
    EXPECT_TRUE(split(*d)->isEnabled());
    EXPECT_FALSE(split(*d)->isChecked());
    EXPECT_FALSE(intervals(*d)->isEnabled());
    split(*d)->click();
    intervals(*d)->setCurrentIndex(4);
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings->split, 1);
    EXPECT_EQ(tasks_.at(0).settings->splitSeconds, 300);
}

using EditingTasks = EditorFixture;

namespace {

std::string recordText(const TaskSettings& s)
{
    std::ostringstream out;
    out << "format " << static_cast<int>(s.format) << " size " << s.width << "x" << s.height << " keep "
        << s.keepSourceSize << " split " << s.split << "/" << s.splitSeconds << " videoOnly " << s.videoOnly
        << " rate " << s.frameRate << " compressors " << s.videoCompressor << "/" << s.audioCompressor << " wmv "
        << s.wmvProfile << " mpegRate " << s.mpegFrameRateIndex << " vbr " << s.vbr << "/" << s.vbrQuality
        << " bitRates " << s.videoBitRate << "/" << s.audioBitRate << " mp4 " << s.videoCodec << "/" << s.quality
        << "/" << s.speed;
    return out.str();
}

// Every field set, to values the editor itself writes for that kind; the fields the kind's
// panel does not write hold values of an earlier kind.
TaskSettings record(OutputFormat format, std::int32_t width, std::int32_t height, std::int32_t keep, float rate,
                    std::int32_t videoCompressor, std::int32_t audioCompressor, std::int32_t wmvProfile,
                    std::int32_t mpegRate, std::int32_t vbr, std::int32_t quality, std::int32_t videoBitRate,
                    std::int32_t audioBitRate, std::int32_t videoOnly, std::int32_t split, std::int32_t splitSeconds)
{
    TaskSettings s;
    s.format = format;
    s.width = width;
    s.height = height;
    s.keepSourceSize = keep;
    s.frameRate = rate;
    s.videoCompressor = videoCompressor;
    s.audioCompressor = audioCompressor;
    s.wmvProfile = wmvProfile;
    s.mpegFrameRateIndex = mpegRate;
    s.vbr = vbr;
    s.vbrQuality = quality;
    s.videoBitRate = videoBitRate;
    s.audioBitRate = audioBitRate;
    s.videoOnly = videoOnly;
    s.split = split;
    s.splitSeconds = splitSeconds;
    return s;
}

TaskSettings mp4(TaskSettings s, std::int32_t codec, std::int32_t quality, std::int32_t speed)
{
    s.videoCodec = codec;
    s.quality = quality;
    s.speed = speed;
    return s;
}

}  // namespace

TEST_F(EditingTasks, OpenAsStoredAndOkWithoutAChangeKeepsEveryFieldOfEveryKind)
{
    using F = OutputFormat;
    struct Case {
        const char* name;
        OutputKind kind;
        TaskSettings stored;
        bool panelShowsAll;  // false: values outside the lists, kept by OK all the same
    };
    const Case cases[] = {
        {"avi", OutputKind::Avi, record(F::Avi, 640, 352, 0, 25.0f, 2, 0, 2, 4, 1, 55, 3000, 128, 1, 1, 120), true},
        {"avi original size", OutputKind::Avi, record(F::Avi, 0, 0, 1, 60.0f, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0), true},
        {"dvd pal vbr", OutputKind::Dvd, record(F::DvdPal, 720, 576, 0, 15.0f, 1, 1, 0, 2, 1, 70, 5000, 128, 0, 1, 300), true},
        {"dvd ntsc bit rate", OutputKind::Dvd, record(F::DvdNtsc, 720, 480, 0, 0.0f, 0, 0, 0, 3, 0, 100, 6500, 224, 1, 0, 0), true},
        {"vcd pal", OutputKind::Vcd, record(F::VcdPal, 352, 288, 0, 24.0f, 2, 1, 0, 2, 0, 100, 1150, 224, 0, 1, 5400), true},
        {"svcd ntsc", OutputKind::Svcd, record(F::SvcdNtsc, 480, 480, 0, 0.0f, 0, 0, 0, 3, 0, 100, 2500, 128, 1, 0, 0), true},
        {"custom", OutputKind::MpegCustom, record(F::MpegCustom, 640, 480, 0, 0.0f, 0, 0, 0, 1, 0, 40, 3500, 128, 0, 1, 15), true},
        {"wmv", OutputKind::Wmv, record(F::Wmv, 352, 240, 0, 24.0f, 1, 1, 2, 0, 0, 0, 0, 0, 1, 1, 900), true},
        {"avi unlisted", OutputKind::Avi, record(F::Avi, 100, 250, 0, 23.5f, 7, -1, 0, 0, 0, 0, 0, 0, 0, 1, 77), false},
        {"dvd unlisted", OutputKind::Dvd, record(F::DvdPal, 700, 576, 0, 0.0f, 0, 0, 0, 9, 1, 300, 20000, 96, 0, 0, 0), false},
        {"wmv audio profile", OutputKind::Wmv, record(F::Wmv, 0, 0, 0, 0.0f, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0), false},
        {"mp4 h265 720", OutputKind::Mp4, mp4(record(F::Mp4, 0, 720, 0, 50.0f, 0, 0, 0, 0, 0, 0, 0, 192, 0, 1, 60), 1, 30, 2), true},
        {"mp4 original size", OutputKind::Mp4, mp4(record(F::Mp4, 0, 0, 1, 0.0f, 0, 0, 0, 0, 0, 0, 0, 160, 1, 0, 0), 0, 22, 1), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string storedOutput = dir() + "chosen/" + c.name + ".out";
        const std::size_t index = tasks_.append({dir() + "a.mpg"}, storedOutput, OutputKinds::description(c.kind));
        *tasks_.at(index).settings = c.stored;
        tasks_.markDone(index);

        auto d = openEdit(index);
        EXPECT_EQ(d->Kind(), c.kind);
        EXPECT_EQ(output(*d)->text().toStdString(), storedOutput);
        EXPECT_EQ(split(*d)->isChecked(), c.stored.split == 1);
        const SettingsPanel* panel = c.kind == OutputKind::Avi   ? static_cast<SettingsPanel*>(d->AviPanel())
                                     : c.kind == OutputKind::Wmv ? static_cast<SettingsPanel*>(d->WmvPanel())
                                     : c.kind == OutputKind::Mp4 ? static_cast<SettingsPanel*>(d->Mp4Panel())
                                                                 : static_cast<SettingsPanel*>(d->MpegPanel());
        EXPECT_TRUE(panel->isVisible());
        TaskSettings shown = c.stored;
        panel->writeRecord(shown, c.kind);
        EXPECT_EQ(recordText(shown) == recordText(c.stored), c.panelShowsAll) << recordText(shown);

        QDir().mkpath(QString::fromStdString(dir() + "chosen"));
        ASSERT_TRUE(pressOk(*d));
        EXPECT_EQ(recordText(*tasks_.at(index).settings), recordText(c.stored));
        EXPECT_EQ(tasks_.at(index).outputPath, storedOutput);
        EXPECT_EQ(tasks_.at(index).status, TaskStatus::Waiting);
    }
}

TEST_F(EditingTasks, APalDvdShowsPalAndAChangeIsWritten)
{
    const std::string chosen = dir() + "chosen/";
    QDir().mkpath(QString::fromStdString(chosen));
    tasks_.append({dir() + "holiday.mpg"}, chosen + "mine.mpg", "To DVD");
    TaskSettings& dvd = *tasks_.at(0).settings;
    dvd = record(OutputFormat::DvdPal, 720, 576, 0, 0.0f, 0, 0, 0, 2, 0, 100, 5000, 224, 0, 1, 60);
    const TaskSettings* kept = &dvd;

    auto d = openEdit(0);
    MpegSettingsPanel& panel = *d->MpegPanel();
    EXPECT_TRUE(in<QRadioButton>(&panel, 1076)->isChecked());
    EXPECT_EQ(in<QComboBox>(&panel, 1032)->currentText(), "576");
    EXPECT_EQ(in<QComboBox>(&panel, 1047)->currentText(), "25 fps - PAL");
    EXPECT_EQ(intervals(*d)->currentText(), "1 minutes");
    in<QRadioButton>(&panel, 1073)->click();
    split(*d)->click();
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings.get(), kept);
    EXPECT_EQ(dvd.format, OutputFormat::DvdNtsc);
    EXPECT_EQ(dvd.height, 480);
    EXPECT_EQ(dvd.mpegFrameRateIndex, 3);
    EXPECT_EQ(dvd.split, 0);
    EXPECT_EQ(dvd.splitSeconds, 60);

    // Another kind keeps the folder the task writes to.
    auto again = openEdit(0);
    pickKind(*again, OutputKind::Wmv);
    EXPECT_EQ(output(*again)->text().toStdString(), chosen + "holiday_output.wmv");
}

TEST_F(EditingTasks, CancelLeavesTheListAndTheTaskUntouched)
{
    tasks_.append({dir() + "a.mpg"}, dir() + "a.avi", "To AVI");
    tasks_.at(0).settings->format = OutputFormat::Avi;
    tasks_.at(0).settings->width = 640;
    tasks_.markDone(0);

    auto added = openNew(dir() + "b.mpg");
    click(*added, 2);
    EXPECT_EQ(added->result(), QDialog::Rejected);
    EXPECT_EQ(tasks_.size(), 1u);

    auto edited = openEdit(0);
    prompts_->files = {"/clips/c.mpg"};
    click(*edited, 1057);
    pickKind(*edited, OutputKind::Wmv);
    edited->reject();
    const ConversionTask& task = tasks_.at(0);
    EXPECT_EQ(task.sources, std::vector<std::string>{dir() + "a.mpg"});
    EXPECT_EQ(task.outputPath, dir() + "a.avi");
    EXPECT_EQ(task.status, TaskStatus::Done);
    EXPECT_EQ(task.settings->format, OutputFormat::Avi);
    EXPECT_EQ(task.settings->width, 640);
}

using KindsAtOk = EditorFixture;

TEST_F(KindsAtOk, EachKindShowsItsPanelAndStoresItsFormatAndDescription)
{
    const std::pair<OutputKind, OutputFormat> kinds[] = {
        {OutputKind::Avi, OutputFormat::Avi},       {OutputKind::Dvd, OutputFormat::DvdNtsc},
        {OutputKind::Vcd, OutputFormat::VcdNtsc},   {OutputKind::Svcd, OutputFormat::SvcdNtsc},
        {OutputKind::MpegCustom, OutputFormat::MpegCustom}, {OutputKind::Wmv, OutputFormat::Wmv}};
    for (const auto& [kind, format] : kinds) {
        auto d = openNew(dir() + "kind" + std::to_string(static_cast<int>(kind)) + ".mpg");
        pickKind(*d, kind);
        pickKind(*d, kind);  // clicking the checked kind keeps it checked
        for (const OutputKind other : {OutputKind::Avi, OutputKind::Dvd, OutputKind::Wmv})
            EXPECT_EQ(in<CSkinButton>(d.get(), OutputKinds::buttonId(other))->GetCheck(), other == kind);
        EXPECT_EQ(d->AviPanel()->isVisible(), kind == OutputKind::Avi);
        EXPECT_EQ(d->WmvPanel()->isVisible(), kind == OutputKind::Wmv);
        EXPECT_EQ(d->MpegPanel()->isVisible(), kind != OutputKind::Avi && kind != OutputKind::Wmv);
        ASSERT_TRUE(pressOk(*d));
        const ConversionTask& task = tasks_.at(tasks_.size() - 1);
        EXPECT_EQ(task.settings->format, format);
        EXPECT_EQ(task.description, OutputKinds::description(kind));
    }
}
