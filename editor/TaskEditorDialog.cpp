// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/TaskEditorDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>

#include "dialogs/TemplateBuilder.h"
#include "dialogs/VideoDropTarget.h"
#include "editor/AviSettingsPanel.h"
#include "editor/Mp4SettingsPanel.h"
#include "editor/MpegSettingsPanel.h"
#include "editor/OutputClash.h"
#include "editor/SourceTrackListing.h"
#include "editor/TrackChoiceFields.h"
#include "editor/UntouchedFields.h"
#include "editor/WmvProfilePanel.h"
#include "engine/CDudidEvar.h"
#include "platform/FileFilter.h"
#include "platform/OutputPathProbe.h"
#include "platform/PathNames.h"
#include "platform/Prompts.h"
#include "skin/CSkinButton.h"
#include "tasks/OutputLimits.h"
#include "tasks/SplitIntervals.h"
#include "tasks/TaskList.h"

namespace {

constexpr int kSourceColumnWidth = 400;
constexpr int kKindHoverLightening = 30;
constexpr int kCheckedKindIcon = 141;
constexpr int kKindIcon = 140;

// The kind buttons from the top down. A kind joins the editor with a row here, its panel in
// panelOf and its row in OutputKinds.
struct KindButton {
    OutputKind kind;
    int top;  // dialog units
};
constexpr std::array<KindButton, 7> kKindButtons{{{OutputKind::Avi, 82},
                                                  {OutputKind::Dvd, 104},
                                                  {OutputKind::Vcd, 127},
                                                  {OutputKind::Svcd, 150},
                                                  {OutputKind::MpegCustom, 172},
                                                  {OutputKind::Wmv, 195},
                                                  {OutputKind::Mp4, 217}}};

enum SourceButton { AddButton, RemoveButton, UpButton, DownButton };

std::size_t kindSlot(OutputKind kind)
{
    for (std::size_t i = 0; i < kKindButtons.size(); ++i) {
        if (kKindButtons[i].kind == kind)
            return i;
    }
    return 0;
}

}  // namespace

TaskEditorDialog::TaskEditorDialog(CDudidEvar& control, TaskList& tasks, QWidget* parent)
    : QDialog(parent), control_(control), tasks_(tasks), intervalIndex_(SplitIntervals::kDefaultIndex)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Option"));
    buildControls();
    connectControls();
}

TaskEditorDialog::~TaskEditorDialog() = default;

void TaskEditorDialog::buildControls()
{
    TemplateBuilder t(this);
    t.sizeOwner(316, 307);
    t.addStatic(QStringLiteral("Source Video Files:"), 7, 1, 223, 10);
    sources_ = t.place(new QTreeWidget(this), 1056, 7, 13, 283, 57);
    sourceButtons_[AddButton] = t.addSkinButton(1057, QString(), CSkinButton::PushButtonStyle, 295, 13, 16, 14);
    sourceButtons_[RemoveButton] = t.addSkinButton(1058, QString(), CSkinButton::PushButtonStyle, 295, 27, 16, 14);
    sourceButtons_[UpButton] = t.addSkinButton(1037, QString(), CSkinButton::PushButtonStyle, 295, 41, 16, 14);
    sourceButtons_[DownButton] = t.addSkinButton(1038, QString(), CSkinButton::PushButtonStyle, 295, 56, 16, 14);
    t.addGroupBox(-1, QStringLiteral("Output Format"), 7, 73, 112, 168);
    buildKindButtons();
    panelPlace_ = t.addGroupBox(1066, QStringLiteral("Video"), 121, 73, 125, 102);
    panelPlace_->hide();
    t.addStatic(QStringLiteral("Output:"), 7, 246, 32, 11);
    output_ = t.addEdit(1060, 39, 244, 217, 14);
    browse_ = t.addSkinButton(1061, QStringLiteral("Browse"), CSkinButton::PushButtonStyle, 260, 244, 50, 14);
    split_ = t.addCheckBox(1062, QStringLiteral("Split"), 20, 265, 30, 12);
    t.addStatic(QStringLiteral("Every"), 75, 266, 20, 8);
    intervals_ = t.addDropDownList(1100, 99, 264, 74, 85);
    soundTrack_ = t.addDropDownList(1120, 180, 264, 63, 85);
    subtitles_ = t.addDropDownList(1121, 247, 264, 63, 85);
    cancel_ = t.addSkinButton(2, QStringLiteral("Cancel"), CSkinButton::PushButtonStyle, 199, 288, 50, 14);
    ok_ = t.addSkinButton(1, QStringLiteral("OK"), CSkinButton::DefPushButtonStyle, 254, 288, 50, 14);

    sources_->setColumnCount(1);
    sources_->setHeaderHidden(true);
    sources_->setRootIsDecorated(false);
    sources_->setColumnWidth(0, kSourceColumnWidth);
    // The rows change only by a click and the commands, so the row shown selected is always
    // the row the commands act on.
    sources_->setSelectionMode(QAbstractItemView::NoSelection);
    sources_->setSelectionBehavior(QAbstractItemView::SelectRows);
    sources_->setFocusPolicy(Qt::NoFocus);
    QPalette palette = sources_->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    sources_->setPalette(palette);
    buildTrackChoices();
}

// Typed in too: a track number, a language, or (for subtitles) a file.
void TaskEditorDialog::buildTrackChoices()
{
    for (QComboBox* box : {soundTrack_, subtitles_}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
    }
    soundTrack_->setToolTip(QStringLiteral("The sound track of each source: its default, a track number, or a "
                                           "language typed in (eng, ja)"));
    subtitles_->setToolTip(QStringLiteral("Subtitles burned into the picture: a subtitle file, a track of the "
                                          "source by number or language (eng), or its forced subtitles"));
    trackChoices_ = std::make_unique<TrackChoiceFields>(*soundTrack_, *subtitles_);
    trackListing_ = new SourceTrackListing(control_, this);
    connect(trackListing_, &SourceTrackListing::listed, this,
            [this] { trackChoices_->offerTracks(trackListing_->tracks()); });
}

void TaskEditorDialog::buildKindButtons()
{
    TemplateBuilder t(this);
    for (const KindButton& button : kKindButtons) {
        kindButtons_.push_back(t.addSkinButton(OutputKinds::buttonId(button.kind),
                                               QString::fromLatin1(OutputKinds::buttonText(button.kind)),
                                               CSkinButton::CheckBoxStyleBit, 13, button.top, 99, 20));
    }
}

void TaskEditorDialog::connectControls()
{
    connect(sourceButtons_[AddButton], &QPushButton::clicked, this, &TaskEditorDialog::addSource);
    connect(sourceButtons_[RemoveButton], &QPushButton::clicked, this, &TaskEditorDialog::removeSource);
    connect(sourceButtons_[UpButton], &QPushButton::clicked, this, [this] { moveSource(-1); });
    connect(sourceButtons_[DownButton], &QPushButton::clicked, this, [this] { moveSource(1); });
    connect(sources_, &QTreeWidget::itemPressed, this,
            [this](QTreeWidgetItem* item) { selectRow(sources_->indexOfTopLevelItem(item)); });
    for (std::size_t i = 0; i < kKindButtons.size(); ++i)
        connect(kindButtons_[i], &QPushButton::clicked, this, [this, i] { selectKind(kKindButtons[i].kind); });
    connect(browse_, &QPushButton::clicked, this, &TaskEditorDialog::browse);
    connect(split_, &QCheckBox::clicked, this, &TaskEditorDialog::onSplit);
    connect(intervals_, &QComboBox::currentIndexChanged, this, [this](int index) { intervalIndex_ = index; });
    connect(ok_, &QPushButton::clicked, this, &TaskEditorDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &TaskEditorDialog::reject);
    new VideoDropTarget(this, [this] { return !opened_; }, [this](const QStringList& videos) { appendSourceRows(videos); });
}

void TaskEditorDialog::SetFirstSource(const std::string& path)
{
    initialSources_.push_back(path);
    formPathPieces(path);
}

void TaskEditorDialog::AddSource(const std::string& path)
{
    if (opened_)
        appendSourceRows({QString::fromStdString(path)});
    else if (initialSources_.empty())
        SetFirstSource(path);
    else
        initialSources_.push_back(path);
}

bool TaskEditorDialog::LoadTask(std::size_t index)
{
    if (index >= tasks_.size() || tasks_.at(index).sources.empty())
        return false;
    const ConversionTask& task = tasks_.at(index);
    taskIndex_ = index;
    initialSources_.insert(initialSources_.end(), task.sources.begin(), task.sources.end());
    if (task.settings) {
        storedSettings_ = *task.settings;
        split_->setChecked(task.settings->split != 0);
        if (const auto position = SplitIntervals::indexOfSeconds(task.settings->splitSeconds))
            intervalIndex_ = *position;
        kind_ = OutputKinds::fromFormat(task.settings->format);
    }
    storedSoundTrack_ = task.soundTrack;
    storedSubtitles_ = task.subtitles;
    storedSoftSubtitles_ = task.softSubtitles;
    formPathPieces(task.sources.front());
    // Another kind picked for this task keeps the folder the task writes to.
    storedOutputPath_ = task.outputPath;
    if (!PathNames::folderPart(storedOutputPath_).empty())
        outputFolder_ = PathNames::folderPart(storedOutputPath_);
    if (!storedOutputPath_.empty())
        output_->setText(QString::fromStdString(storedOutputPath_));
    return true;
}

void TaskEditorDialog::formPathPieces(const std::string& firstSource)
{
    outputFolder_ = PathNames::folderPart(firstSource);
    baseName_ = PathNames::baseName(firstSource);
    output_->setText(QString::fromStdString(defaultOutputPath()));
}

std::string TaskEditorDialog::defaultOutputPath() const
{
    return outputFolder_ + baseName_ + OutputKinds::suffix(kind_);
}

void TaskEditorDialog::showEvent(QShowEvent* event)
{
    if (!opened_) {
        opened_ = true;
        initDialog();
        if (const QScreen* shownOn = screen())
            FitIntoHeight(shownOn->availableGeometry().height());
    }
    QDialog::showEvent(event);
}

void TaskEditorDialog::FitIntoHeight(int available)
{
    // Before the window manager framed the editor its title bar is not known; the style's is
    // taken with a few pixels of border.
    const int framed = frameGeometry().height() > height() ? frameGeometry().height() - height()
                                                           : style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    const int over = height() + framed - available;
    if (over <= 0)
        return;
    // First OK and Cancel rise beside the Split row, which leaves them room on its right.
    const int lift = std::min(over, ok_->y() - split_->y());
    for (QWidget* button : {static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_)})
        button->move(button->x(), button->y() - lift);
    setFixedSize(width(), height() - lift);
}

void TaskEditorDialog::initDialog()
{
    fillSourceList();
    fillIntervals();
    trackChoices_->fill(initialSources_.empty() ? std::string() : initialSources_.front(), storedSoundTrack_,
                        storedSubtitles_);
    trackListing_->start(initialSources_);
    applySplitRule();
    createPanels();
    setButtonIcons();
    selectKind(kind_);
    if (taskIndex_)
        showStoredTask();
}

void TaskEditorDialog::showStoredTask()
{
    if (!storedOutputPath_.empty())
        output_->setText(QString::fromStdString(storedOutputPath_));
    if (!storedSettings_)
        return;
    panelOf(kind_)->showRecord(*storedSettings_);
    shownAtOpening_ = settingsToWrite(*storedSettings_);
}

void TaskEditorDialog::fillSourceList()
{
    for (const std::string& source : initialSources_)
        sources_->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromStdString(source)}));
    selectRow(0);
}

void TaskEditorDialog::fillIntervals()
{
    const int index = intervalIndex_;
    for (const auto& interval : SplitIntervals::kIntervals)
        intervals_->addItem(QString::fromLatin1(interval.text));
    intervals_->setCurrentIndex(index);
}

void TaskEditorDialog::applySplitRule()
{
    if (initialSources_.size() >= 2)
        lockSplit();
    else
        intervals_->setEnabled(split_->isChecked());
}

void TaskEditorDialog::createPanels()
{
    aviPanel_ = new AviSettingsPanel(control_, this);
    mpegPanel_ = new MpegSettingsPanel(this);
    wmvPanel_ = new WmvProfilePanel(control_, this);
    mp4Panel_ = new Mp4SettingsPanel(control_, this);
    mp4Panel_->showSubtitleTrack(storedSoftSubtitles_);
    for (SettingsPanel* panel : std::initializer_list<SettingsPanel*>{aviPanel_, mpegPanel_, wmvPanel_, mp4Panel_})
        panel->move(panelPlace_->pos());
    markEnlargingHeights();
}

// MP4 heights above the first source's picture are marked, as they enlarge it.
void TaskEditorDialog::markEnlargingHeights()
{
    const int first = sources_->topLevelItemCount() > 0 ? 0 : -1;
    const int height =
        first < 0 ? 0 : control_.GetVideoHeight(sources_->topLevelItem(first)->text(0).toStdString());
    mp4Panel_->MarkHeightsAbove(height);
}

void TaskEditorDialog::setButtonIcons()
{
    sourceButtons_[AddButton]->setToolTip(QStringLiteral("Add source files"));
    sourceButtons_[RemoveButton]->setToolTip(QStringLiteral("Remove the selected source"));
    sourceButtons_[UpButton]->setToolTip(QStringLiteral("Move the selected source up"));
    sourceButtons_[DownButton]->setToolTip(QStringLiteral("Move the selected source down"));
    sourceButtons_[AddButton]->SetIcons(171, CSkinButton::NoSecondIcon);
    sourceButtons_[RemoveButton]->SetIcons(172, CSkinButton::NoSecondIcon);
    sourceButtons_[DownButton]->SetIcons(173, CSkinButton::NoSecondIcon);
    sourceButtons_[UpButton]->SetIcons(174, CSkinButton::NoSecondIcon);
    ok_->SetIcons(176, CSkinButton::NoSecondIcon);
    cancel_->SetIcons(177, CSkinButton::NoSecondIcon);
    browse_->SetIcons(179, CSkinButton::NoSecondIcon);
    for (CSkinButton* button : kindButtons_) {
        button->SetIcons(kCheckedKindIcon, kKindIcon);
        button->OffsetColor(CSkinButton::BkIn, kKindHoverLightening, true);
    }
}

CSkinButton* TaskEditorDialog::kindButton(OutputKind kind) const
{
    return kindButtons_[kindSlot(kind)];
}

SettingsPanel* TaskEditorDialog::panelOf(OutputKind kind) const
{
    switch (kind) {
    case OutputKind::Avi: return aviPanel_;
    case OutputKind::Wmv: return wmvPanel_;
    case OutputKind::Mp4: return mp4Panel_;
    default: return mpegPanel_;
    }
}

void TaskEditorDialog::selectKind(OutputKind kind)
{
    kindButton(kind_)->SetCheck(0);
    panelOf(kind_)->hide();
    kindButton(kind)->SetCheck(1);
    kind_ = kind;
    if (const int mode = OutputKinds::presetMode(kind); mode >= 0)
        mpegPanel_->ApplyPreset(mode);
    panelOf(kind)->show();
    output_->setText(QString::fromStdString(defaultOutputPath()));
}

void TaskEditorDialog::selectRow(int row)
{
    if (row < 0 || row >= sources_->topLevelItemCount())
        return;
    currentRow_ = row;
    sources_->clearSelection();
    sources_->topLevelItem(row)->setSelected(true);
}

void TaskEditorDialog::lockSplit()
{
    split_->setChecked(false);
    split_->setEnabled(false);
    intervals_->setEnabled(false);
}

void TaskEditorDialog::addSource()
{
    appendSourceRows(Prompts::get().openFiles(this, QString::fromLatin1(FileFilter::kSourceVideoFilter)));
}

// Files picked or dropped together join the list in their order.
void TaskEditorDialog::appendSourceRows(const QStringList& paths)
{
    for (const QString& path : paths)
        if (!path.isEmpty())
            appendSourceRow(path);
    if (!paths.isEmpty())
        trackListing_->start(rowTexts());
}

void TaskEditorDialog::appendSourceRow(const QString& path)
{
    sources_->addTopLevelItem(new QTreeWidgetItem(QStringList{path}));
    selectRow(currentRow_ + 1);
    lockSplit();
}

void TaskEditorDialog::removeSource()
{
    if (sources_->topLevelItemCount() < 2)
        return;
    const bool firstGoes = currentRow_ == 0;
    delete sources_->takeTopLevelItem(currentRow_);
    trackListing_->start(rowTexts());
    if (firstGoes)
        markEnlargingHeights();
    selectRow(currentRow_ > 0 ? currentRow_ - 1 : 0);
    if (sources_->topLevelItemCount() == 1)
        split_->setEnabled(true);
}

void TaskEditorDialog::moveSource(int offset)
{
    const int other = currentRow_ + offset;
    if (sources_->topLevelItemCount() < 2 || other < 0 || other >= sources_->topLevelItemCount())
        return;
    QTreeWidgetItem* current = sources_->topLevelItem(currentRow_);
    QTreeWidgetItem* neighbour = sources_->topLevelItem(other);
    const QString text = current->text(0);
    current->setText(0, neighbour->text(0));
    neighbour->setText(0, text);
    selectRow(other);
    if (other == 0 || other - offset == 0)
        markEnlargingHeights();
}

void TaskEditorDialog::browse()
{
    const std::optional<QString> folder = Prompts::get().pickFolder(this, QStringLiteral("Select Output Directory"));
    if (!folder || folder->isEmpty())
        return;
    outputFolder_ = PathNames::withTrailingSeparator(folder->toStdString());
    output_->setText(QString::fromStdString(defaultOutputPath()));
}

void TaskEditorDialog::onSplit()
{
    intervals_->setEnabled(split_->isChecked());
}

std::vector<std::string> TaskEditorDialog::rowTexts() const
{
    std::vector<std::string> texts;
    for (int row = 0; row < sources_->topLevelItemCount(); ++row)
        texts.push_back(sources_->topLevelItem(row)->text(0).toStdString());
    return texts;
}

void TaskEditorDialog::showMessage(const QString& text)
{
    Prompts::get().messageBox(this, QCoreApplication::applicationName(), text, PromptIcon::Information,
                              PromptButtons::Ok);
}

// The files of another task of the list are never overwritten: the message names that task.
bool TaskEditorDialog::clashesWithAnotherTask(const std::string& outputPath, const std::vector<std::string>& sources)
{
    const bool split = split_->isChecked() && sources.size() == 1;
    const std::optional<OutputClash::Found> clash = OutputClash::find(tasks_, taskIndex_, outputPath, split);
    if (!clash)
        return false;
    const ConversionTask& other = tasks_.at(clash->task);
    const QString firstSource = other.sources.empty() ? QString() : QString::fromStdString(other.sources.front());
    showMessage(tr("Task %1 of the list (%2, %3) already writes\n%4\nPlease choose another output path.")
                    .arg(clash->task + 1)
                    .arg(QString::fromStdString(other.description), firstSource,
                         QString::fromStdString(clash->file)));
    return true;
}

// An existing output (for a split task, its first part) is replaced only when the user says so.
bool TaskEditorDialog::replacingAgreed(const std::string& outputPath)
{
    const QString path = QString::fromStdString(outputPath);
    if (!QFileInfo::exists(path))
        return true;
    return Prompts::get().messageBox(this, QCoreApplication::applicationName(),
                                     tr("%1 already exists.\nDo you want to replace it?").arg(path),
                                     PromptIcon::Exclamation, PromptButtons::YesNo) == PromptAnswer::Yes;
}

// A size, rate or bit rate that the output kind cannot carry is refused with its limit, also one
// the task brought from a list file and the panel keeps untouched.
bool TaskEditorDialog::numbersBeyondTheKind()
{
    TaskSettings record;
    if (taskIndex_)
        record = settingsToWrite(*tasks_.at(*taskIndex_).settings);
    else
        writeSettings(record);
    const std::optional<OutputLimits::Refusal> refusal = OutputLimits::check(record);
    if (refusal)
        showMessage(tr("%1.\nPlease choose another setting.").arg(QString::fromStdString(refusal->reason)));
    return refusal.has_value();
}

void TaskEditorDialog::accept()
{
    if (!opened_)
        return;
    const std::string outputPath = output_->text().toStdString();
    const std::vector<std::string> sources = rowTexts();
    if (const std::string why = OutputPathProbe::refusal(outputPath, sources); !why.empty()) {
        showMessage(QString::fromLatin1(kPathMessage) + QLatin1Char('\n') + QString::fromStdString(why));
        return;
    }
    if (sources.empty()) {
        showMessage(QString::fromLatin1(kNoSourceMessage));
        return;
    }
    if (numbersBeyondTheKind() || clashesWithAnotherTask(outputPath, sources) || !replacingAgreed(outputPath))
        return;
    writeTask(sources, outputPath);
    QDialog::accept();
}

void TaskEditorDialog::writeTask(const std::vector<std::string>& sources, const std::string& outputPath)
{
    const char* description = OutputKinds::description(kind_);
    if (taskIndex_) {
        TaskSettings& record = tasks_.updateInPlace(*taskIndex_, sources, outputPath, description);
        record = settingsToWrite(record);
        writeTrackChoices(tasks_.at(*taskIndex_));
        return;
    }
    const std::size_t index = tasks_.append(sources, outputPath, description);
    writeSettings(*tasks_.at(index).settings);
    writeTrackChoices(tasks_.at(index));
}

void TaskEditorDialog::writeTrackChoices(ConversionTask& task) const
{
    task.soundTrack = trackChoices_->soundTrack();
    task.subtitles = trackChoices_->subtitles();
    task.softSubtitles = kind_ == OutputKind::Mp4 && mp4Panel_->subtitleTrack();
}

// The edited record as OK writes it: what the controls show where the user changed it; under
// another kind, all of what its panel shows.
TaskSettings TaskEditorDialog::settingsToWrite(const TaskSettings& record) const
{
    TaskSettings written = record;
    writeSettings(written);
    if (shownAtOpening_ && storedSettings_ && kind_ == OutputKinds::fromFormat(storedSettings_->format))
        UntouchedFields::keepStored(written, *shownAtOpening_, *storedSettings_);
    return written;
}

void TaskEditorDialog::writeSettings(TaskSettings& settings) const
{
    panelOf(kind_)->writeRecord(settings, kind_);
    settings.split = split_->isChecked() ? 1 : 0;
    if (settings.split == 1)
        settings.splitSeconds = SplitIntervals::kIntervals[static_cast<std::size_t>(intervalIndex_)].seconds;
}
