// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <chrono>
#include <string>

#include <QStringList>

class SingleInstance;
class TaskList;
class TaskListStore;

// The program's start and end: finds the install folder, registers the conversion control and
// the two filters beside it, checks the media runtime and runs the main window until it is
// closed. A failed check shows the requirements notice instead.
class ConverterApp {
public:
    static constexpr const char* kInstallPathKey = "Software\\Marvane\\InstallPath";
    static constexpr const char* kRuntimeKey = "Software\\Microsoft\\Directx";
    static constexpr const char* kRuntimeVersionName = "Version";
    static constexpr const char* kRequiredVersion = "4.08.0";
    static constexpr const char* kRegistrationTool = "/usr/bin/regsvr32.exe";
    static constexpr const char* kFilters[] = {"mpgfiltr.ax", "zadevezoru.dll"};
    // Room of every path and parameter string composed from the install folder, with its
    // terminating zero.
    static constexpr std::size_t kComposedRoom = 260;

    explicit ConverterApp(TaskList& tasks);
    virtual ~ConverterApp();
    ConverterApp(const ConverterApp&) = delete;
    ConverterApp& operator=(const ConverterApp&) = delete;

    // Where the main window keeps the task list from one start to the next; none keeps nothing.
    void KeepTasksIn(TaskListStore* store) { taskStore = store; }
    // The files later starts hand over (and those of this start) go to the main window.
    void TakeFilesFrom(SingleInstance* instance, QStringList files)
    {
        singleInstance = instance;
        startFiles = std::move(files);
    }

    // The start-up sequence; false on every path, so the process ends after it.
    bool InitInstance();
    // True when the control module was loaded and its registration entry called.
    bool RegisterComponents();
    // True when the media runtime's version is not below 4.08.0.
    bool CheckDirectXVersion();

    // The byte-wise test of a stored version against 4.08.0: the first seven bytes, the
    // required text's terminating zero included, as unsigned bytes.
    static bool VersionIsSufficient(const std::string& stored);
    // A folder whose composed paths all fit their room.
    static bool IsUsableInstallDir(const std::string& folder);
    // "folder/name"; an empty folder gives "/name".
    static std::string PathInFolder(const std::string& folder, const std::string& name);

protected:
    virtual void ShowRequirementsNotice();
    virtual int RunMainWindow();
    virtual void Pause(std::chrono::milliseconds duration);

private:
    void ReadInstallDir();
    void LaunchFilterRegistration();

    TaskList& tasks;
    SingleInstance* singleInstance = nullptr;
    TaskListStore* taskStore = nullptr;
    QStringList startFiles;
};
