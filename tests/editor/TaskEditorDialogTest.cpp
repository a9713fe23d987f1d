#include <sys/stat.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>
#include <fstream>

#include "EditorFixture.h"
#include "editor/AviSettingsPanel.h"
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
    EXPECT_EQ(output(*openNew("/clips/holiday"))->text(), "/clips/_output.avi");
    EXPECT_EQ(output(*openNew("/my.clips/holiday"))->text(), "/my.clips/_output.avi");

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

TEST_F(OutputPaths, RefusesMissingFolderEmptyPathAndASourceOfTheTask)
{
    const std::string source = dir() + "holiday.mpg";
    std::ofstream(source) << "source";
    auto d = openNew(source);
    for (const std::string& path : {dir() + "missing/out.avi", std::string(), source, dir()}) {
        output(*d)->setText(QString::fromStdString(path));
        EXPECT_FALSE(pressOk(*d)) << path;
        ASSERT_FALSE(prompts_->shown.empty());
        EXPECT_EQ(prompts_->shown.back().text, TaskEditorDialog::kPathMessage);
    }
    EXPECT_EQ(prompts_->shown.size(), 4u);
    EXPECT_EQ(prompts_->shown.back().caption, QCoreApplication::applicationName());
    EXPECT_EQ(prompts_->shown.back().icon, PromptIcon::Information);
    EXPECT_EQ(prompts_->shown.back().buttons, PromptButtons::Ok);
    EXPECT_EQ(contentsOf(source), "source");
    EXPECT_TRUE(tasks_.empty());
    EXPECT_TRUE(d->isVisible());
}

TEST_F(OutputPaths, LeavesAnExistingFileAsItWasAndRemovesItsOwnProbe)
{
    const std::string existing = dir() + "existing.avi";
    std::ofstream(existing) << "keep me";
    const timespec before = modifiedTime(existing);
    auto d = openNew(dir() + "holiday.mpg");
    output(*d)->setText(QString::fromStdString(existing));
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

TEST_F(EditingTasks, ShowStoredIntervalAndRewriteInPlaceWithThePanelsDefaults)
{
    tasks_.append({dir() + "a.mpg"}, dir() + "chosen/elsewhere.avi", "To AVI");
    tasks_.at(0).settings->split = 1;
    tasks_.at(0).settings->splitSeconds = 120;
    tasks_.append({dir() + "b.mpg"}, dir() + "b.avi", "To AVI");
    tasks_.at(1).settings->splitSeconds = 77;
    for (std::size_t i : {0u, 1u})
        tasks_.at(i).settings->format = OutputFormat::Avi;
    tasks_.append({dir() + "c.mpg"}, dir() + "c.mpg.out", "To DVD");
    TaskSettings& dvd = *tasks_.at(2).settings;
    dvd.format = OutputFormat::DvdPal;
    dvd.split = 1;
    dvd.splitSeconds = 60;
    tasks_.markDone(2);
    EXPECT_FALSE(TaskEditorDialog(control_, tasks_).LoadTask(3));

    auto d = openEdit(0);
    EXPECT_EQ(intervals(*d)->currentText(), "2 minutes");
    EXPECT_TRUE(split(*d)->isChecked());
    EXPECT_TRUE(intervals(*d)->isEnabled());
    EXPECT_EQ(output(*d)->text().toStdString(), dir() + "a_output.avi");
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings->splitSeconds, 120);
    EXPECT_EQ(tasks_.at(0).outputPath, dir() + "a_output.avi");

    auto unknown = openEdit(1);
    EXPECT_EQ(intervals(*unknown)->currentText(), "30 minutes");
    EXPECT_FALSE(intervals(*unknown)->isEnabled());
    ASSERT_TRUE(pressOk(*unknown));
    EXPECT_EQ(tasks_.at(1).settings->split, 0);
    EXPECT_EQ(tasks_.at(1).settings->splitSeconds, 77);

    const TaskSettings* record = &dvd;
    auto edited = openEdit(2);
    EXPECT_EQ(edited->Kind(), OutputKind::Dvd);
    split(*edited)->click();
    ASSERT_TRUE(pressOk(*edited));
    EXPECT_EQ(tasks_.size(), 3u);
    EXPECT_EQ(tasks_.at(2).settings.get(), record);
    EXPECT_EQ(dvd.format, OutputFormat::DvdNtsc);
    EXPECT_EQ(dvd.height, 480);
    EXPECT_EQ(dvd.split, 0);
    EXPECT_EQ(tasks_.at(2).description, "To DVD");
    EXPECT_EQ(tasks_.at(2).status, TaskStatus::Waiting);
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
        auto d = openNew(dir() + "a.mpg");
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
