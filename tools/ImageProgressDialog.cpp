// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "engine/CDudidEvar.h"
#include "platform/Prompts.h"
#include "dialogs/TemplateBuilder.h"
#include "tools/BarScale.h"
#include "tools/PictureLoop.h"

namespace {

// Reasons named in the closing message; a run that fails for more names only these.
constexpr int kReasonsShown = 3;

}  // namespace

ImageProgressDialog::ImageProgressDialog(QWidget* parent) : ProgressWindow(parent, 252, 65)
{
    TemplateBuilder t(this);
    fileLabel_ = t.place(new QLabel(this), 1105, 11, 15, 110, 8);
    percentLabel_ = t.place(new QLabel(this), 1106, 12, 30, 18, 8);
    bar_ = t.addProgressBar(1107, 34, 31, 207, 8);
    cancel_ = addCancel(2, 195, 44);
}

void ImageProgressDialog::Setup(CDudidEvar& control, const std::string& sourcePath, const std::string& namePrefix,
                                double startTime, double span, double interval, bool keepOriginalSize, int width,
                                int height)
{
    control_ = &control;
    sourcePath_ = sourcePath;
    namePrefix_ = namePrefix;
    startTime_ = startTime;
    span_ = span;
    interval_ = interval;
    keepOriginalSize_ = keepOriginalSize;
    width_ = width;
    height_ = height;
    cancelRequested_ = false;
}

ImageProgressDialog::Outcome ImageProgressDialog::Run()
{
    written_ = 0;
    failed_ = 0;
    failures_.clear();
    const BarScale scale(span_);
    setBar(bar_, scale, 0.0);
    for (PictureLoop pictures(namePrefix_, startTime_, span_, interval_); pictures.hasNext();) {
        if (cancelRequested_)
            return Outcome::Cancelled;
        const std::string path = pictures.path();
        fileLabelText_ = QString::fromStdString(path);
        if (savePicture(path, pictures.time()))
            ++written_;
        else
            noteFailure();
        pictures.advance();
        if (pictures.refreshDue()) {
            percentLabelText_ = QString("%1%").arg(pictures.percent());
            showLabels();
            bar_->setValue(scale.position(pictures.elapsed()));
        }
        QCoreApplication::processEvents();
    }
    percentLabelText_ = QStringLiteral("100%");
    percentLabel_->setText(percentLabelText_);
    bar_->setValue(bar_->maximum());
    reportEnd();
    return Outcome::Finished;
}

bool ImageProgressDialog::savePicture(const std::string& path, double time)
{
    if (!control_)
        return false;
    if (keepOriginalSize_)
        return control_->SaveFrame(sourcePath_, time, path);
    return control_->SaveFrameSized(sourcePath_, time, path, short(width_), short(height_));
}

void ImageProgressDialog::noteFailure()
{
    ++failed_;
    const QString why = control_ ? QString::fromStdString(control_->GetLastError()) : QString();
    if (!why.isEmpty() && failures_.size() < kReasonsShown && !failures_.contains(why))
        failures_.append(why);
}

void ImageProgressDialog::showLabels()
{
    showPath(fileLabel_, fileLabelText_);
    percentLabel_->setText(percentLabelText_);
}

void ImageProgressDialog::reportEnd()
{
    const QString caption = TemplateBuilder::applicationCaption();
    if (failed_ == 0 && written_ > 0) {
        Prompts::get().messageBox(this, caption, QStringLiteral("Successfully Done."), PromptIcon::Information,
                                  PromptButtons::Ok);
        return;
    }
    QString text;
    if (written_ + failed_ == 0)
        text = tr("No picture was written: the length of the video could not be read.");
    else if (failures_.isEmpty())
        text = tr("%1 of %2 pictures could not be written.").arg(failed_).arg(written_ + failed_);
    else
        text = tr("%1 of %2 pictures could not be written:").arg(failed_).arg(written_ + failed_) + "\n" +
               failures_.join('\n');
    Prompts::get().messageBox(this, caption, text, PromptIcon::Exclamation, PromptButtons::Ok);
}

void ImageProgressDialog::reject()
{
    cancelRequested_ = true;
}

void ImageProgressDialog::closeEvent(QCloseEvent* event)
{
    cancelRequested_ = true;
    event->ignore();
}
