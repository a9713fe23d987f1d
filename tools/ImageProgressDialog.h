// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "tools/ProgressWindow.h"

class CDudidEvar;
class QLabel;
class QProgressBar;
class QPushButton;

// The small window of a picture run: the picture last written, a bar and a percentage, and
// Cancel, which stops the run before the next picture.
class ImageProgressDialog : public ProgressWindow {
    Q_OBJECT
public:
    enum class Outcome { Finished, Cancelled };

    explicit ImageProgressDialog(QWidget* parent = nullptr);

    void Setup(CDudidEvar& control, const std::string& sourcePath, const std::string& namePrefix,
               double startTime, double span, double interval, bool keepOriginalSize, int width, int height);
    // Takes the pictures one by one, keeping the windows responsive in between; returns when all
    // are taken (after the closing message) or at a cancel.
    Outcome Run();

    bool cancelRequested() const { return cancelRequested_; }
    int picturesWritten() const { return written_; }
    int picturesFailed() const { return failed_; }
    QString fileLabelText() const { return fileLabelText_; }
    QString percentLabelText() const { return percentLabelText_; }

public slots:
    // Cancel and Esc only ask the run to stop; the owner closes the window.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool savePicture(const std::string& path, double time);
    void noteFailure();
    void showLabels();
    void reportEnd();

    bool cancelRequested_ = false;
    CDudidEvar* control_ = nullptr;
    std::string sourcePath_;
    std::string namePrefix_;
    double startTime_ = 0.0;
    double span_ = 0.0;
    double interval_ = 0.0;
    bool keepOriginalSize_ = true;
    int width_ = 0;
    int height_ = 0;
    QString fileLabelText_;
    QString percentLabelText_;
    int written_ = 0;
    int failed_ = 0;
    QStringList failures_;  // the control's reasons, each once, the first few

    QLabel* fileLabel_;
    QLabel* percentLabel_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};
