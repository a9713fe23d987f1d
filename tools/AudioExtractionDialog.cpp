// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/AudioExtractionDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

#include "dialogs/TemplateBuilder.h"
#include "dialogs/VideoDropTarget.h"
#include "engine/CDudidEvar.h"
#include "platform/FileFilter.h"
#include "platform/PathNames.h"
#include "platform/Prompts.h"
#include "skin/CSkinButton.h"
#include "tools/ExtractionEvent.h"

namespace {

enum Column { SourceColumn = 0, StartColumn = 1, EndColumn = 2, FormatColumn = 3, ColumnCount = 4 };

// The user's home folder: the root folder is not one a user may write in.
std::string defaultFolder()
{
    return PathNames::withTrailingSeparator(QDir::toNativeSeparators(QDir::homePath()).toStdString());
}

QString secondsText(double seconds)
{
    return QString::asprintf("%.2f sec", seconds);
}

}  // namespace

AudioExtractionDialog::AudioExtractionDialog(CDudidEvar& control, QWidget* parent)
    : QDialog(parent), outputFolder_(defaultFolder()), control_(&control), progress_(this)
{
    setWindowTitle(QStringLiteral("Extract Audio From Video File"));
    buildControls();
    connectCommands();
    // Video files dropped on the tool become rows, as Add adds them.
    new VideoDropTarget(this, [this] { return running_; }, [this](const QStringList& videos) {
        for (const QString& video : videos)
            addRow(video);
    });
}

void AudioExtractionDialog::buildControls()
{
    TemplateBuilder t(this);
    t.sizeOwner(292, 190);
    list_ = t.place(new QTreeWidget(this), 1026, 4, 5, 265, 108);
    addButton_ = t.addSkinButton(1057, QString(), CSkinButton::PushButtonStyle, 274, 5, 16, 16);
    removeButton_ = t.addSkinButton(1058, QString(), CSkinButton::PushButtonStyle, 274, 23, 16, 16);
    t.addStatic(QStringLiteral("Output Format"), 9, 125, 51, 8);
    formatList_ = t.place(new QComboBox(this), 1008, 62, 123, 59, 14);
    t.addStatic(QStringLiteral("Output Path:"), 9, 148, 47, 8);
    folderEdit_ = t.addEdit(1010, 59, 146, 178, 14);
    browse_ = t.addSkinButton(1011, QStringLiteral("Browse"), CSkinButton::PushButtonStyle, 240, 146, 50, 14);
    cancel_ = t.addSkinButton(2, QStringLiteral("Cancel"), CSkinButton::PushButtonStyle, 186, 168, 50, 18);
    extract_ = t.addSkinButton(1, QStringLiteral("Extract Now"), CSkinButton::DefPushButtonStyle, 240, 168, 50, 18);

    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setColumnCount(ColumnCount);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->setHeaderLabels({QStringLiteral("Source"), QStringLiteral("Start Time"), QStringLiteral("End Time"),
                            QStringLiteral("Output Format")});
    list_->header()->setStretchLastSection(false);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    folderEdit_->setReadOnly(true);
}

void AudioExtractionDialog::connectCommands()
{
    connect(addButton_, &QPushButton::clicked, this, &AudioExtractionDialog::add);
    connect(removeButton_, &QPushButton::clicked, this, &AudioExtractionDialog::remove);
    connect(browse_, &QPushButton::clicked, this, &AudioExtractionDialog::browse);
    connect(formatList_, &QComboBox::currentIndexChanged, this, &AudioExtractionDialog::formatChanged);
    connect(extract_, &QPushButton::clicked, this, &AudioExtractionDialog::extractNow);
    connect(cancel_, &QPushButton::clicked, this, &AudioExtractionDialog::reject);
    connect(list_, &QTreeWidget::pressed, this, &AudioExtractionDialog::rowClicked);
}

void AudioExtractionDialog::ResetItems()
{
    items_.clear();
    currentItem_ = 0;
    selectedRow_ = -1;
}

void AudioExtractionDialog::SetControl(CDudidEvar& control)
{
    control_ = &control;
}

void AudioExtractionDialog::initDialog()
{
    selectedRow_ = 0;
    list_->clear();
    setUpColumns();
    {
        const QSignalBlocker quiet(formatList_);
        formatList_->clear();
        formatList_->addItems({QStringLiteral("WMA"), QStringLiteral("WAV")});
        formatList_->setCurrentIndex(0);
    }
    formatIndex_ = 0;
    addButton_->SetIcons(171, CSkinButton::NoSecondIcon);
    removeButton_->SetIcons(172, CSkinButton::NoSecondIcon);
    cancel_->SetIcons(177, CSkinButton::NoSecondIcon);
    extract_->SetIcons(176, CSkinButton::NoSecondIcon);
    browse_->SetIcons(179, CSkinButton::NoSecondIcon);
    showForm();
}

int AudioExtractionDialog::exec()
{
    initDialog();
    return QDialog::exec();
}

void AudioExtractionDialog::setUpColumns()
{
    // The client width: the list's own, inside its frame.
    const int width = list_->contentsRect().width();
    const int unit = width / 10;
    list_->setColumnWidth(SourceColumn, 3 * unit);
    list_->setColumnWidth(StartColumn, 2 * unit);
    list_->setColumnWidth(EndColumn, 2 * unit);
    list_->setColumnWidth(FormatColumn, width - 7 * unit - 1);
}

void AudioExtractionDialog::readForm()
{
    outputFolder_ = folderEdit_->text().toStdString();
    formatIndex_ = formatList_->currentIndex();
}

void AudioExtractionDialog::showForm()
{
    folderEdit_->setText(QString::fromStdString(outputFolder_));
    const QSignalBlocker quiet(formatList_);
    formatList_->setCurrentIndex(formatIndex_);
}

QString AudioExtractionDialog::formatText() const
{
    return formatIndex_ == 0 ? QStringLiteral("WMA") : QStringLiteral("WAV");
}

void AudioExtractionDialog::add()
{
    const QStringList paths = Prompts::get().openFiles(this, QString::fromLatin1(FileFilter::kSourceVideoFilter));
    for (const QString& path : paths) {
        if (!path.isEmpty())
            addRow(path);
    }
}

void AudioExtractionDialog::addRow(const QString& path)
{
    items_.push_back(AudioItem::forSource(*control_, path.toStdString()));
    const AudioItem& item = items_.back();
    auto* row = new QTreeWidgetItem(list_, {path, secondsText(item.startTime), secondsText(item.endTime), {}});
    list_->setCurrentItem(row);
    selectedRow_ = list_->indexOfTopLevelItem(row);
    formatChanged();
}

void AudioExtractionDialog::remove()
{
    const int rows = list_->topLevelItemCount();
    if (rows == 0 || selectedRow_ < 0 || selectedRow_ >= rows)
        return;
    delete list_->takeTopLevelItem(selectedRow_);
    items_.erase(items_.begin() + selectedRow_);
    if (selectedRow_ > 0)
        --selectedRow_;
    if (QTreeWidgetItem* row = list_->topLevelItem(selectedRow_))
        list_->setCurrentItem(row);
    formatChanged();
}

void AudioExtractionDialog::rowClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    list_->setCurrentIndex(index);
    selectedRow_ = index.row();
}

// Names every item's output anew and shows it in the item's row: the format, with the file's
// name when it carries a number so as not to overwrite an earlier item's file.
void AudioExtractionDialog::formatChanged()
{
    readForm();
    const AudioFormat format = formatIndex_ == 1 ? AudioFormat::Wav : AudioFormat::Wma;
    std::vector<std::string> sources;
    for (const AudioItem& item : items_)
        sources.push_back(item.sourcePath);
    const std::vector<std::string> outputs = AudioItem::outputPathsFor(outputFolder_, sources, format);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        AudioItem& item = items_[i];
        item.outputPath = outputs[i];
        QTreeWidgetItem* row = list_->topLevelItem(int(i));
        if (!row)
            continue;
        const bool numbered = item.outputPath != AudioItem::outputPathFor(outputFolder_, item.sourcePath, format);
        const QString output = QString::fromStdString(item.outputPath);
        row->setText(FormatColumn, numbered ? QStringLiteral("%1 (%2)").arg(formatText(), QFileInfo(output).fileName())
                                            : formatText());
        row->setToolTip(FormatColumn, output);
    }
}

void AudioExtractionDialog::browse()
{
    const auto folder = Prompts::get().pickFolder(this, QStringLiteral("Select Output Directory"));
    if (!folder || folder->isEmpty())
        return;
    outputFolder_ = PathNames::withTrailingSeparator(folder->toStdString());
    folderEdit_->setText(QString::fromStdString(outputFolder_));
    formatChanged();
}

void AudioExtractionDialog::extractNow()
{
    if (list_->topLevelItemCount() == 0)
        return;
    formatChanged();  // names the outputs and clears the failure marks of an earlier run
    double total = 0.0;
    for (const AudioItem& item : items_)
        total += item.length;
    ++run_;
    running_ = true;
    failures_.clear();
    currentItem_ = 0;
    StartItem();
    progress_.SetTotal(total);
    progress_.SetLabels(QString::fromStdString(items_.front().sourcePath),
                        QString::fromStdString(items_.front().outputPath), false);
    progress_.exec();
    running_ = false;
    control_->Stop();
}

void AudioExtractionDialog::StartItem()
{
    readForm();
    if (currentItem_ >= int(items_.size())) {
        closeProgress();
        return;
    }
    AudioItem& item = items_[currentItem_];
    const AudioFormat format = formatIndex_ == 1 ? AudioFormat::Wav : AudioFormat::Wma;
    if (!item.start(*control_, format)) {
        // Refused: no completion will come, so the item ends here, after what is already queued.
        auto* refused = new ExtractionEvent(ExtractionEvent::ItemFailed);
        const std::string why = control_->GetLastError();
        refused->reason = why.empty() ? tr("the sound track could not be extracted") : QString::fromStdString(why);
        postToThisRun(refused);
    }
}

void AudioExtractionDialog::postItemDone()
{
    postToThisRun(new ExtractionEvent(ExtractionEvent::ItemDone));
}

void AudioExtractionDialog::postItemProgress(double secondsDone, double length)
{
    postToThisRun(new ExtractionEvent(ExtractionEvent::ItemProgress, secondsDone, length));
}

void AudioExtractionDialog::postItemFailed(const QString& reason)
{
    auto* failed = new ExtractionEvent(ExtractionEvent::ItemFailed);
    failed->reason = reason;
    postToThisRun(failed);
}

// Each message carries the run it was sent in, so one that is still queued when its run ends
// is not taken for news of the next.
void AudioExtractionDialog::postToThisRun(ExtractionEvent* message)
{
    message->run = run_;
    QCoreApplication::postEvent(this, message);
}

bool AudioExtractionDialog::event(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != ExtractionEvent::ItemDone && type != ExtractionEvent::ItemProgress &&
        type != ExtractionEvent::ItemFailed && type != ExtractionEvent::RunEnded)
        return QDialog::event(event);
    const auto* message = static_cast<ExtractionEvent*>(event);
    // Events that come after a run has ended, or from an earlier run, are left alone.
    if (!running_ || message->run != run_)
        return true;
    if (type == ExtractionEvent::ItemDone)
        itemDone();
    else if (type == ExtractionEvent::ItemProgress)
        progress_.postFileProgress(message->first(), message->second());
    else if (type == ExtractionEvent::ItemFailed)
        itemFailed(message->reason);
    else
        endRun();
    return true;
}

void AudioExtractionDialog::itemDone()
{
    finishItem();
}

void AudioExtractionDialog::itemFailed(const QString& reason)
{
    if (currentItem_ >= int(items_.size()))
        return;
    const AudioItem& item = items_[currentItem_];
    failures_.push_back(QStringLiteral("%1: %2").arg(QString::fromStdString(item.sourcePath), reason));
    markFailed(currentItem_);
    finishItem();
}

// The current item has ended, written or not: its length counts as done and the next starts.
void AudioExtractionDialog::finishItem()
{
    if (currentItem_ >= int(items_.size()))
        return;
    progress_.postFileDone(items_[currentItem_].length);
    ++currentItem_;
    if (currentItem_ < int(items_.size())) {
        StartItem();
        const AudioItem& next = items_[currentItem_];
        progress_.SetLabels(QString::fromStdString(next.sourcePath), QString::fromStdString(next.outputPath), true);
        return;
    }
    // The closing message waits until the progress dialog has shown the last file done.
    postToThisRun(new ExtractionEvent(ExtractionEvent::RunEnded));
}

void AudioExtractionDialog::endRun()
{
    const QString caption = TemplateBuilder::applicationCaption();
    if (failures_.empty()) {
        Prompts::get().messageBox(this, caption, QStringLiteral("Successfully Done."), PromptIcon::Information,
                                  PromptButtons::Ok);
    } else {
        QString text = failures_.size() == 1 ? tr("This file could not be extracted:")
                                             : tr("%1 files could not be extracted:").arg(failures_.size());
        for (const QString& failure : failures_)
            text += QStringLiteral("\n") + failure;
        Prompts::get().messageBox(this, caption, text, PromptIcon::Exclamation, PromptButtons::Ok);
    }
    closeProgress();
}

void AudioExtractionDialog::closeProgress()
{
    QMetaObject::invokeMethod(&progress_, &QDialog::reject, Qt::QueuedConnection);
}

void AudioExtractionDialog::markFailed(int row)
{
    if (QTreeWidgetItem* item = list_->topLevelItem(row))
        item->setText(FormatColumn, tr("Failed"));
}
