// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/AudioProgressDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>

#include "dialogs/TemplateBuilder.h"
#include "tools/BarScale.h"
#include "tools/ExtractionEvent.h"
#include "tools/ProgressPercent.h"

namespace {

QString percentText(int percent)
{
    return QStringLiteral("%1%").arg(percent);
}

}  // namespace

AudioProgressDialog::AudioProgressDialog(QWidget* parent) : ProgressWindow(parent, 271, 94)
{
    TemplateBuilder t(this);
    t.addStatic(QStringLiteral("Source :"), 7, 11, 29, 8);
    sourceLabel_ = t.place(new QLabel(this), 1103, 38, 11, 218, 8);
    t.addStatic(QStringLiteral("Output :"), 7, 22, 29, 8);
    outputLabel_ = t.place(new QLabel(this), 1104, 38, 22, 219, 8);
    currentPercent_ = t.place(new QLabel(this), 1101, 12, 35, 22, 8);
    currentBar_ = t.addProgressBar(1097, 35, 35, 224, 8);
    t.addStatic(QStringLiteral("Whole Process"), 7, 49, 48, 8);
    wholePercent_ = t.place(new QLabel(this), 1102, 12, 62, 22, 8);
    wholeBar_ = t.addProgressBar(1099, 35, 62, 223, 8);
    cancel_ = addCancel(2, 214, 73);
}

void AudioProgressDialog::SetTotal(double totalSeconds)
{
    totalSeconds_ = totalSeconds;
    doneSeconds_ = 0.0;
    sourceText_.clear();
    outputText_.clear();
    currentPercentText_ = percentText(0);
    wholePercentText_ = percentText(0);
}

void AudioProgressDialog::SetLabels(const QString& source, const QString& output, bool redisplay)
{
    sourceText_ = source;
    outputText_ = output;
    if (redisplay)
        showTexts();
}

void AudioProgressDialog::AddDone(double seconds)
{
    doneSeconds_ += seconds;
}

void AudioProgressDialog::postFileProgress(double done, double length)
{
    QCoreApplication::postEvent(this, new ExtractionEvent(ExtractionEvent::FileProgress, done, length));
}

void AudioProgressDialog::postFileDone(double fileSeconds)
{
    QCoreApplication::postEvent(this, new ExtractionEvent(ExtractionEvent::FileDone, fileSeconds));
}

bool AudioProgressDialog::event(QEvent* event)
{
    if (event->type() == ExtractionEvent::FileProgress || event->type() == ExtractionEvent::FileDone) {
        const auto* message = static_cast<ExtractionEvent*>(event);
        // What arrives after the run's window has closed belongs to no run.
        if (isVisible()) {
            if (event->type() == ExtractionEvent::FileProgress)
                fileProgress(message->first(), message->second());
            else
                fileDone(message->first());
        }
        return true;
    }
    return ProgressWindow::event(event);
}

void AudioProgressDialog::showEvent(QShowEvent* event)
{
    currentBar_->setRange(0, 100);
    currentBar_->setValue(0);
    wholeBar_->setRange(0, 100);
    wholeBar_->setValue(0);
    showTexts();
    ProgressWindow::showEvent(event);
}

void AudioProgressDialog::fileProgress(double done, double length)
{
    const double seconds = std::trunc(done);
    setBar(currentBar_, BarScale(length), done);
    currentPercentText_ = percentText(ProgressPercent::ofItem(done, length));
    setBar(wholeBar_, BarScale(totalSeconds_), seconds + doneSeconds_);
    wholePercentText_ = percentText(ProgressPercent::ofSpan(seconds + doneSeconds_, totalSeconds_));
    showTexts();
}

void AudioProgressDialog::fileDone(double fileSeconds)
{
    AddDone(fileSeconds);
    currentBar_->setRange(0, 100);
    currentBar_->setValue(100);
    currentPercentText_ = percentText(100);
    setBar(wholeBar_, BarScale(totalSeconds_), doneSeconds_);
    // A run of nothing but empty files is complete once its files are.
    const int whole = totalSeconds_ > 0.0 ? ProgressPercent::ofSpan(doneSeconds_, totalSeconds_) : 100;
    wholePercentText_ = percentText(whole);
    showTexts();
}

void AudioProgressDialog::showTexts()
{
    showPath(sourceLabel_, sourceText_);
    showPath(outputLabel_, outputText_);
    currentPercent_->setText(currentPercentText_);
    wholePercent_->setText(wholePercentText_);
}
