// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPoint>
#include <QProgressBar>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <string>
#include <vector>

#include "engine/CDudidEvar.h"
#include "mainwnd/LogList.h"
#include "mainwnd/MainWindowExecutionView.h"
#include "mainwnd/TaskListView.h"
#include "skin/CHoverButton.h"
#include "tasks/KeptListMerge.h"
#include "tasks/TaskExecution.h"
#include "tasks/TaskSelection.h"
#include "tools/AudioExtractionDialog.h"

class TaskList;
class TaskListStore;

// The program's one top-level window: frameless, cut to the shape of its skin, dragged by any
// point of its own surface. It holds the task list, the log, the progress bar, the hover
// buttons and the conversion control, which it lends to the dialogs it opens.
class MainWindow : public QDialog {
    Q_OBJECT

public:
    // Control ids of the window's elements.
    enum ControlId {
        TaskListId = 1000,
        ToolsId = 1004,
        ConversionControlId = 1011,
        ExecuteId = 1027,
        AddId = 1035,
        DelId = 1036,
        EditId = 1039,
        WebLinkId = 1040,
        MinimizeId = 1042,
        ExitId = 1043,
        HelpId = 1044,
        OutputId = 1051,
        ProgressId = 1053,
        VideoAreaId = 1054,
        EmblemId = 1110,
        LogListId = LogList::kId,
    };
    // Menu commands and the system menu's About entry.
    enum Command {
        AboutSystemCommand = 16,
        ContentCommand = 32771,
        SupportMailCommand = 32772,
        AboutCommand = 32775,
        WebPageCommand = 32776,
        ExtractImageCommand = 32777,
        ExtractAudioCommand = 32778,
        SaveTaskListCommand = 32779,
        OpenTaskListCommand = 32780,
        GoOnAfterFailureCommand = 32781,
        RemoveFinishedCommand = 32782,
        RemoveAllCommand = 32783,
    };
    // System commands of the window menu besides About.
    enum SystemCommand { MinimizeSystemCommand = 0xF020, CloseSystemCommand = 0xF060 };

    explicit MainWindow(TaskList& tasks, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Creates the window: the skin and its shape, the conversion control, then every control
    // set up and placed. False, with nothing shown, when the control cannot be created.
    bool Create();
    // The modal run; -1 at once when the window cannot be created.
    int exec() override;

    // Keeps the task list in the store from one start to the next: restored when the window is
    // created, written after every change; the window's place is kept too, in the user's hive.
    // Set before Create; without one nothing is kept.
    void KeepTasksIn(TaskListStore* store);
    // Files another start of the program handed over.
    void TakeHandedOverFiles(const QStringList& files);
    // Files given to the program at its start (a file manager's "Open with"): once the window
    // runs, they are taken as a drop of them would be. Set before exec.
    void OpenAtStart(const QStringList& files) { startFiles = files; }

    // Enables or disables Add, Del, Edit and Tools together.
    void EnableTaskCommands(bool enable);

    // The one conversion control of the process, lent to the dialogs that need it.
    CDudidEvar& Control() { return control; }
    TaskList& Tasks() { return tasks; }

protected:
    // Bits per pixel of the screen the window opens on.
    virtual int ScreenDepth() const;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void done(int result) override;
    void changeEvent(QEvent* event) override;

private:
    friend class MainWindowTestPeer;
    friend class MainWindowExecutionView;

    // Creation, before the controls are set up.
    void WarnAboutColourDepth();
    void LoadSkin();
    // Back where the window was when it last closed, on the screens there are now.
    void PlaceWhereItWas();
    bool CreateConversionControl();

    // Initialisation, in its order.
    void Initialise();
    void BuildSystemMenu();
    void SetUpLogList();
    void SetUpHoverButtons();
    void PlaceControls();
    void ConnectCommands();

    // The window's own commands.
    void OnCommand(int command);
    void OnSystemCommand(int command);
    void OnMinimize();
    void OnExit();
    // Closes the window; while a run or preview is active, only when the user agrees to stop it.
    void RequestClose();
    bool UserAgreesToStop();
    void OpenHelpContent();
    void OpenSupportMail();
    void OpenWebPage();
    void RunAboutBox();

    // Task list commands.
    void OnAdd();
    void AddTaskFrom(const QStringList& sources);
    bool TakesDrops() const;
    void TakeFiles(const QList<QUrl>& urls);
    void OpenEditorOnDrop(const QStringList& sources);
    void OnDel();
    void OnEdit();
    // Several rows at once: the selected ones, the finished ones, all of them.
    std::vector<int> SelectedRows() const;
    std::vector<int> AllRows() const;
    void RemoveRows(const std::vector<int>& rows);
    void OnRemoveFinished();
    void OnRemoveAll();
    bool UserAgreesToRemove(const QString& question);
    // Delete and Edit can be clicked only while the task commands are on and the list has rows.
    void UpdateRowCommands();
    void OnTaskListClicked(int row);
    void OnTaskListSelectionChanged();
    std::size_t RowCount() const;
    void AddRowForLastTask();
    void AddRowsFrom(std::size_t first);
    void RewriteRow(std::size_t index);
    void ShowSelectedRow();

    // Execution and preview.
    void OnExecute();
    void OnOutput();
    void OnConvertDone();
    void OnConvertProgress(double secondsDone, double totalSeconds);
    void OnConvertFailed(const QString& reason);
    void RunClosingSteps();

    // The tools.
    void OnExtractImage();
    void OnExtractAudio();

    // The task list kept, saved and opened as a file, and what a run does after a failed task.
    std::string RestoreKeptTasks();
    void KeepTaskList();
    void TakeStatusesFromRuns(const std::vector<KeptListMerge::Adopted>& adopted);
    void AddRowsForNewTasks();
    void OnSaveTaskList();
    void OnOpenTaskList();
    void RefuseTaskList(const std::string& reason);
    std::optional<bool> AskToReplaceTasks(const QString& path);
    void SetUpGoOnAfterFailure();
    void OnGoOnAfterFailure();

    TaskList& tasks;

    QLabel emblem;
    CHoverButton tools;
    CHoverButton minimize;
    CHoverButton help;
    CHoverButton exit;
    CHoverButton execute;
    CHoverButton output;
    CHoverButton webLink;
    CHoverButton edit;
    CHoverButton del;
    QLabel videoArea;
    CHoverButton add;
    QProgressBar progress;
    TaskListView taskList;
    CDudidEvar control;
    LogList logList;
    QIcon appIcon;
    QStringList startFiles;
    QImage skin;
    QPixmap skinPixmap;
    QMenu systemMenu;

    // The selected task, and the run and preview with their state.
    TaskSelection selection;
    MainWindowExecutionView executionView{*this};
    TaskExecution execution{control, tasks, executionView};
    bool extractionActive = false;
    // The audio tool, kept for the window's life and reused on every opening.
    AudioExtractionDialog audioTool{control, this};

    TaskListStore* taskStore = nullptr;
    // Set once closing has released the tasks' settings; nothing is kept afterwards.
    bool tasksReleased = false;

    bool created = false;
    std::optional<QPoint> dragOffset;
};
