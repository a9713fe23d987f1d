// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "TestMedia.h"
#include "dudidevar/run/ConversionJob.h"
#include "dudidevar/source/MediaProbe.h"

namespace {

class SourceSharingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = TestMedia::scratchFolder();
        for (const char* name : {"a.avi", "b.avi", "c.avi"}) {
            sources.push_back(folder + name);
            std::filesystem::copy_file(TestMedia::withSound(), sources.back());
        }
    }

    // A join of every source's picture and sound, to an NTSC DVD.
    bool prepare(ConversionJob& job, std::string* error)
    {
        std::vector<Clip> clips;
        for (const std::string& source : sources)
            clips.push_back({source, 0, 2, false});
        return job.prepare({clips, clips, false, folder + "joined.mpg",
                            [](const SourceShape& shape, OutputPlan* plan, std::string* why) {
                                ControlProperties properties;
                                properties.outputFormat = 5;
                                return OutputPlanner::planConversion(properties, shape, false, true, true, plan, why);
                            }},
                           error);
    }

    RunOutcome run(ConversionJob& job)
    {
        std::atomic<bool> stop{false};
        RunProgress progress(stop, [](double, double) {});
        return job.run(progress);
    }

    std::string folder;
    std::vector<std::string> sources;
};

// The window waits while a run is prepared: each source is opened and probed there once, and
// its sound is read from a second opening of it, made on the run's thread without a probe.
TEST_F(SourceSharingTest, PreparingAJoinProbesEachSourceOnce)
{
    ConversionJob job;
    std::string error;
    const std::int64_t before = MediaProbe::probeCount();
    ASSERT_TRUE(prepare(job, &error)) << error;
    EXPECT_EQ(MediaProbe::probeCount() - before, 3);
    const RunOutcome outcome = run(job);
    ASSERT_TRUE(outcome.ok) << outcome.reason;
    EXPECT_EQ(MediaProbe::probeCount() - before, 3 + 1) << "the output check probes the output once";
}

// A source that goes away between the start and the turn of its sound fails the run with its
// name, and no output is left.
TEST_F(SourceSharingTest, ASourceGoneBeforeItsSoundIsReadFailsWithItsName)
{
    ConversionJob job;
    std::string error;
    ASSERT_TRUE(prepare(job, &error)) << error;
    std::filesystem::remove(sources[2]);
    const RunOutcome outcome = run(job);
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.reason.find(sources[2]), std::string::npos) << outcome.reason;
    EXPECT_FALSE(std::filesystem::exists(folder + "joined.mpg"));
}

}  // namespace
