// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>

class CDudidEvar;
class CSkinButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class ImageProgressDialog;
class SourceLengthReading;
class SpinButton;
class StillSubtitleChoice;

// Still pictures of one video to BMP files: a range of the file, a number of pictures per
// second, the video's own size or one from the lists, subtitles drawn on or not. Made for one
// use by the Tools command.
class ImageExtractionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImageExtractionDialog(QWidget* parent = nullptr);

    // The video and the main window's control; before the dialog is shown.
    void SetSource(const std::string& path, CDudidEvar& control);
    // A new source while the dialog is open, as if it had been picked: its folder, the whole
    // file as the range.
    void TakeSource(const std::string& path);

    // Fills the form for the source: folder, lists and their defaults; the duration once it is
    // measured, off the window's thread. Run by exec.
    void initDialog();
    int exec() override;

    const std::string& sourcePath() const { return sourcePath_; }
    const std::string& outputFolder() const { return outputFolder_; }
    unsigned picturesPerSecond() const { return picturesPerSecond_; }
    double startTime() const { return startTime_; }
    double endTime() const { return endTime_; }
    double duration() const { return duration_; }
    // False while the duration of the source is being measured.
    bool lengthKnown() const { return lengthKnown_; }
    bool isExtracting() const { return extracting_; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectCommands();
    void fillSizeLists();
    void takeFolderOfSource();
    void measureSource();
    void takeLength(double seconds);
    void showRangeEditable(bool editable);
    void showRoundedEnd();
    void offerSubtitles();
    void readForm();
    void readRate();
    void showForm();

    void browse();
    void preview();
    void originalSizeClicked();
    void extractNow();
    void runPictures(double span, double interval);
    void takePictures(ImageProgressDialog& progress);

    std::string sourcePath_;
    std::string outputFolder_;
    unsigned picturesPerSecond_ = 3;
    double endTime_ = 0.0;
    double startTime_ = 0.0;
    int heightIndex_ = -1;
    int widthIndex_ = -1;
    CDudidEvar* control_ = nullptr;
    double duration_ = 0.0;
    bool lengthKnown_ = false;
    bool extracting_ = false;

    QWidget* form_;
    QLineEdit* sourceEdit_;
    QLineEdit* folderEdit_;
    QLineEdit* startEdit_;
    QLineEdit* endEdit_;
    QComboBox* widthList_;
    QComboBox* heightList_;
    QCheckBox* originalSize_;
    QLineEdit* rateEdit_;
    SpinButton* rateSpin_;
    QComboBox* subtitleList_;
    StillSubtitleChoice* subtitleChoice_ = nullptr;
    SourceLengthReading* lengthReading_ = nullptr;
    CSkinButton* preview_;
    CSkinButton* browse_;
    CSkinButton* cancel_;
    CSkinButton* extract_;
};
