// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "CommaDecimalLocale.h"
#include "platform/PlainNumber.h"

namespace {

void expectDotBothWays()
{
    const std::pair<double, const char*> written[] = {
        {60.0, "60.0"}, {59.96, "60.0"}, {50.04, "50.0"}, {0.05, "0.1"}, {-2.25, "-2.2"}, {1e7, "10000000.0"}};
    for (const auto& [value, text] : written)
        EXPECT_EQ(PlainNumber::fixed(value, 1), text) << value;
    EXPECT_EQ(PlainNumber::fixed(29.97, 3), "29.970");
    EXPECT_EQ(PlainNumber::fixed(7.0, 0), "7");

    const std::pair<const char*, std::optional<double>> read[] = {
        {"60.0", 60.0}, {"12", 12.0},        {"+1.5", 1.5},        {"-0.5", -0.5},         {"3e2", 300.0},
        {"60,0", {}},   {"", {}},            {" 1", {}},           {"1 ", {}},             {"1.5s", {}},
        {"+-1", {}},    {"abc", {}},         {".5", 0.5}};
    for (const auto& [text, value] : read)
        EXPECT_EQ(PlainNumber::parse(text), value) << '"' << text << '"';
}

}  // namespace

TEST(PlainNumber, WritesAndReadsADotInTheCLocale)
{
    expectDotBothWays();
}

TEST(PlainNumber, WritesAndReadsADotInACommaDecimalLocale)
{
    CommaDecimalLocale comma;
    if (!comma.active())
        GTEST_SKIP() << comma.whyNot();
    expectDotBothWays();
}
