// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tasks/TaskList.h"

namespace {

std::size_t appendTask(TaskList& list, const std::string& source, std::int32_t width)
{
    const std::size_t i = list.append({source}, source + ".avi", "To AVI");
    list.at(i).settings->width = width;
    return i;
}

}  // namespace

TEST(TaskList, RemovingFirstOfThreeKeepsOthersAndTheirRecords)
{
    TaskList list;
    appendTask(list, "/a", 16);
    appendTask(list, "/b", 32);
    appendTask(list, "/c", 48);
    const TaskSettings* recordB = list.at(1).settings.get();
    const TaskSettings* recordC = list.at(2).settings.get();

    list.removeAt(0);

    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.at(1).sources.front(), "/c");
    EXPECT_EQ(list.at(0).settings.get(), recordB);
    EXPECT_EQ(list.at(1).settings.get(), recordC);
    EXPECT_EQ(list.at(0).settings->width, 32);
}
