#include "gui/Error.h"

#include <gtest/gtest.h>

TEST(SystemMessage, GivesTheSystemTextOrTheCode) {
    EXPECT_FALSE(gui::SystemMessage(ERROR_FILE_NOT_FOUND).empty());
    EXPECT_NE(gui::SystemMessage(ERROR_FILE_NOT_FOUND).back(), L'\n');
    EXPECT_EQ(gui::SystemMessage(0x2FFFFFFF), L"0x2FFFFFFF");
}

TEST(HResultError, CarriesCodeAndText) {
    try {
        gui::ThrowIfFailed(E_ACCESSDENIED);
        FAIL() << "no exception";
    } catch (const gui::HResultError& error) {
        EXPECT_EQ(error.Code(), E_ACCESSDENIED);
        EXPECT_EQ(error.Message(), gui::SystemMessage(static_cast<DWORD>(E_ACCESSDENIED)));
    }
}
