#include "gui/NativeControl.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {

TEST(Accelerator, IsTheCharacterAfterASingleAmpersand) {
    struct Case {
        const wchar_t* caption;
        wchar_t accelerator;
    } cases[] = {
        {L"幅[4-32](&W): ", L'W'}, {L"今回のみ(&A)", L'A'}, {L"OK", 0},         {L"", 0},
        {L"trailing&", 0},         {L"A && B", 0},          {L"A && &B", L'B'}, {L"&&&x", L'x'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceleratorOf(c.caption), c.accelerator) << c.caption;
    EXPECT_TRUE(IsAccelerator(L'w', L"幅[4-32](&W): "));
    EXPECT_TRUE(IsAccelerator(L'W', L"幅[4-32](&W): "));
    EXPECT_FALSE(IsAccelerator(L'x', L"幅[4-32](&W): "));
    EXPECT_FALSE(IsAccelerator(0, L"OK"));
}

} // namespace
