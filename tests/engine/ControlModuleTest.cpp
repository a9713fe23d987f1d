// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "engine/CDudidEvar.h"
#include "engine/ControlClassRegistry.h"
#include "engine/ControlModule.h"

TEST(ControlModule, MissingModuleOrEntryRegistersNothing)
{
    ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
    std::string error;
    EXPECT_FALSE(ControlModule::registerFrom("/nonexistent", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ControlModule::registerFrom(TEST_MODULES_DIR "/without-entry", &error));
    EXPECT_NE(error.find("DllRegisterServer"), std::string::npos);
    EXPECT_FALSE(ControlClassRegistry::instance().isRegistered(kDudidEvarClassId));

    CDudidEvar wrapper;
    EXPECT_FALSE(wrapper.Create(kDudidEvarClassId, nullptr));
    EXPECT_FALSE(wrapper.IsCreated());
    EXPECT_FALSE(wrapper.Convert("/tmp/x.avi"));
    EXPECT_EQ(wrapper.GetDuration("/v/a.avi"), 0.0);
    EXPECT_EQ(wrapper.GetVideoCompressors().GetCount(), 0);
}

TEST(ControlModule, RegisteredModuleMakesTheControlByItsClassId)
{
    ASSERT_TRUE(ControlModule::registerFrom(TEST_MODULES_DIR "/good"));
    EXPECT_TRUE(ControlClassRegistry::instance().isRegistered(kDudidEvarClassId));
    CDudidEvar wrapper;
    ASSERT_TRUE(wrapper.Create(kDudidEvarClassId, nullptr));
    EXPECT_DOUBLE_EQ(wrapper.GetDuration("/v/a.avi"), 12.5);
    EXPECT_NE(wrapper.Widget(), nullptr);
    EXPECT_EQ(ControlClassRegistry::instance().create("{00000000-0000-0000-0000-000000000000}", nullptr), nullptr);
    ControlClassRegistry::instance().unregisterClass(kDudidEvarClassId);
}
