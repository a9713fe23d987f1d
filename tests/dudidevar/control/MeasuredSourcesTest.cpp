// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>

#include "ControlTest.h"
#include "dudidevar/source/MediaProbe.h"

namespace {

using MeasuredSourcesTest = ControlTest;

}  // namespace

// A task list asks for a source's length and size before and while it converts it: the file is
// opened and probed once for all of them, and again only when it has changed.
TEST_F(MeasuredSourcesTest, ASourceIsProbedOnceUntilItChanges)
{
    const std::string source = folder + "clip.avi";
    std::filesystem::copy_file(TestMedia::withSound(), source);
    const std::int64_t before = MediaProbe::probeCount();
    for (int round = 0; round < 2; ++round) {
        EXPECT_NEAR(control.GetDuration(source), 2.0, 0.1);
        EXPECT_EQ(control.GetVideoWidth(source), 160);
        EXPECT_EQ(control.GetVideoHeight(source), 120);
    }
    EXPECT_EQ(MediaProbe::probeCount() - before, 1);

    std::filesystem::copy_file(TestMedia::silentOddSize(), source, std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(control.GetVideoWidth(source), 161);
    EXPECT_EQ(control.GetVideoHeight(source), 121);
    EXPECT_EQ(MediaProbe::probeCount() - before, 2);

    std::filesystem::remove(source);
    EXPECT_EQ(control.GetDuration(source), 0.0);
    EXPECT_EQ(control.GetVideoWidth(source), 0);
}
