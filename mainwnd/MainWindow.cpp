// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwnd/MainWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include "engine/ControlClassRegistry.h"
#include "mainwnd/AboutDialog.h"
#include "mainwnd/MakerAddresses.h"
#include "mainwnd/WindowPlace.h"
#include "platform/DialogFont.h"
#include "platform/DialogUnits.h"
#include "platform/InstallDir.h"
#include "platform/PathNames.h"
#include "platform/ProductTitle.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "res/Resources.h"
#include "skin/BuildBitmapRegion.h"
#include "skin/CommandEvent.h"
#include "tasks/TaskList.h"
#include "tasks/TaskRowText.h"
#include "tasks/TaskListStore.h"

namespace {

constexpr int kSkinBitmap = 129;
constexpr int kEmblemBitmap = 182;
constexpr int kAboutEntryString = 101;
constexpr int kHelpMenu = 158;
constexpr int kToolsMenu = 164;
constexpr QSize kTemplateSize{363, 272};

// Final places in client pixels.
constexpr QRect kAddPlace{14, 35, 46, 45};
constexpr QRect kDelPlace{14, 85, 46, 45};
constexpr QRect kEditPlace{14, 135, 46, 45};
constexpr QRect kToolsPlace{14, 185, 46, 45};
constexpr QRect kWebLinkPlace{8, 390, 65, 18};
constexpr QRect kHelpPlace{460, 10, 13, 16};
constexpr QRect kMinimizePlace{480, 10, 13, 16};
constexpr QRect kExitPlace{500, 10, 13, 16};
constexpr QRect kOutputPlace{458, 242, 46, 45};
constexpr QRect kExecutePlace{448, 330, 65, 65};
constexpr QRect kTaskListPlace{81, 35, 440, 162};
constexpr QRect kVideoAreaPlace{87, 216, 345, 180};
constexpr QRect kControlPlace{135, 218, 249, 175};
constexpr QRect kLogListPlace{87, 216, 345, 180};
constexpr QRect kEmblemPlace{9, 9, 16, 16};
constexpr QRect kProgressPlace{87, 402, 345, 12};

const QString kHelpFile = QStringLiteral("help.chm");
const QString kUserGuide = QStringLiteral("help.html");

void setId(QWidget& widget, int id)
{
    widget.setObjectName(QString::number(id));
}

}  // namespace

MainWindow::MainWindow(TaskList& sharedTasks, QWidget* parent)
    : QDialog(parent),
      tasks(sharedTasks),
      emblem(this),
      tools(this),
      minimize(this),
      help(this),
      exit(this),
      execute(this),
      output(this),
      webLink(this),
      edit(this),
      del(this),
      videoArea(this),
      add(this),
      progress(this),
      taskList(this),
      logList(this),
      appIcon(Resources::applicationIcon()),
      systemMenu(this)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setAcceptDrops(true);
    setFont(DialogFont::Tahoma8());
    // The skin has one size: the window manager can neither resize nor maximise it.
    setFixedSize(DialogUnits::toPixelsX(kTemplateSize.width()), DialogUnits::toPixelsY(kTemplateSize.height()));
    setId(emblem, EmblemId);
    setId(tools, ToolsId);
    setId(minimize, MinimizeId);
    setId(help, HelpId);
    setId(exit, ExitId);
    setId(execute, ExecuteId);
    setId(output, OutputId);
    setId(webLink, WebLinkId);
    setId(edit, EditId);
    setId(del, DelId);
    setId(videoArea, VideoAreaId);
    setId(add, AddId);
    setId(progress, ProgressId);
    setId(taskList, TaskListId);
    systemMenu.setObjectName(QStringLiteral("systemMenu"));
    // The list's inner width sets its column widths, so it has its size before it is set up.
    taskList.setGeometry(kTaskListPlace);
    logList.resize(0, 0);
}

// The kept list's last writes reach the file before the window goes.
MainWindow::~MainWindow()
{
    if (taskStore) {
        taskStore->onWritten({});
        taskStore->flush();
    }
}

bool MainWindow::Create()
{
    if (created)
        return true;
    WarnAboutColourDepth();
    LoadSkin();
    setWindowTitle(ProductTitle);
    if (!CreateConversionControl())
        return false;
    Initialise();
    PlaceWhereItWas();
    created = true;
    return true;
}

void MainWindow::PlaceWhereItWas()
{
    if (!taskStore)
        return;
    const std::optional<QPoint> kept = WindowPlace::kept();
    if (!kept)
        return;
    QList<QRect> screens;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    for (const QScreen* other : QGuiApplication::screens())
        if (other != QGuiApplication::primaryScreen())
            screens << other->availableGeometry();
    move(WindowPlace::onScreen(*kept, size(), screens));
}

int MainWindow::exec()
{
    if (!Create())
        return -1;
    if (!startFiles.isEmpty() && TakesDrops()) {
        QList<QUrl> urls;
        for (const QString& file : startFiles)
            urls << QUrl::fromLocalFile(file);
        TakeFiles(urls);
    }
    return QDialog::exec();
}

int MainWindow::ScreenDepth() const
{
    const QScreen* shownOn = screen();
    return shownOn ? shownOn->depth() : 32;
}

void MainWindow::WarnAboutColourDepth()
{
    const int depth = ScreenDepth();
    if (depth == 16 || depth == 24 || depth == 32)
        return;
    Prompts::get().messageBox(this, ProductTitle,
                              QStringLiteral("Only 16,24 and 32 bits color display mode \n are supported for displaying."),
                              PromptIcon::Exclamation, PromptButtons::Ok);
}

void MainWindow::LoadSkin()
{
    skin = Resources::bitmap(kSkinBitmap);
    skinPixmap = QPixmap::fromImage(skin);
    if (const auto region = BuildBitmapRegion(skin, WhiteKey, KeyTransparent))
        setMask(*region);
}

bool MainWindow::CreateConversionControl()
{
    if (!control.Create(kDudidEvarClassId, this))
        return false;
    if (QWidget* shown = control.Widget()) {
        if (shown->parentWidget() != this)
            shown->setParent(this);
        setId(*shown, ConversionControlId);
        shown->hide();
    }
    return true;
}

void MainWindow::Initialise()
{
    BuildSystemMenu();
    setWindowIcon(appIcon);
    videoArea.hide();
    taskList.SetUp();
    SetUpHoverButtons();
    SetUpGoOnAfterFailure();
    // Measuring the lengths of a long list waits for the turns of the event loop.
    execution.setDeferral([this](std::function<void()> work) { QTimer::singleShot(0, this, std::move(work)); });
    PlaceControls();
    ConnectCommands();
    SetUpLogList();
    UpdateRowCommands();
}

void MainWindow::BuildSystemMenu()
{
    systemMenu.addAction(QStringLiteral("Mi&nimize"))->setData(static_cast<int>(MinimizeSystemCommand));
    systemMenu.addAction(QStringLiteral("&Close"))->setData(static_cast<int>(CloseSystemCommand));
    const QString about = Resources::string(kAboutEntryString);
    if (!about.isEmpty()) {
        systemMenu.addSeparator();
        systemMenu.addAction(about)->setData(static_cast<int>(AboutSystemCommand));
    }
    connect(&systemMenu, &QMenu::triggered, this,
            [this](QAction* chosen) { OnSystemCommand(chosen->data().toInt()); });
    // The window menu's usual key, as the window has no title bar to click.
    auto* opener = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(opener, &QShortcut::activated, this,
            [this] { systemMenu.popup(mapToGlobal(QPoint(0, 0))); });
}

// The hint to press "Add" leads the log of an empty list; a restored list is said instead.
void MainWindow::SetUpLogList()
{
    const std::string note = RestoreKeptTasks();
    if (tasks.empty())
        logList.Start();
    else
        logList.Append(QString::fromStdString(TaskRowText::taskCount(tasks.size())) +
                       QStringLiteral(" kept from the last time"));
    if (!note.empty())
        logList.Append(QString::fromStdString(note));
}

void MainWindow::SetUpHoverButtons()
{
    add.LoadStateBitmap(149, 4, false);
    add.SetToolTipText(QStringLiteral("Add a task into the task list"), true);
    del.LoadStateBitmap(150, 4, false);
    del.SetToolTipText(QStringLiteral("Delete a task from the task list"), true);
    edit.LoadStateBitmap(151, 4, false);
    edit.SetToolTipText(QStringLiteral("Edit the selected task"), true);
    webLink.LoadStateBitmap(152, 2, false);
    webLink.SetToolTipText(MakerAddresses::kWebPage, true);
    output.LoadStateBitmap(153, 4, false);
    output.SetToolTipText(QStringLiteral("Preview output"), true);
    output.setEnabled(false);
    execute.LoadStateBitmap(154, 4, false);
    execute.SetToolTipText(QStringLiteral("Execute all tasks"), true);
    execute.setEnabled(false);
    exit.LoadStateBitmap(155, 4, false);
    exit.SetToolTipText(QStringLiteral("Exit"), true);
    help.LoadStateBitmap(156, 4, false);
    help.SetToolTipText(QStringLiteral("Help"), true);
    help.SetPopupMenu(kHelpMenu, this, false);
    minimize.LoadStateBitmap(159, 4, false);
    minimize.SetToolTipText(QStringLiteral("Minimize"), true);
    tools.LoadStateBitmap(161, 4, false);
    tools.SetToolTipText(QStringLiteral("Tools"), true);
    tools.SetPopupMenu(kToolsMenu, this, false);
}

void MainWindow::PlaceControls()
{
    add.setGeometry(kAddPlace);
    del.setGeometry(kDelPlace);
    edit.setGeometry(kEditPlace);
    tools.setGeometry(kToolsPlace);
    webLink.setGeometry(kWebLinkPlace);
    help.setGeometry(kHelpPlace);
    minimize.setGeometry(kMinimizePlace);
    exit.setGeometry(kExitPlace);
    output.setGeometry(kOutputPlace);
    execute.setGeometry(kExecutePlace);
    taskList.setGeometry(kTaskListPlace);
    videoArea.setGeometry(kVideoAreaPlace);
    QPalette black = videoArea.palette();
    black.setColor(QPalette::Window, Qt::black);
    videoArea.setPalette(black);
    videoArea.setAutoFillBackground(true);
    if (QWidget* shown = control.Widget()) {
        shown->setGeometry(kControlPlace);
        shown->raise();
    }
    logList.setGeometry(kLogListPlace);
    emblem.setPixmap(QPixmap::fromImage(Resources::bitmap(kEmblemBitmap)));
    emblem.setGeometry(kEmblemPlace);
    progress.setRange(0, 100);
    progress.setValue(0);
    progress.setTextVisible(false);
    progress.setGeometry(kProgressPlace);
}

void MainWindow::ConnectCommands()
{
    connect(&execute, &QAbstractButton::clicked, this, &MainWindow::OnExecute);
    connect(&add, &QAbstractButton::clicked, this, &MainWindow::OnAdd);
    connect(&del, &QAbstractButton::clicked, this, &MainWindow::OnDel);
    connect(&edit, &QAbstractButton::clicked, this, &MainWindow::OnEdit);
    connect(&output, &QAbstractButton::clicked, this, &MainWindow::OnOutput);
    connect(&taskList, &TaskListView::rowClicked, this, &MainWindow::OnTaskListClicked);
    connect(&taskList, &QTreeWidget::itemSelectionChanged, this, &MainWindow::OnTaskListSelectionChanged);
    // The Delete key and a double click act as the Delete and Edit buttons, when those could be clicked.
    connect(&taskList, &TaskListView::deletePressed, this, [this] {
        if (del.isEnabled())
            OnDel();
    });
    connect(&taskList, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (edit.isEnabled())
            OnEdit();
    });
    connect(&minimize, &QAbstractButton::clicked, this, &MainWindow::OnMinimize);
    connect(&exit, &QAbstractButton::clicked, this, &MainWindow::OnExit);
    connect(&webLink, &QAbstractButton::clicked, this, &MainWindow::OpenWebPage);
    connect(&control, &CDudidEvar::convertDone, this, &MainWindow::OnConvertDone);
    connect(&control, &CDudidEvar::convertProgress, this, &MainWindow::OnConvertProgress);
    connect(&control, &CDudidEvar::convertFailed, this, &MainWindow::OnConvertFailed);
}

void MainWindow::EnableTaskCommands(bool enable)
{
    add.setEnabled(enable);
    tools.setEnabled(enable);
    UpdateRowCommands();
}

void MainWindow::UpdateRowCommands()
{
    const bool rows = RowCount() > 0;
    del.setEnabled(add.isEnabled() && rows);
    edit.setEnabled(add.isEnabled() && rows);
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == CommandEvent::type()) {
        OnCommand(static_cast<CommandEvent*>(event)->command());
        return true;
    }
    return QDialog::event(event);
}

void MainWindow::OnCommand(int command)
{
    switch (command) {
    case ContentCommand: OpenHelpContent(); break;
    case SupportMailCommand: OpenSupportMail(); break;
    case AboutCommand: RunAboutBox(); break;
    case WebPageCommand: OpenWebPage(); break;
    case ExtractImageCommand: OnExtractImage(); break;
    case ExtractAudioCommand: OnExtractAudio(); break;
    case SaveTaskListCommand: OnSaveTaskList(); break;
    case OpenTaskListCommand: OnOpenTaskList(); break;
    case GoOnAfterFailureCommand: OnGoOnAfterFailure(); break;
    case RemoveFinishedCommand: OnRemoveFinished(); break;
    case RemoveAllCommand: OnRemoveAll(); break;
    default: break;
    }
}

void MainWindow::OnSystemCommand(int command)
{
    switch (command) {
    case AboutSystemCommand: RunAboutBox(); break;
    case MinimizeSystemCommand: OnMinimize(); break;
    case CloseSystemCommand: RequestClose(); break;
    default: break;
    }
}

void MainWindow::OnMinimize()
{
    showMinimized();
}

void MainWindow::OnExit()
{
    RequestClose();
}

void MainWindow::RequestClose()
{
    if (UserAgreesToStop())
        close();
}

// A halted run converts nothing any more: closing loses no work, so it does not ask.
bool MainWindow::UserAgreesToStop()
{
    const TaskExecution::State now = execution.state();
    if (now != TaskExecution::State::Running && now != TaskExecution::State::Previewing)
        return true;
    return Prompts::get().messageBox(this, ProductTitle, QStringLiteral("Stop conversion?"), PromptIcon::Information,
                                     PromptButtons::YesNo) == PromptAnswer::Yes;
}

void MainWindow::OpenHelpContent()
{
    // The compiled help file when one lies beside the program, else the guide shipped with it.
    const QString folder = QString::fromStdString(InstallDir::get()) + QChar(PathNames::kSeparator);
    const QString helpFile = folder + kHelpFile;
    if (QFileInfo::exists(helpFile) || !QFileInfo::exists(folder + kUserGuide))
        Shell::openOrTell(this, ProductTitle, helpFile);
    else
        Shell::openOrTell(this, ProductTitle, folder + kUserGuide);
}

void MainWindow::OpenSupportMail()
{
    Shell::openOrTell(this, ProductTitle, MakerAddresses::kSupportMail);
}

void MainWindow::OpenWebPage()
{
    Shell::openOrTell(this, ProductTitle, MakerAddresses::kWebPage);
}

void MainWindow::RunAboutBox()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, skinPixmap);
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    // The window manager moves the window when it can; otherwise the window follows the pointer.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (dragOffset && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *dragOffset);
    else
        QDialog::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    dragOffset.reset();
    QDialog::mouseReleaseEvent(event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // A right click on the window's own surface opens its window menu, as on a title bar.
    if (childAt(event->pos())) {
        event->ignore();
        return;
    }
    systemMenu.popup(event->globalPos());
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: RequestClose(); break;
    default: QDialog::keyPressEvent(event); break;
    }
}

// The window manager's close (its close box, its close key) asks as the window's own close
// commands do; a close from the program itself, as on a termination request, does not.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous() && !UserAgreesToStop()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// A window manager that maximises the window anyway gets the skin's size back.
void MainWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen)); });
}

void MainWindow::done(int result)
{
    if (created && taskStore && !tasksReleased && !isMinimized())
        WindowPlace::keep(pos());
    RunClosingSteps();
    QDialog::done(result);
}
