// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "tools/ProgressWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The modal window of a sound run: the current source and output with their bar, and the bar
// of the whole run. Cancel and Esc end it with the cancel result; so does a finished run.
class AudioProgressDialog : public ProgressWindow {
    Q_OBJECT
public:
    explicit AudioProgressDialog(QWidget* parent = nullptr);

    void SetTotal(double totalSeconds);
    void SetLabels(const QString& source, const QString& output, bool redisplay);
    void AddDone(double seconds);

    // Progress of the current file (seconds done of its length) and its end, which adds the
    // file's length to the seconds done; both handled in the order they were posted.
    void postFileProgress(double done, double length);
    void postFileDone(double fileSeconds);

    double doneSeconds() const { return doneSeconds_; }
    double totalSeconds() const { return totalSeconds_; }
    QString currentPercentText() const { return currentPercentText_; }
    QString wholePercentText() const { return wholePercentText_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fileProgress(double done, double length);
    void fileDone(double fileSeconds);
    void showTexts();

    QString currentPercentText_ = QStringLiteral("0%");
    QString wholePercentText_ = QStringLiteral("0%");
    QString sourceText_;
    QString outputText_;
    double doneSeconds_ = 0.0;
    double totalSeconds_ = 0.0;

    QLabel* sourceLabel_;
    QLabel* outputLabel_;
    QLabel* currentPercent_;
    QProgressBar* currentBar_;
    QLabel* wholePercent_;
    QProgressBar* wholeBar_;
    QPushButton* cancel_;
};
