// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TestMedia.h"
#include "dudidevar/run/BatchSweep.h"
#include "dudidevar/run/TempOutput.h"

namespace {

// The id of a process that has ended.
pid_t goneProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

bool exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string made(const std::string& path)
{
    std::ofstream(path) << "half an output";
    return path;
}

}  // namespace

// A run killed mid-conversion leaves its temporary file beside the target; the next run into that
// folder removes it, whatever target it was for, and nothing else: a live run's file, one still
// locked, and the user's own files of like names stay.
TEST(TempOutput, TheNextRunRemovesTheFileOfARunWhoseProcessIsGone)
{
    const std::string folder = TestMedia::scratchFolder();
    const std::string target = folder + "clip.avi";
    const std::string dead = std::to_string(goneProcess());
    const std::string stale = made(folder + ".clip.avi.part-" + dead + "-a1B2c3");
    const std::string otherTarget = made(folder + ".other.avi.part-" + dead + "-a1B2c3");

    TempOutput live;  // a run of this process, still writing
    std::string error;
    ASSERT_TRUE(live.create(target, &error)) << error;
    const std::string locked = made(folder + ".clip.avi.part-" + dead + "-LoCk3d");
    const int lockFd = ::open(locked.c_str(), O_RDONLY);  // as a run whose process this one cannot see holds it
    ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);
    std::vector<std::string> users;
    for (const std::string& name : std::vector<std::string>{"clip.avi.part-" + dead + "-a1B2c3",
                                                            ".clip.avi.part-" + dead + "-a1B2", ".clip.avi.part-a1B2c3",
                                                            ".clip.avi.part-" + dead + "-a1B2c3.txt",
                                                            "..part-" + dead + "-a1B2c3",
                                                            ".clip.avi.part-x" + dead + "-a1B2c3"})
        users.push_back(made(folder + name));
    const std::string linked = folder + ".clip.avi.part-" + dead + "-L1nk00";
    ASSERT_EQ(::symlink(users[0].c_str(), linked.c_str()), 0);
    const std::string subfolder = folder + ".clip.avi.part-" + dead + "-F0lder";
    ASSERT_EQ(::mkdir(subfolder.c_str(), 0700), 0);

    TempOutput next;
    ASSERT_TRUE(next.create(target, &error)) << error;
    EXPECT_FALSE(exists(stale));
    EXPECT_FALSE(exists(otherTarget));
    EXPECT_TRUE(exists(live.path()));
    EXPECT_TRUE(exists(locked));
    for (const std::string& path : users)
        EXPECT_TRUE(exists(path)) << path;
    EXPECT_TRUE(exists(linked));
    EXPECT_TRUE(exists(subfolder));

    // Unlocked, the file of the gone process goes too; ours, named for this process, are told apart.
    ::close(lockFd);
    TempOutput third;
    ASSERT_TRUE(third.create(target, &error)) << error;
    EXPECT_FALSE(exists(locked));
    EXPECT_TRUE(exists(live.path()));
    EXPECT_TRUE(exists(next.path()));
    EXPECT_NE(live.path().find(".clip.avi.part-" + std::to_string(::getpid()) + "-"), std::string::npos);

    ASSERT_TRUE(live.commit(&error)) << error;
    EXPECT_TRUE(exists(target));
    next.discard();
    third.discard();
    EXPECT_EQ(TestMedia::filesIn(folder).size(), users.size() + 2);  // the target and the link
}

// A run of many files reads each folder it writes into once: a leftover that appears in a
// folder after the run swept it waits for the next run, which removes it. Outputs that follow
// one another without a pause are one run.
TEST(TempOutput, ARunSweepsEachFolderOnce)
{
    static std::chrono::steady_clock::time_point now;
    BatchSweep batch([] { return now; });
    const std::string folder = TestMedia::scratchFolder();
    const std::string second = folder + "second/";
    ASSERT_EQ(::mkdir(second.c_str(), 0700), 0);
    const std::string dead = std::to_string(goneProcess());
    const std::string first = made(folder + ".a.bmp.part-" + dead + "-aaaaaa");
    std::string error;
    TempOutput output;
    const auto write = [&](const std::string& target) {
        EXPECT_TRUE(output.create(target, &error, &batch.forOutput())) << error;
        now += std::chrono::milliseconds(100);
        batch.outputEnded();
        now += BatchSweep::kPause - std::chrono::milliseconds(1);
    };
    write(folder + "x_1.bmp");
    EXPECT_FALSE(exists(first));
    const std::string later = made(folder + ".b.bmp.part-" + dead + "-bbbbbb");
    const std::string elsewhere = made(second + ".c.bmp.part-" + dead + "-cccccc");
    write(folder + "x_2.bmp");
    write(second + "x_3.bmp");
    EXPECT_TRUE(exists(later));
    EXPECT_FALSE(exists(elsewhere));

    now += std::chrono::milliseconds(1);  // the pause that ends the run
    write(folder + "x_1.bmp");
    EXPECT_FALSE(exists(later));
}

// Making outputs on one thread never changes the permissions of files another thread creates
// meanwhile: the creation mask is read, never set and put back.
TEST(TempOutput, OutputsMadeMeanwhileLeaveOtherThreadsFilesTheirMask)
{
    const std::string folder = TestMedia::scratchFolder();
    const std::string outputs_folder = folder + "outputs/";
    ASSERT_EQ(::mkdir(outputs_folder.c_str(), 0700), 0);
    const mode_t previous = ::umask(027);
    std::atomic<bool> stop{false};
    std::thread outputs([&] {
        std::string error;
        while (!stop) {
            TempOutput output;
            output.create(outputs_folder + "out.avi", &error);
        }
    });
    int wrong = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (int i = 0; wrong == 0 && std::chrono::steady_clock::now() < until; ++i) {
        const std::string path = folder + "other" + std::to_string(i % 8);
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0666);
        struct stat info {};
        ::fstat(fd, &info);
        wrong += (info.st_mode & 0777) != 0640;
        ::close(fd);
        ::unlink(path.c_str());
    }
    stop = true;
    outputs.join();
    ::umask(previous);
    EXPECT_EQ(wrong, 0);
}
