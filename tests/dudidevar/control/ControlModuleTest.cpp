// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/CDudidEvar.h"
#include "engine/ControlClassRegistry.h"
#include "engine/ControlModule.h"

namespace {

TEST(ControlModuleTest, TheBuiltModuleRegistersTheControlClass)
{
    std::string error;
    ASSERT_TRUE(ControlModule::registerFrom(std::getenv("MARVANE_TEST_BIN"), &error)) << error;
    EXPECT_TRUE(ControlClassRegistry::instance().isRegistered(kDudidEvarClassId));
    CDudidEvar control;
    ASSERT_TRUE(control.Create(kDudidEvarClassId, nullptr));
    EXPECT_NE(control.Widget(), nullptr);
    EXPECT_EQ(control.GetDuration("/no/such/file.avi"), 0.0);
    EXPECT_GE(control.GetVideoCompressors().GetCount(), 5);
    control.Stop();
}

}  // namespace
