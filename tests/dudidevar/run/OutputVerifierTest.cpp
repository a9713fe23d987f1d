// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestMedia.h"
#include "dudidevar/run/OutputVerifier.h"

namespace {

const OutputExpectation pictureAndSound2s{true, true, 2.0, 2.0, 0.04};

std::string failure(const OutputExpectation& expected, const std::string& path)
{
    std::string reason;
    EXPECT_FALSE(OutputVerifier(expected).verify(path, "/out/x.avi", &reason));
    return reason;
}

}  // namespace

TEST(OutputVerifier, OutputAsLongAsItsClipsWithTheStreamsAskedForPasses)
{
    std::string reason;
    EXPECT_TRUE(OutputVerifier(pictureAndSound2s).verify(TestMedia::withSound(), "/out/x.avi", &reason)) << reason;
    EXPECT_TRUE(OutputVerifier({true, false, 2.0, 0.0, 1 / 30.0}).verify(TestMedia::silentOddSize(), "/out/x.avi", &reason))
        << reason;
}

TEST(OutputVerifier, ShortOutputFailsWithTheTargetsNameAndBothLengths)
{
    OutputExpectation longer = pictureAndSound2s;
    longer.pictureSeconds = 2.5;
    const std::string reason2_5 = failure(longer, TestMedia::withSound());
    EXPECT_EQ(reason2_5.rfind("the finished output /out/x.avi holds 2.0", 0), 0u) << reason2_5;
    EXPECT_NE(reason2_5.find(" s of pictures instead of 2.50 s"), std::string::npos) << reason2_5;
    // One picture or 0.1 s short is an encoder's rounding, not a loss.
    longer.pictureSeconds = 2.09;
    std::string reason;
    EXPECT_TRUE(OutputVerifier(longer).verify(TestMedia::withSound(), "/out/x.avi", &reason)) << reason;
}

TEST(OutputVerifier, MissingOrUnwantedStreamsFail)
{
    EXPECT_EQ(failure(pictureAndSound2s, TestMedia::silentOddSize()), "the finished output /out/x.avi holds no sound");
    EXPECT_EQ(failure({true, false, 2.0, 0.0, 0.04}, TestMedia::withSound()),
              "the finished output /out/x.avi holds sound that was not asked for");
    EXPECT_EQ(failure({true, true, 2.0, 2.0, 0.04}, TestMedia::fileWith("verifier-noise.avi", std::string(4096, '\x5a')))
                  .rfind("the finished output /out/x.avi cannot be read back", 0),
              0u);
}

TEST(OutputVerifier, MinutesOfFrozenPictureBeyondTheClipsFail)
{
    EXPECT_NE(failure({true, true, 0.5, 0.5, 0.04}, TestMedia::withSound()).find("instead of 0.50 s"), std::string::npos);
    EXPECT_DOUBLE_EQ(OutputVerifier::overrunAllowed(10.0), 1.0);
    EXPECT_DOUBLE_EQ(OutputVerifier::overrunAllowed(3600.0), 72.0);
}
