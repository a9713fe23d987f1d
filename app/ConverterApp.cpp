// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ConverterApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <array>
#include <cstring>

#include "app/RequirementsDialog.h"
#include "engine/ControlModule.h"
#include "mainwnd/MainWindow.h"
#include "platform/InstallDir.h"
#include "platform/PathNames.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"

namespace {

// The stored value as it lies in a 512-byte buffer: cut to 511 bytes, zero after it.
std::array<unsigned char, 512> versionBuffer(const std::string& stored)
{
    std::array<unsigned char, 512> buffer{};
    std::memcpy(buffer.data(), stored.data(), std::min(stored.size(), buffer.size() - 1));
    return buffer;
}

// The longest text composed from the folder: the parameter string of the longer filter name.
std::size_t longestComposed(const std::string& folder)
{
    std::size_t longest = ControlModule::pathIn(folder).size();
    for (const char* filter : ConverterApp::kFilters)
        longest = std::max(longest, std::strlen("/s \"\"") + ConverterApp::PathInFolder(folder, filter).size());
    return longest;
}

}  // namespace

ConverterApp::ConverterApp(TaskList& taskList) : tasks(taskList) {}

ConverterApp::~ConverterApp() = default;

bool ConverterApp::InitInstance()
{
    ReadInstallDir();
    if (!RegisterComponents() || !CheckDirectXVersion()) {
        ShowRequirementsNotice();
        return false;
    }
    RunMainWindow();
    return false;
}

void ConverterApp::ReadInstallDir()
{
    // A value too long for the paths made from it counts as missing, and so does the folder
    // of the program that takes a missing value's place.
    auto folder = Registry::instance().value(Registry::Root::CurrentUser, kInstallPathKey, "");
    if (!folder || !IsUsableInstallDir(*folder))
        folder = QCoreApplication::applicationDirPath().toStdString();
    if (!IsUsableInstallDir(*folder)) {
        InstallDir::set({});
        return;
    }
    InstallDir::set(*folder);
    QDir::setCurrent(QString::fromStdString(*folder));
}

bool ConverterApp::IsUsableInstallDir(const std::string& folder)
{
    return folder.size() <= InstallDir::kMaxLength && longestComposed(folder) < kComposedRoom;
}

std::string ConverterApp::PathInFolder(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == PathNames::kSeparator)
        return folder + name;
    return folder + PathNames::kSeparator + name;
}

bool ConverterApp::RegisterComponents()
{
    if (!ControlModule::registerFrom(InstallDir::get()))
        return false;
    LaunchFilterRegistration();
    Pause(std::chrono::milliseconds(100));
    return true;
}

void ConverterApp::LaunchFilterRegistration()
{
    // Neither launch is waited for; a tool that cannot start fails unreported.
    for (const char* filter : kFilters) {
        const QString path = QString::fromStdString(PathInFolder(InstallDir::get(), filter));
        Shell::get().launch(QString::fromLatin1(kRegistrationTool), {QStringLiteral("/s"), path});
    }
}

bool ConverterApp::CheckDirectXVersion()
{
    const Registry& registry = Registry::instance();
    if (!registry.hasKey(Registry::Root::LocalMachine, kRuntimeKey))
        return false;
    const auto version = registry.value(Registry::Root::LocalMachine, kRuntimeKey, kRuntimeVersionName);
    return version && VersionIsSufficient(*version);
}

bool ConverterApp::VersionIsSufficient(const std::string& stored)
{
    const auto buffer = versionBuffer(stored);
    return std::memcmp(buffer.data(), kRequiredVersion, std::strlen(kRequiredVersion) + 1) >= 0;
}

void ConverterApp::ShowRequirementsNotice()
{
    RequirementsDialog notice;
    notice.exec();
}

int ConverterApp::RunMainWindow()
{
    MainWindow window(tasks);
    window.KeepTasksIn(taskStore);
    if (singleInstance)
        QObject::connect(singleInstance, &SingleInstance::filesHandedOver, &window,
                         [&window](const QStringList& files) { window.TakeHandedOverFiles(files); });
    window.OpenAtStart(startFiles);
    return window.exec();
}

void ConverterApp::Pause(std::chrono::milliseconds duration)
{
    QThread::msleep(static_cast<unsigned long>(duration.count()));
}
