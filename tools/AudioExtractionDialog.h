// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "tools/AudioItem.h"
#include "tools/AudioProgressDialog.h"

class CDudidEvar;
class CSkinButton;
class ExtractionEvent;
class QComboBox;
class QLineEdit;
class QModelIndex;
class QTreeWidget;

// The sound tracks of one or more videos to WMA or WAV files. The main window keeps one for its
// whole life and, while it is open, passes the control's events on to it; the items run one
// after another, each started by the end of the one before.
class AudioExtractionDialog : public QDialog {
    Q_OBJECT
public:
    explicit AudioExtractionDialog(CDudidEvar& control, QWidget* parent = nullptr);

    void ResetItems();
    void SetControl(CDudidEvar& control);

    // The state of a fresh opening: empty list, "WMA", the kept folder. Run by exec.
    void initDialog();
    int exec() override;

    // The control's events while the tool is open; each is queued and handled in order.
    void postItemDone();
    void postItemProgress(double secondsDone, double length);
    void postItemFailed(const QString& reason);

    const std::vector<AudioItem>& items() const { return items_; }
    const std::string& outputFolder() const { return outputFolder_; }
    int formatIndex() const { return formatIndex_; }
    int selectedRow() const { return selectedRow_; }
    int currentItem() const { return currentItem_; }
    bool isRunning() const { return running_; }
    AudioProgressDialog& progress() { return progress_; }

protected:
    bool event(QEvent* event) override;

private:
    void buildControls();
    void connectCommands();
    void setUpColumns();
    void readForm();
    void showForm();
    QString formatText() const;

    void add();
    void addRow(const QString& path);
    void remove();
    void rowClicked(const QModelIndex& index);
    void formatChanged();
    void browse();
    void extractNow();

    void StartItem();
    void itemDone();
    void itemFailed(const QString& reason);
    void finishItem();
    void endRun();
    void postToThisRun(ExtractionEvent* message);
    void closeProgress();
    void markFailed(int row);

    std::vector<AudioItem> items_;
    std::string outputFolder_;
    int formatIndex_ = -1;
    CDudidEvar* control_;
    int selectedRow_ = -1;
    int currentItem_ = 0;
    bool running_ = false;
    int run_ = 0;
    std::vector<QString> failures_;

    QTreeWidget* list_;
    CSkinButton* addButton_;
    CSkinButton* removeButton_;
    QComboBox* formatList_;
    QLineEdit* folderEdit_;
    CSkinButton* browse_;
    CSkinButton* cancel_;
    CSkinButton* extract_;
    AudioProgressDialog progress_;
};
