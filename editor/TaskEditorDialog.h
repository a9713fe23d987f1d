// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tasks/OutputKind.h"
#include "tasks/TaskSettings.h"

class AviSettingsPanel;
class CDudidEvar;
class CSkinButton;
class MpegSettingsPanel;
class Mp4SettingsPanel;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTreeWidget;
class SettingsPanel;
class TaskList;
struct ConversionTask;
class TrackChoiceFields;
class SourceTrackListing;
class WmvProfilePanel;

// The dialog that builds a new task or rewrites an existing one (template 139, "Option"):
// sources, output kind with its settings panel, output path and split. Made for one Add or
// Edit: SetFirstSource or LoadTask, then exec(). Only OK touches the task list: it appends the
// new task, or rewrites the edited one in place. An edited task opens as it is stored (output
// path, kind, standard, split and its panel's settings), and OK without a change leaves its
// record exactly as it was.
class TaskEditorDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 139;
    static constexpr const char* kPathMessage =
        "The output file path is invalid or the file is used by \nanother program.Please check it!";
    static constexpr const char* kNoSourceMessage = "No source file.";

    TaskEditorDialog(CDudidEvar& control, TaskList& tasks, QWidget* parent = nullptr);
    ~TaskEditorDialog() override;

    // A new task from its first source file.
    void SetFirstSource(const std::string& path);
    // One more source, joined after those the editor has; the first one when it has none.
    void AddSource(const std::string& path);
    // The task at that index, shown as it is stored and rewritten at OK; false (and nothing
    // loaded) for an index the list does not have.
    bool LoadTask(std::size_t index);

    OutputKind Kind() const { return kind_; }
    // The panels; they exist once the dialog has opened.
    AviSettingsPanel* AviPanel() const { return aviPanel_; }
    MpegSettingsPanel* MpegPanel() const { return mpegPanel_; }
    WmvProfilePanel* WmvPanel() const { return wmvPanel_; }
    Mp4SettingsPanel* Mp4Panel() const { return mp4Panel_; }

public slots:
    void accept() override;

    // A screen too short for the editor with its title bar (a small screen at a large scale):
    // OK and Cancel rise beside the Split row, as far as it takes, which saves up to 23 dialog
    // units.
    void FitIntoHeight(int available);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildKindButtons();
    void buildTrackChoices();
    void connectControls();
    void initDialog();
    void fillSourceList();
    void fillIntervals();
    void applySplitRule();
    void createPanels();
    void setButtonIcons();
    void formPathPieces(const std::string& firstSource);

    void showStoredTask();
    void selectKind(OutputKind kind);
    SettingsPanel* panelOf(OutputKind kind) const;
    CSkinButton* kindButton(OutputKind kind) const;
    std::string defaultOutputPath() const;

    void addSource();
    void appendSourceRow(const QString& path);
    void appendSourceRows(const QStringList& paths);
    void markEnlargingHeights();
    void removeSource();
    void moveSource(int offset);
    void selectRow(int row);
    void lockSplit();
    void browse();
    void onSplit();

    std::vector<std::string> rowTexts() const;
    void showMessage(const QString& text);
    bool clashesWithAnotherTask(const std::string& outputPath, const std::vector<std::string>& sources);
    bool replacingAgreed(const std::string& outputPath);
    bool numbersBeyondTheKind();
    void writeTask(const std::vector<std::string>& sources, const std::string& outputPath);
    void writeSettings(TaskSettings& settings) const;
    void writeTrackChoices(ConversionTask& task) const;
    TaskSettings settingsToWrite(const TaskSettings& record) const;

    CDudidEvar& control_;
    TaskList& tasks_;
    bool opened_ = false;

    std::vector<std::string> initialSources_;
    int currentRow_ = -1;
    int intervalIndex_;
    OutputKind kind_ = OutputKind::Avi;
    std::string outputFolder_;
    std::string baseName_;
    std::optional<std::size_t> taskIndex_;
    std::string storedOutputPath_;
    std::string storedSoundTrack_;
    std::string storedSubtitles_;
    bool storedSoftSubtitles_ = false;
    std::optional<TaskSettings> storedSettings_;
    // The edited record as OK would write it right after opening.
    std::optional<TaskSettings> shownAtOpening_;

    QTreeWidget* sources_ = nullptr;
    std::array<CSkinButton*, 4> sourceButtons_{};  // add, remove, up, down
    std::vector<CSkinButton*> kindButtons_;  // in the order of the kinds table
    QGroupBox* panelPlace_ = nullptr;
    QLineEdit* output_ = nullptr;
    CSkinButton* browse_ = nullptr;
    QCheckBox* split_ = nullptr;
    QComboBox* intervals_ = nullptr;
    QComboBox* soundTrack_ = nullptr;
    QComboBox* subtitles_ = nullptr;
    std::unique_ptr<TrackChoiceFields> trackChoices_;
    SourceTrackListing* trackListing_ = nullptr;
    CSkinButton* ok_ = nullptr;
    CSkinButton* cancel_ = nullptr;

    AviSettingsPanel* aviPanel_ = nullptr;
    MpegSettingsPanel* mpegPanel_ = nullptr;
    WmvProfilePanel* wmvPanel_ = nullptr;
    Mp4SettingsPanel* mp4Panel_ = nullptr;
};
