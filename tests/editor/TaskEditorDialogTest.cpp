#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "EditorFixture.h"
#include "editor/AviSettingsPanel.h"
#include "editor/WmvProfilePanel.h"
#include "platform/FileFilter.h"
#include "res/Resources.h"
#include "skin/SkinColors.h"
#include "editor/MpegSettingsPanel.h"

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

TEST_F(OutputPaths, DefaultFollowsTheKindAndTheFirstSource)
{
    auto d = openNew("/clips/holiday.mpg");
    EXPECT_EQ(output(*d)->text(), "/clips/holiday_output.avi");
    pickKind(*d, OutputKind::Dvd);
    EXPECT_EQ(output(*d)->text(), "/clips/holiday_output.mpg");
    pickKind(*d, OutputKind::Wmv);
    EXPECT_EQ(output(*d)->text(), "/clips/holiday_output.wmv");

    auto noDot = openNew("/clips/holiday");
    EXPECT_EQ(output(*noDot)->text(), "/clips/_output.avi");
    auto dottedFolder = openNew("/my.clips/holiday");
    EXPECT_EQ(output(*dottedFolder)->text(), "/my.clips/_output.avi");
}

TEST_F(OutputPaths, TypedPathStaysUntilTheKindIsPickedAgain)
{
    auto d = openNew("/clips/holiday.mpg");
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
    EXPECT_EQ(output(*d)->text(), "/media/out2/holiday_output.avi");
    pickKind(*d, OutputKind::Svcd);
    EXPECT_EQ(output(*d)->text(), "/media/out2/holiday_output.mpg");
    click(*d, 1061);  // cancelled
    EXPECT_EQ(output(*d)->text(), "/media/out2/holiday_output.mpg");
}

using OutputPathTest = EditorFixture;

TEST_F(OutputPathTest, RefusesMissingFolderEmptyPathAndASourceOfTheTask)
{
    const std::string source = dir() + "holiday.mpg";
    std::ofstream(source) << "source";
    auto d = openNew(source);
    for (const std::string& path : {dir() + "missing/out.avi", std::string(), source, dir()}) {
        output(*d)->setText(QString::fromStdString(path));
        EXPECT_FALSE(pressOk(*d)) << path;
        ASSERT_FALSE(prompts_->shown.empty());
        EXPECT_EQ(prompts_->shown.back().text, TaskEditorDialog::kPathMessage);
        EXPECT_EQ(prompts_->shown.back().caption, QCoreApplication::applicationName());
        EXPECT_EQ(prompts_->shown.back().icon, PromptIcon::Information);
        EXPECT_EQ(prompts_->shown.back().buttons, PromptButtons::Ok);
    }
    EXPECT_EQ(contentsOf(source), "source");
    EXPECT_TRUE(tasks_.empty());
    EXPECT_TRUE(d->isVisible());
}

TEST_F(OutputPathTest, LeavesAnExistingFileAsItWasAndRemovesItsOwnProbe)
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

TEST_F(OutputPathTest, NoSourceIsReportedOnlyAfterThePathPasses)
{
    TaskEditorDialog d(control_, tasks_);
    d.show();
    EXPECT_EQ(sources(d)->topLevelItemCount(), 0);
    output(d)->clear();
    EXPECT_FALSE(pressOk(d));
    EXPECT_EQ(prompts_->shown.back().text, TaskEditorDialog::kPathMessage);
    output(d)->setText(QString::fromStdString(dir() + "out.avi"));
    EXPECT_FALSE(pressOk(d));
    EXPECT_EQ(prompts_->shown.back().text, TaskEditorDialog::kNoSourceMessage);
    EXPECT_EQ(prompts_->shown.back().icon, PromptIcon::Information);
    EXPECT_TRUE(tasks_.empty());
}

using SourceList = EditorFixture;

TEST_F(SourceList, AddRemoveAndMoveActOnTheCurrentRow)
{
    auto d = openNew("/clips/a.mpg");
    click(*d, 1058);  // one row: nothing happens
    EXPECT_EQ(rowTexts(*d), std::vector<QString>{"/clips/a.mpg"});

    prompts_->files = {"/clips/b.mpg", "", "/clips/c.mpg"};
    click(*d, 1057);
    EXPECT_EQ(prompts_->fileFilters.back(), QString::fromLatin1(FileFilter::kSourceVideoFilter));
    click(*d, 1057);  // cancelled
    click(*d, 1057);
    EXPECT_EQ(rowTexts(*d), (std::vector<QString>{"/clips/a.mpg", "/clips/b.mpg", "/clips/c.mpg"}));
    EXPECT_EQ(selectedRow(*d), 2);

    click(*d, 1037);
    EXPECT_EQ(rowTexts(*d), (std::vector<QString>{"/clips/a.mpg", "/clips/c.mpg", "/clips/b.mpg"}));
    EXPECT_EQ(selectedRow(*d), 1);
    click(*d, 1037);
    click(*d, 1037);  // already first
    EXPECT_EQ(rowTexts(*d), (std::vector<QString>{"/clips/c.mpg", "/clips/a.mpg", "/clips/b.mpg"}));
    EXPECT_EQ(selectedRow(*d), 0);

    QTreeWidget* list = sources(*d);
    const QRect row2 = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, row2.center());
    EXPECT_EQ(selectedRow(*d), 2);
    click(*d, 1038);  // already last
    click(*d, 1058);
    EXPECT_EQ(rowTexts(*d), (std::vector<QString>{"/clips/c.mpg", "/clips/a.mpg"}));
    EXPECT_EQ(selectedRow(*d), 1);
    click(*d, 1038);
    EXPECT_EQ(selectedRow(*d), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(selectedRow(*d), 1);
}

TEST_F(SourceList, OkStoresTheRowsInOrderAsAJoin)
{
    auto d = openNew(dir() + "a.mpg");
    prompts_->files = {QString::fromStdString(dir() + "b.mpg")};
    click(*d, 1057);
    click(*d, 1037);
    ASSERT_TRUE(pressOk(*d));
    ASSERT_EQ(tasks_.size(), 1u);
    EXPECT_EQ(tasks_.at(0).sources, (std::vector<std::string>{dir() + "b.mpg", dir() + "a.mpg"}));
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

    prompts_->files = {"/clips/b.mpg"};
    click(*d, 1057);
    EXPECT_FALSE(split(*d)->isChecked());
    EXPECT_FALSE(split(*d)->isEnabled());
    EXPECT_FALSE(intervals(*d)->isEnabled());
    prompts_->folders = {QString::fromStdString(dir())};
    click(*d, 1061);
    EXPECT_FALSE(split(*d)->isEnabled());

    click(*d, 1058);
    EXPECT_TRUE(split(*d)->isEnabled());
    EXPECT_FALSE(split(*d)->isChecked());
    EXPECT_FALSE(intervals(*d)->isEnabled());
}

TEST_F(SplitSetting, ChosenIntervalSurvivesBrowseAndIsStored)
{
    auto d = openNew("/clips/a.mpg");
    split(*d)->click();
    intervals(*d)->setCurrentIndex(4);
    prompts_->folders = {QString::fromStdString(dir())};
    click(*d, 1061);
    EXPECT_TRUE(split(*d)->isChecked());
    EXPECT_EQ(intervals(*d)->currentText(), "5 minutes");
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings->split, 1);
    EXPECT_EQ(tasks_.at(0).settings->splitSeconds, 300);
}

using EditingTasks = EditorFixture;

TEST_F(EditingTasks, StoredIntervalIsShownAndAnUnknownOneShowsTheDefault)
{
    tasks_.append({dir() + "a.mpg"}, dir() + "chosen/elsewhere.avi", "To AVI");
    tasks_.at(0).settings->format = OutputFormat::Avi;
    tasks_.at(0).settings->split = 1;
    tasks_.at(0).settings->splitSeconds = 120;
    tasks_.append({dir() + "b.mpg"}, dir() + "b.avi", "To AVI");
    tasks_.at(1).settings->format = OutputFormat::Avi;
    tasks_.at(1).settings->splitSeconds = 77;

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
}

TEST_F(EditingTasks, RewritesInPlaceWithThePanelsDefaults)
{
    tasks_.append({dir() + "a.mpg"}, dir() + "a.mpg.out", "To DVD");
    TaskSettings& s = *tasks_.at(0).settings;
    s.format = OutputFormat::DvdPal;
    s.split = 1;
    s.splitSeconds = 60;
    tasks_.markDone(0);
    const TaskSettings* record = tasks_.at(0).settings.get();

    auto d = openEdit(0);
    EXPECT_EQ(d->Kind(), OutputKind::Dvd);
    split(*d)->click();
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.size(), 1u);
    EXPECT_EQ(tasks_.at(0).settings.get(), record);
    EXPECT_EQ(s.format, OutputFormat::DvdNtsc);
    EXPECT_EQ(s.height, 480);
    EXPECT_EQ(s.split, 0);
    EXPECT_EQ(tasks_.at(0).description, "To DVD");
    EXPECT_EQ(tasks_.at(0).status, TaskStatus::Waiting);
}

TEST_F(EditingTasks, OriginalSizeKeepsTheEditedTasksSize)
{
    tasks_.append({dir() + "a.mpg"}, dir() + "a.avi", "To AVI");
    TaskSettings& s = *tasks_.at(0).settings;
    s.format = OutputFormat::Avi;
    s.width = 640;
    s.height = 352;
    auto d = openEdit(0);
    in<QCheckBox>(d->AviPanel(), 1071)->click();
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(s.keepSourceSize, 1);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 352);
}

TEST_F(EditingTasks, UnknownIndexLoadsNothing)
{
    TaskEditorDialog d(control_, tasks_);
    EXPECT_FALSE(d.LoadTask(0));
}

using Cancelling = EditorFixture;

TEST_F(Cancelling, LeavesTheListAndTheTaskUntouched)
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

TEST_F(KindsAtOk, EachKindStoresItsFormatAndDescription)
{
    const std::pair<OutputKind, OutputFormat> kinds[] = {
        {OutputKind::Avi, OutputFormat::Avi},       {OutputKind::Dvd, OutputFormat::DvdNtsc},
        {OutputKind::Vcd, OutputFormat::VcdNtsc},   {OutputKind::Svcd, OutputFormat::SvcdNtsc},
        {OutputKind::MpegCustom, OutputFormat::MpegCustom}, {OutputKind::Wmv, OutputFormat::Wmv}};
    for (const auto& [kind, format] : kinds) {
        auto d = openNew(dir() + "a.mpg");
        pickKind(*d, kind);
        for (const OutputKind other : {OutputKind::Avi, OutputKind::Dvd, OutputKind::Wmv}) {
            const bool checked = in<CSkinButton>(d.get(), OutputKinds::buttonId(other))->GetCheck();
            EXPECT_EQ(checked, other == kind);
        }
        ASSERT_TRUE(pressOk(*d));
        const ConversionTask& task = tasks_.at(tasks_.size() - 1);
        EXPECT_EQ(task.settings->format, format);
        EXPECT_EQ(task.description, OutputKinds::description(kind));
    }
}

TEST_F(KindsAtOk, ClickingTheCheckedKindKeepsItChecked)
{
    auto d = openNew("/clips/a.mpg");
    pickKind(*d, OutputKind::Avi);
    EXPECT_TRUE(in<CSkinButton>(d.get(), 1064)->GetCheck());
    EXPECT_TRUE(d->AviPanel()->isVisible());
}

TEST_F(KindsAtOk, WmvStoresTheControlsIndexOfTheChosenProfile)
{
    auto d = openNew(dir() + "a.mpg");
    pickKind(*d, OutputKind::Wmv);
    QComboBox* profiles = in<QComboBox>(d->WmvPanel(), 1044);
    ASSERT_EQ(profiles->count(), 2);
    EXPECT_EQ(profiles->currentIndex(), 0);
    profiles->setCurrentIndex(1);
    ASSERT_TRUE(pressOk(*d));
    EXPECT_EQ(tasks_.at(0).settings->wmvProfile, 2);
}

using Appearance = EditorFixture;

TEST_F(Appearance, TitleKindButtonIconsAndColours)
{
    auto d = openNew("/clips/a.mpg");
    EXPECT_EQ(d->windowTitle(), "Option");
    EXPECT_EQ(d->size(), QSize(474, 498));
    CSkinButton* avi = in<CSkinButton>(d.get(), 1064);
    CSkinButton* wmv = in<CSkinButton>(d.get(), 1074);
    EXPECT_EQ(avi->text(), "To AVI(DivX , Xvid)");
    EXPECT_EQ(avi->NormalIcon().toImage(), QPixmap::fromImage(Resources::icon(141)).toImage());
    EXPECT_EQ(avi->SecondIcon().toImage(), QPixmap::fromImage(Resources::icon(140)).toImage());
    EXPECT_EQ(wmv->Color(CSkinButton::BkIn), SkinColors::OffsetColorValue(wmv->Color(CSkinButton::BkOut), 30));
    EXPECT_TRUE(in<CSkinButton>(d.get(), 1)->isDefault());
    for (const int id : {1057, 1058, 1037, 1038, 1, 2, 1061})
        EXPECT_FALSE(in<CSkinButton>(d.get(), id)->NormalIcon().isNull()) << id;
    EXPECT_FALSE(in<QGroupBox>(d.get(), 1066)->isVisible());
    EXPECT_EQ(d->AviPanel()->pos(), in<QGroupBox>(d.get(), 1066)->pos());
    EXPECT_EQ(d->WmvPanel()->pos(), d->AviPanel()->pos());
    EXPECT_TRUE(d->AviPanel()->isVisible());
    EXPECT_FALSE(d->MpegPanel()->isVisible());
    EXPECT_FALSE(d->WmvPanel()->isVisible());
}

using ModalRun = EditorFixture;

TEST_F(ModalRun, ExecOpensTheDialogAndReportsOkOrCancel)
{
    TaskEditorDialog added(control_, tasks_);
    added.SetFirstSource(dir() + "a.mpg");
    QTimer::singleShot(0, &added, [&added] { click(added, 1); });
    EXPECT_EQ(added.exec(), QDialog::Accepted);
    ASSERT_EQ(tasks_.size(), 1u);
    EXPECT_EQ(tasks_.at(0).outputPath, dir() + "a_output.avi");

    TaskEditorDialog edited(control_, tasks_);
    ASSERT_TRUE(edited.LoadTask(0));
    QTimer::singleShot(0, &edited, [&edited] { click(edited, 2); });
    EXPECT_EQ(edited.exec(), QDialog::Rejected);
}
