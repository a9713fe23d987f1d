// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileFilter.h"
#include "platform/IniRegistryHive.h"
#include "platform/MediaRuntimeHive.h"
#include "platform/MediaRuntimeProbe.h"
#include "platform/OutputPathProbe.h"
#include "platform/PathNames.h"
#include "platform/Registry.h"

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

TEST(PathNames, PiecesOfAPath)
{
    EXPECT_EQ(PathNames::folderPart("/clips/holiday.mpg"), "/clips/");
    EXPECT_EQ(PathNames::folderPart("holiday.mpg"), "");
    EXPECT_EQ(PathNames::baseName("/clips/holiday.mpg"), "holiday");
    EXPECT_EQ(PathNames::baseName("/clips.old/holiday"), "");
    EXPECT_EQ(PathNames::baseName("/clips/.hidden"), "");
    EXPECT_EQ(PathNames::baseNameOrFileName("/clips.old/holiday"), "holiday");
    EXPECT_EQ(PathNames::extension("/a.b/c"), "");
    EXPECT_EQ(PathNames::extension("/a/c.tar.gz"), ".gz");
    EXPECT_EQ(PathNames::withTrailingSeparator("/out"), "/out/");
    EXPECT_EQ(PathNames::withTrailingSeparator("/"), "/");
    EXPECT_EQ(PathNames::withTrailingSeparator(""), "");
}

TEST(FileFilter, SourceVideoFilterBecomesQtFilterWithRealPatterns)
{
    const QString qt = FileFilter::toQt(FileFilter::kSourceVideoFilter);
    const QStringList entries = qt.split(";;");
    ASSERT_EQ(entries.size(), 6);
    QStringList supported;
    for (const char* suffix : FileFilter::kVideoSuffixes)
        supported << QStringLiteral("*.") + suffix;
    EXPECT_EQ(entries[0], "All Support Files (" + supported.join(' ') + ")");
    EXPECT_EQ(entries[1], "mpeg (*.mpg *.mpeg)");
    EXPECT_EQ(FileFilter::toQt("Text|*.txt||"), "Text (*.txt)");
    EXPECT_EQ(FileFilter::toQt(""), "");
}

TEST(Registry, InjectedHivesAndInstallPathFallback)
{
    QTemporaryDir dir;
    auto user = std::make_unique<IniRegistryHive>(dir.filePath("user.ini"));
    auto machine = std::make_unique<IniRegistryHive>(dir.filePath("machine.ini"));
    machine->setValue("Software\\Microsoft\\Directx", "Version", "4.08.0");
    IniRegistryHive* userHive = user.get();
    Registry::instance().install(std::move(user), std::move(machine));

    EXPECT_EQ(Registry::instance().installPath(), QCoreApplication::applicationDirPath().toStdString());
    userHive->setValue("Software\\Marvane\\InstallPath", "", "/opt/marvane");
    EXPECT_EQ(Registry::instance().installPath(), "/opt/marvane");
    EXPECT_TRUE(Registry::instance().hasKey(Registry::Root::LocalMachine, "Software\\Microsoft\\Directx"));
    EXPECT_FALSE(Registry::instance().hasKey(Registry::Root::LocalMachine, "Software\\Other"));
    Registry::instance().install(nullptr, nullptr);
    EXPECT_EQ(Registry::instance().value(Registry::Root::CurrentUser, "Software\\Marvane\\InstallPath", ""),
              std::nullopt);
}

TEST(MediaRuntime, VersionAnsweredFromProbeNotFromStoredValue)
{
    QTemporaryDir dir;
    auto stored = std::make_unique<IniRegistryHive>(dir.filePath("machine.ini"));
    stored->setValue("Software\\Microsoft\\Directx", "Version", "9.9");
    stored->setValue("Software\\Other", "Name", "kept");
    MediaRuntimeHive incomplete(std::make_unique<IniRegistryHive>(dir.filePath("machine.ini")), false);
    EXPECT_EQ(incomplete.value("Software\\Microsoft\\Directx", "Version"), std::nullopt);
    EXPECT_EQ(incomplete.value("Software\\Other", "Name"), "kept");

    MediaRuntimeHive complete(std::make_unique<IniRegistryHive>(dir.filePath("machine.ini")), true);
    EXPECT_EQ(complete.value("software\\microsoft\\directx", "Version"), "4.09.00.0904");
}

TEST(MediaRuntime, ThisMachineHasEveryComponentTheControlUses)
{
    const auto missing = MediaRuntimeProbe::missingComponents();
    std::string list;
    for (const auto& m : missing)
        list += m + "; ";
    EXPECT_TRUE(missing.empty()) << list;
}

// The probe leaves an existing file exactly as it was and no new file behind.
TEST(OutputPathProbe, LeavesTheFolderAsItWas)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("out.avi").toStdString();
    writeFile(path, "precious data");
    EXPECT_TRUE(OutputPathProbe::isUsable(path, {"/somewhere/else.avi"}));
    EXPECT_EQ(readAll(path), "precious data");
    const std::string fresh = dir.filePath("new.avi").toStdString();
    EXPECT_TRUE(OutputPathProbe::isUsable(fresh, {}));
    EXPECT_FALSE(exists(fresh));
}

TEST(OutputPathProbe, UnusablePathsGiveTheirReason)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    writeFile(folder + "/file.txt", "text");
    const std::pair<std::string, std::string> cases[] = {
        {"", "No file name"},
        {folder + "/no/such/folder/out.avi", "No such folder"},
        {folder + "/file.txt/out.avi", "No such folder"},
        {folder, folder + " is a folder"},
        {folder + "/", folder + "/ is a folder"},
    };
    for (const auto& [path, reason] : cases) {
        EXPECT_EQ(OutputPathProbe::refusal(path, {}), reason) << path;
        EXPECT_FALSE(OutputPathProbe::isUsable(path, {})) << path;
    }
    EXPECT_EQ(OutputPathProbe::refusal(folder + "/out.avi", {}), "");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot) ==
                QStringList{"file.txt"});
}

// The output is first written beside the target, so a folder that takes no new file fails the
// test even where the target itself could be opened for writing.
TEST(OutputPathProbe, AFolderThatTakesNoNewFileIsRefused)
{
    if (::geteuid() == 0) {
        // Root writes into any folder of a local file system. The process's own name file can
        // be opened for writing (the probe never writes), but its folder takes no new file.
        EXPECT_NE(OutputPathProbe::refusal("/proc/self/comm", {}), "");
        const std::string reason = OutputPathProbe::refusal("/sys/marvane_out.avi", {});
        EXPECT_TRUE(reason == "Permission denied" || reason == "Read-only file system") << reason;
        return;
    }
    QTemporaryDir dir;
    const std::string target = dir.filePath("out.avi").toStdString();
    writeFile(target, "old output");
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
    const std::string reason = OutputPathProbe::refusal(target, {});
    ::chmod(dir.path().toLocal8Bit().constData(), 0755);
    EXPECT_EQ(reason, "Permission denied");
    EXPECT_EQ(readAll(target), "old output");
}

TEST(OutputPathProbe, OneOfTheTasksOwnSourcesIsRefused)
{
    QTemporaryDir dir;
    const std::string source = dir.filePath("clip.avi").toStdString();
    writeFile(source, "video");
    EXPECT_EQ(OutputPathProbe::refusal(source, {"/other.avi", source}), source + " is one of the task's sources");
    // The same file reached through another spelling of its path.
    const std::string dotted = dir.path().toStdString() + "/./clip.avi";
    EXPECT_FALSE(OutputPathProbe::isUsable(dotted, {source}));
    EXPECT_EQ(readAll(source), "video");
}
