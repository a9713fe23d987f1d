// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageExtractionDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

#include "dialogs/TemplateBuilder.h"
#include "dialogs/VideoDropTarget.h"
#include "engine/CDudidEvar.h"
#include "platform/PathNames.h"
#include "platform/PlainNumber.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "skin/CSkinButton.h"
#include "tasks/OutputNaming.h"
#include "tools/DigitsOnlyFilter.h"
#include "tools/ImageProgressDialog.h"
#include "tools/PictureRange.h"
#include "tools/SourceLengthReading.h"
#include "tools/SpinButton.h"
#include "tools/StillSubtitleChoice.h"

namespace {

constexpr int kSizeRows = 64;
constexpr int kSizeStep = 16;
constexpr int kDefaultWidthRow = 21;   // 352
constexpr int kDefaultHeightRow = 14;  // 240

#ifdef _WIN32
constexpr const char* kDefaultFolder = "C:\\";
#else
constexpr const char* kDefaultFolder = "/";
#endif

QString secondsText(double seconds)
{
    return QString::number(seconds, 'g', 15);
}

double secondsOf(const QString& text)
{
    const auto value = PlainNumber::parse(text.trimmed().toStdString());
    return value ? *value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

ImageExtractionDialog::ImageExtractionDialog(QWidget* parent)
    : QDialog(parent), outputFolder_(kDefaultFolder), form_(new QWidget(this))
{
    setWindowTitle(QStringLiteral("Extract Image(save to BMP files)"));
    TemplateBuilder(this).sizeOwner(272, 161);
    form_->setGeometry(rect());
    buildControls();
    connectCommands();
    // The first video file dropped on the tool becomes its source.
    new VideoDropTarget(this, [this] { return extracting_; },
                        [this](const QStringList& videos) { TakeSource(videos.front().toStdString()); });
}

void ImageExtractionDialog::buildControls()
{
    QWidget* f = form_;
    TemplateBuilder t(f);
    t.addStatic(QStringLiteral("Source File:"), 5, 10, 40, 10);
    sourceEdit_ = t.addEdit(1082, 50, 8, 165, 14);
    preview_ = t.addSkinButton(1062, QStringLiteral("Preview"), CSkinButton::PushButtonStyle, 219, 8, 50, 14);
    t.addStatic(QStringLiteral("Output Path:"), 5, 29, 42, 10);
    folderEdit_ = t.addEdit(1010, 50, 27, 165, 14);
    browse_ = t.addSkinButton(1061, QStringLiteral("Browse"), CSkinButton::PushButtonStyle, 219, 27, 50, 14);
    t.addStatic(QStringLiteral("Start Time:"), 6, 49, 40, 10);
    startEdit_ = t.addEdit(1086, 50, 48, 40, 14);
    t.addStatic(QStringLiteral("Sec"), 93, 50, 12, 8);
    t.addStatic(QStringLiteral("End Time:"), 142, 50, 36, 10);
    endEdit_ = t.addEdit(1087, 182, 48, 40, 14);
    t.addStatic(QStringLiteral("Sec"), 225, 50, 12, 8);
    t.addGroupBox(TemplateBuilder::kNoId, QStringLiteral("Settings"), 5, 66, 264, 70)->lower();
    t.addStatic(QStringLiteral("Width"), 13, 81, 20, 8);
    widthList_ = t.place(new QComboBox(f), 1045, 39, 80, 48, 14);
    t.addStatic(QStringLiteral("Height"), 105, 81, 22, 8);
    heightList_ = t.place(new QComboBox(f), 1046, 131, 80, 48, 14);
    originalSize_ = t.addCheckBox(1108, QStringLiteral("Originial Size"), 200, 81, 56, 10);
    t.addStatic(QStringLiteral("Extract"), 13, 113, 28, 11);
    rateEdit_ = t.addEdit(1085, 46, 112, 48, 15);
    rateSpin_ = t.place(new SpinButton(f), 1084, 96, 112, 10, 14);
    rateSpin_->setBuddy(rateEdit_);
    t.addStatic(QStringLiteral("pictures per second"), 98, 114, 78, 12);
    t.addStatic(QStringLiteral("Subtitles:"), 6, 143, 32, 10);
    subtitleList_ = t.place(new QComboBox(f), 1109, 40, 141, 114, 14);
    cancel_ = t.addSkinButton(2, QStringLiteral("Cancel"), CSkinButton::PushButtonStyle, 161, 139, 50, 18);
    extract_ = t.addSkinButton(1083, QStringLiteral("Extract Now"), CSkinButton::PushButtonStyle, 215, 139, 50, 18);

    sourceEdit_->setReadOnly(true);
    folderEdit_->setReadOnly(true);
    // Enter in a field does not open the player or a picker.
    for (CSkinButton* button : {preview_, browse_, cancel_})
        button->setAutoDefault(false);
    auto* digitsOnly = new DigitsOnlyFilter(this);
    for (QLineEdit* edit : {startEdit_, endEdit_, rateEdit_})
        edit->installEventFilter(digitsOnly);
}

void ImageExtractionDialog::connectCommands()
{
    connect(browse_, &QPushButton::clicked, this, &ImageExtractionDialog::browse);
    connect(preview_, &QPushButton::clicked, this, &ImageExtractionDialog::preview);
    connect(originalSize_, &QCheckBox::clicked, this, &ImageExtractionDialog::originalSizeClicked);
    connect(extract_, &QPushButton::clicked, this, &ImageExtractionDialog::extractNow);
    connect(cancel_, &QPushButton::clicked, this, &ImageExtractionDialog::reject);
}

void ImageExtractionDialog::SetSource(const std::string& path, CDudidEvar& control)
{
    sourcePath_ = path;
    control_ = &control;
    delete subtitleChoice_;
    subtitleChoice_ = new StillSubtitleChoice(*subtitleList_, control, this);
    delete lengthReading_;
    lengthReading_ = new SourceLengthReading(control, this);
    connect(lengthReading_, &SourceLengthReading::measured, this, &ImageExtractionDialog::takeLength);
}

void ImageExtractionDialog::TakeSource(const std::string& path)
{
    sourcePath_ = path;
    startTime_ = 0.0;
    takeFolderOfSource();
    sourceEdit_->setText(QString::fromStdString(sourcePath_));
    folderEdit_->setText(QString::fromStdString(outputFolder_));
    startEdit_->setText(secondsText(startTime_));
    measureSource();
    offerSubtitles();
}

void ImageExtractionDialog::initDialog()
{
    takeFolderOfSource();
    rateSpin_->setRange(PictureRange::kMostPerSecond, PictureRange::kFewestPerSecond);
    fillSizeLists();
    originalSize_->setChecked(true);
    cancel_->SetIcons(177, CSkinButton::NoSecondIcon);
    extract_->SetIcons(176, CSkinButton::NoSecondIcon);
    browse_->SetIcons(179, CSkinButton::NoSecondIcon);
    preview_->SetIcons(180, CSkinButton::NoSecondIcon);
    showForm();
    measureSource();
    offerSubtitles();
}

void ImageExtractionDialog::offerSubtitles()
{
    if (subtitleChoice_)
        subtitleChoice_->offerFor(sourcePath_);
}

void ImageExtractionDialog::takeFolderOfSource()
{
    if (sourcePath_.find(PathNames::kSeparator) != std::string::npos)
        outputFolder_ = PathNames::folderPart(sourcePath_);
}

// The range waits for the duration: until it is measured the end shows that it is being read,
// and nothing can be extracted.
void ImageExtractionDialog::measureSource()
{
    lengthKnown_ = false;
    duration_ = 0.0;
    endTime_ = 0.0;
    endEdit_->clear();
    showRangeEditable(false);
    if (lengthReading_)
        lengthReading_->start(sourcePath_);
    else
        takeLength(0.0);
}

// The range ends where the file does.
void ImageExtractionDialog::takeLength(double seconds)
{
    duration_ = seconds;
    endTime_ = seconds;
    lengthKnown_ = true;
    showRoundedEnd();
    showRangeEditable(true);
}

void ImageExtractionDialog::showRangeEditable(bool editable)
{
    endEdit_->setPlaceholderText(editable ? QString() : tr("reading"));
    for (QWidget* field : {static_cast<QWidget*>(startEdit_), static_cast<QWidget*>(endEdit_),
                           static_cast<QWidget*>(extract_)})
        field->setEnabled(editable);
}

void ImageExtractionDialog::showRoundedEnd()
{
    endEdit_->setText(QString::fromStdString(PlainNumber::fixed(endTime_, 1)));
}

int ImageExtractionDialog::exec()
{
    initDialog();
    return QDialog::exec();
}

void ImageExtractionDialog::fillSizeLists()
{
    for (QComboBox* list : {widthList_, heightList_}) {
        list->clear();
        for (int row = 0; row < kSizeRows; ++row)
            list->addItem(QString::number((row + 1) * kSizeStep));
        list->setEnabled(false);
    }
    widthList_->setCurrentIndex(kDefaultWidthRow);
    heightList_->setCurrentIndex(kDefaultHeightRow);
    widthIndex_ = kDefaultWidthRow;
    heightIndex_ = kDefaultHeightRow;
}

void ImageExtractionDialog::readForm()
{
    sourcePath_ = sourceEdit_->text().toStdString();
    outputFolder_ = folderEdit_->text().toStdString();
    readRate();
    endTime_ = secondsOf(endEdit_->text());
    startTime_ = secondsOf(startEdit_->text());
    heightIndex_ = heightList_->currentIndex();
    widthIndex_ = widthList_->currentIndex();
}

// An out-of-range number is reported and brought into the range; a field without a number is
// reported and leaves the rate as it was.
void ImageExtractionDialog::readRate()
{
    const QString caption = TemplateBuilder::applicationCaption();
    const QString text = rateEdit_->text().trimmed();
    bool isNumber = false;
    qlonglong typed = text.toLongLong(&isNumber);
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]+$"));
    if (!isNumber && digits.match(text).hasMatch()) {
        // More digits than a number holds: far outside the range.
        typed = text.startsWith('-') ? PictureRange::kFewestPerSecond - 1 : PictureRange::kMostPerSecond + 1;
        isNumber = true;
    }
    if (!isNumber) {
        Prompts::get().messageBox(this, caption, tr("Please enter a whole number."), PromptIcon::Exclamation,
                                  PromptButtons::Ok);
        return;
    }
    const long rate = long(std::clamp<qlonglong>(typed, PictureRange::kFewestPerSecond - 1,
                                                 PictureRange::kMostPerSecond + 1));
    if (!PictureRange::rateInRange(rate)) {
        Prompts::get().messageBox(this, caption,
                                  tr("Please enter a whole number between %1 and %2.")
                                      .arg(PictureRange::kFewestPerSecond)
                                      .arg(PictureRange::kMostPerSecond),
                                  PromptIcon::Exclamation, PromptButtons::Ok);
    }
    picturesPerSecond_ = unsigned(PictureRange::clampedRate(rate));
    rateEdit_->setText(QString::number(picturesPerSecond_));
}

void ImageExtractionDialog::showForm()
{
    sourceEdit_->setText(QString::fromStdString(sourcePath_));
    folderEdit_->setText(QString::fromStdString(outputFolder_));
    rateEdit_->setText(QString::number(picturesPerSecond_));
    endEdit_->setText(secondsText(endTime_));
    startEdit_->setText(secondsText(startTime_));
    heightList_->setCurrentIndex(heightIndex_);
    widthList_->setCurrentIndex(widthIndex_);
}

void ImageExtractionDialog::browse()
{
    const auto folder = Prompts::get().pickFolder(this, QStringLiteral("Select Output Directory"));
    if (!folder || folder->isEmpty())
        return;
    outputFolder_ = PathNames::withTrailingSeparator(folder->toStdString());
    folderEdit_->setText(QString::fromStdString(outputFolder_));
}

void ImageExtractionDialog::preview()
{
    Shell::openOrTell(this, TemplateBuilder::applicationCaption(), QString::fromStdString(sourcePath_));
}

void ImageExtractionDialog::originalSizeClicked()
{
    const bool custom = !originalSize_->isChecked();
    widthList_->setEnabled(custom);
    heightList_->setEnabled(custom);
}

void ImageExtractionDialog::extractNow()
{
    readForm();
    const PictureRange range(startTime_, endTime_, duration_);
    startTime_ = range.start();
    endTime_ = range.end();
    if (!range.asAsked())
        showForm();
    runPictures(range.span(), 1.0 / picturesPerSecond_);
}

void ImageExtractionDialog::runPictures(double span, double interval)
{
    const std::string namePrefix = OutputNaming::picturePrefix(outputFolder_, sourcePath_);
    const int width = (widthIndex_ + 1) * kSizeStep;
    const int height = (heightIndex_ + 1) * kSizeStep;
    ImageProgressDialog progress(this);
    if (control_)
        progress.Setup(*control_, sourcePath_, namePrefix, startTime_, span, interval, originalSize_->isChecked(),
                       width, height);
    progress.show();
    extracting_ = true;
    form_->setEnabled(false);
    takePictures(progress);
    form_->setEnabled(true);
    extracting_ = false;
}

// The subtitles are drawn on this run's pictures only: a later run of the control starts without.
void ImageExtractionDialog::takePictures(ImageProgressDialog& progress)
{
    if (control_)
        control_->SetStillSubtitles(subtitleChoice_->subtitles());
    progress.Run();
    if (control_)
        control_->SetStillSubtitles(std::string());
}

void ImageExtractionDialog::reject()
{
    if (!extracting_)
        QDialog::reject();
}

void ImageExtractionDialog::closeEvent(QCloseEvent* event)
{
    if (extracting_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}
