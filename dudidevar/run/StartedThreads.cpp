#include "dudidevar/run/StartedThreads.h"

#include <cerrno>
#include <filesystem>
#include <string>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

StartedThreads::StartedThreads() : before_(all()) {}

void StartedThreads::collect()
{
    for (int id : all()) {
        if (!before_.count(id))
            started_.insert(id);
    }
}

void StartedThreads::takeCallersPriority() const
{
#ifdef __linux__
    errno = 0;
    const int own = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    if (errno != 0)
        return;
    for (int id : started_) {
        errno = 0;
        const int theirs = ::getpriority(PRIO_PROCESS, static_cast<id_t>(id));
        // A thread that has ended since is passed over.
        if (errno == 0 && theirs < own)
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(id), own);
    }
#endif
}

std::set<int> StartedThreads::all()
{
    std::set<int> ids;
#ifdef __linux__
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", failed)) {
        try {
            ids.insert(std::stoi(entry.path().filename().string()));
        } catch (const std::exception&) {
        }
    }
#endif
    return ids;
}
