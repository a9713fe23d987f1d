#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "ScriptedControl.h"
#include "ScriptedPrompts.h"
#include "engine/ControlClassRegistry.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "skin/CHoverButton.h"
#include "tasks/TaskList.h"
#include "tools/AudioExtractionDialog.h"
#include "tools/ImageExtractionDialog.h"

// Reads the window's extraction flag.
class MainWindowTestPeer {
public:
    static bool ExtractionActive(const MainWindow& window) { return window.extractionActive; }
};

namespace {

class MainWindowToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ControlClassRegistry::instance().registerClass(kDudidEvarClassId, [this](QWidget*) {
            auto made = std::make_unique<ScriptedControl>();
            control = made.get();
            control->script().durations = {{"/v/a.avi", 60.0}};
            return made;
        });
        InstallDir::set("");
        ASSERT_TRUE(window.Create());
    }
    void TearDown() override
    {
        ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
        CHoverButton::InstallMenuRunner({});
    }

    // Chooses the Tools menu entry; the command arrives once the click has been handled.
    void chooseTool(int command)
    {
        CHoverButton::InstallMenuRunner([command](QMenu& menu, const QPoint&) -> QAction* {
            for (QAction* action : menu.actions())
                if (action->data().toInt() == command)
                    return action;
            return nullptr;
        });
        window.findChild<CHoverButton*>(QString::number(MainWindow::ToolsId))->click();
        QCoreApplication::processEvents();
    }
    // Acts on the next modal dialog of the type once it is up.
    template <class Dialog>
    static void whenModal(std::function<void(Dialog*)> act)
    {
        auto* poll = new QTimer;
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, [poll, act] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                act(dialog);
            }
        });
        poll->start();
    }
    static void settle()
    {
        for (int pass = 0; pass < 4; ++pass)
            QCoreApplication::processEvents();
    }

    TaskList tasks;
    ScriptedControl* control = nullptr;
    ScopedPrompts prompts;
    MainWindow window{tasks};
};

TEST_F(MainWindowToolsTest, ImageToolOpensOnAPickedSourceWithTheWindowsControl)
{
    chooseTool(MainWindow::ExtractImageCommand);  // the file dialog is cancelled
    EXPECT_EQ(prompts->fileFilters.size(), 1u);
    EXPECT_TRUE(control->calls().empty());

    prompts->files = {"/v/a.avi"};
    QString source;
    whenModal<ImageExtractionDialog>([&source](ImageExtractionDialog* dialog) {
        source = QString::fromStdString(dialog->sourcePath());
        dialog->reject();
    });
    chooseTool(MainWindow::ExtractImageCommand);
    EXPECT_EQ(source, "/v/a.avi");
    EXPECT_EQ(control->callsStartingWith("GetDuration"), (std::vector<std::string>{"GetDuration(/v/a.avi)"}));
}

TEST_F(MainWindowToolsTest, AudioToolGetsTheControlsEventsOnlyWhileItIsOpen)
{
    prompts->folders = {"/out"};
    prompts->files = {"/v/a.avi"};
    bool activeInside = false;
    whenModal<AudioExtractionDialog>([&](AudioExtractionDialog* tool) {
        activeInside = MainWindowTestPeer::ExtractionActive(window);
        tool->findChild<QPushButton*>("1011")->click();
        tool->findChild<QPushButton*>("1057")->click();
        QTimer::singleShot(0, [&] {
            control->raiseProgress(30, 60);
            settle();
            EXPECT_EQ(tool->progress().wholePercentText(), "50%");
            control->raiseDone();
        });
        tool->findChild<QPushButton*>("1")->click();
        tool->reject();
    });
    chooseTool(MainWindow::ExtractAudioCommand);
    EXPECT_TRUE(activeInside);
    EXPECT_FALSE(MainWindowTestPeer::ExtractionActive(window));
    EXPECT_EQ(control->callsStartingWith("SaveAudio"), (std::vector<std::string>{"SaveAudioAsWma(/out/a.wma)"}));
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].text, "Successfully Done.");

    // Closed, the tool hears nothing; opened again, its list is empty and its folder kept.
    control->raiseDone();
    settle();
    whenModal<AudioExtractionDialog>([](AudioExtractionDialog* tool) {
        EXPECT_EQ(tool->findChild<QTreeWidget*>("1026")->topLevelItemCount(), 0);
        EXPECT_EQ(tool->findChild<QLineEdit*>("1010")->text(), "/out/");
        tool->reject();
    });
    chooseTool(MainWindow::ExtractAudioCommand);
    EXPECT_EQ(control->callsStartingWith("SaveAudio").size(), 1u);
}

}  // namespace
