// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>

#include "RecordingShell.h"
#include "app/ConverterApp.h"
#include "app/RequirementsDialog.h"
#include "engine/ControlClassRegistry.h"
#include "platform/InstallDir.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "tasks/TaskList.h"

namespace {

// Registry values held in memory.
class MapHive : public RegistryHive {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;

    bool hasKey(const std::string& key) const override
    {
        return std::any_of(values.begin(), values.end(), [&](const auto& entry) { return entry.first.first == key; });
    }
    std::optional<std::string> value(const std::string& key, const std::string& name) const override
    {
        auto it = values.find({key, name});
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

// Start-up with the notice, the main window and the pause recorded instead of shown.
class RecordingApp : public ConverterApp {
public:
    using ConverterApp::ConverterApp;
    int notices = 0;
    int mainWindowRuns = 0;
    std::vector<std::chrono::milliseconds> pauses;

protected:
    void ShowRequirementsNotice() override { ++notices; }
    int RunMainWindow() override
    {
        ++mainWindowRuns;
        return 0;
    }
    void Pause(std::chrono::milliseconds duration) override { pauses.push_back(duration); }
};

// A shell that notes, at every launch, whether the control's class was registered by then.
class OrderShell : public RecordingShell {
public:
    std::vector<bool> registeredAtLaunch;
    bool launch(const QString& program, const QStringList& arguments) override
    {
        registeredAtLaunch.push_back(ControlClassRegistry::instance().isRegistered(kDudidEvarClassId));
        return RecordingShell::launch(program, arguments);
    }
};

const std::string kGoodModules = TEST_MODULES_DIR "/good";

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousShell = Shell::install(std::make_unique<OrderShell>());
        shell = static_cast<OrderShell*>(&Shell::get());
        ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
        workingFolder = QDir::currentPath();
    }
    void TearDown() override
    {
        Shell::install(std::move(previousShell));
        Registry::instance().install(nullptr, nullptr);
        ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
        InstallDir::set("");
        QDir::setCurrent(workingFolder);
    }

    // Hives with the install folder (none when null) and the runtime version (none when null).
    void installHives(const char* installDir, const char* version)
    {
        auto user = std::make_unique<MapHive>();
        if (installDir)
            user->values[{ConverterApp::kInstallPathKey, ""}] = installDir;
        auto machine = std::make_unique<MapHive>();
        if (version)
            machine->values[{ConverterApp::kRuntimeKey, "Version"}] = version;
        Registry::instance().install(std::move(user), std::move(machine));
    }

    TaskList tasks;
    RecordingApp app{tasks};
    OrderShell* shell = nullptr;
    std::unique_ptr<IShell> previousShell;
    QString workingFolder;
};

TEST_F(StartUpTest, VersionCasesThroughTheMachineHive)
{
    for (const char* failing : {"", "4.08", "3.9"})
        EXPECT_FALSE(ConverterApp::VersionIsSufficient(failing)) << failing;
    const std::pair<const char*, bool> cases[] = {{"4.08.0", true},        {"4.08.00.0400", true},
                                                  {"4.09.00.0904", true},  {"4.8", true},
                                                  {"4.07.00.0700", false}, {"4.0", false}};
    for (const auto& [version, passes] : cases) {
        installHives(kGoodModules.c_str(), version);
        EXPECT_EQ(app.CheckDirectXVersion(), passes) << version;
    }
    installHives(kGoodModules.c_str(), nullptr);
    EXPECT_FALSE(app.CheckDirectXVersion());
}

TEST_F(StartUpTest, ASoundEnvironmentRegistersEverythingAndRunsTheMainWindowOnce)
{
    installHives(kGoodModules.c_str(), "4.09.00.0904");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.mainWindowRuns, 1);
    EXPECT_EQ(app.notices, 0);
    EXPECT_EQ(InstallDir::get(), kGoodModules);
    EXPECT_EQ(QDir::currentPath().toStdString(), kGoodModules);
    EXPECT_TRUE(ControlClassRegistry::instance().isRegistered(kDudidEvarClassId));

    const QString folder = QString::fromStdString(kGoodModules);
    ASSERT_EQ(shell->launched.size(), 2u);
    EXPECT_EQ(shell->launched[0].first, QStringLiteral("/usr/bin/regsvr32.exe"));
    EXPECT_EQ(shell->launched[0].second, QStringList({"/s", folder + "/mpgfiltr.ax"}));
    EXPECT_EQ(shell->launched[1].second, QStringList({"/s", folder + "/zadevezoru.dll"}));
    EXPECT_EQ(shell->registeredAtLaunch, std::vector<bool>({true, true}));
    EXPECT_EQ(app.pauses, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(100)});
}

TEST_F(StartUpTest, EachFailedCheckShowsTheNoticeOnceAndNeverTheMainWindow)
{
    const std::string missingFolder = QDir::tempPath().toStdString() + "/marvane-no-such-folder";
    const std::string withoutEntry = TEST_MODULES_DIR "/without-entry";
    const std::pair<std::string, const char*> cases[] = {
        {missingFolder, "4.09.00.0904"},  // no control module
        {withoutEntry, "4.09.00.0904"},   // a module without its registration entry
        {kGoodModules, nullptr},          // no version value
        {kGoodModules, "4.07.00.0700"},   // a version below the required one
    };
    for (const auto& [folder, version] : cases) {
        SCOPED_TRACE(folder + " " + (version ? version : "(none)"));
        ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
        installHives(folder.c_str(), version);
        RecordingApp fresh(tasks);
        shell->launched.clear();
        EXPECT_FALSE(fresh.InitInstance());
        EXPECT_EQ(fresh.notices, 1);
        EXPECT_EQ(fresh.mainWindowRuns, 0);
        // Registration that failed launched no filter tool.
        if (folder != kGoodModules) {
            EXPECT_TRUE(shell->launched.empty());
        }
    }
}

TEST_F(StartUpTest, InstallFolderEmptyOverLongOrMissing)
{
    installHives("", "4.09.00.0904");
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(InstallDir::get(), "");
    EXPECT_EQ(app.notices, 1);  // no module lies at the root
    EXPECT_EQ(app.mainWindowRuns, 0);

    // An over-long or missing folder falls back to the program's own.
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::string tooLong = "/" + std::string(299, 'd');
    for (const char* folder : {tooLong.c_str(), static_cast<const char*>(nullptr)}) {
        installHives(folder, "4.09.00.0904");
        RecordingApp fresh(tasks);
        fresh.InitInstance();
        EXPECT_EQ(InstallDir::get(), programFolder);
    }
}

TEST(RequirementsDialogTest, MoreInfoOpensTheRequirementsPageAndCancelEndsIt)
{
    ScopedShell shell;
    RequirementsDialog notice;
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("Marvane"));
    auto* cancel = notice.findChild<QPushButton*>(QStringLiteral("1"));
    auto* moreInfo = notice.findChild<QPushButton*>(QStringLiteral("1109"));
    ASSERT_TRUE(cancel && moreInfo);

    notice.show();
    moreInfo->click();
    EXPECT_EQ(shell->opened, std::vector<QString>{"https://kestrune.example/marvane/requirements.html"});
    EXPECT_TRUE(notice.isVisible());
    QTest::keyClick(&notice, Qt::Key_Escape);
    EXPECT_FALSE(notice.isVisible());
    notice.show();
    cancel->click();
    EXPECT_FALSE(notice.isVisible());
}

}  // namespace
