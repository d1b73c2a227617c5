#include "gui/CaptionText.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {

// Every character is 5 pixels wide.
int FixedWidth(const std::wstring& text) { return static_cast<int>(text.size()) * 5; }

TEST(ShortenCaptionPath, DropsLeadingFoldersOneAtATime) {
    const std::wstring path = L"C:\\Alpha\\Beta\\Gamma\\file"; // 24 characters, 120 pixels
    struct Case {
        int room;
        const wchar_t* expected;
    } cases[] = {
        {120, L"C:\\Alpha\\Beta\\Gamma\\file"}, {115, L"C:\\...\\Beta\\Gamma\\file"},
        {100, L"C:\\...\\Gamma\\file"},         {80, L"C:\\...\\file"},
        {50, L"...\\file"},                     {39, L"file"},
        {-10, L"file"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenCaptionPath(path, c.room, FixedWidth), c.expected) << c.room;
}

TEST(ShortenCaptionPath, LeavesNamesWithoutFoldersAlone) {
    EXPECT_EQ(ShortenCaptionPath(L"デスクトップ", 1, FixedWidth), L"デスクトップ");
    EXPECT_EQ(ShortenCaptionPath(L"", 0, FixedWidth), L"");
}

TEST(ShortenCaptionPath, EndsForUnusualPaths) {
    for (const wchar_t* path : {L"\\\\server\\share\\dir\\x", L"..\\..\\x", L"C:", L"C:\\", L"a:b:c", L"\\\\\\\\"})
        EXPECT_LE(ShortenCaptionPath(path, 0, FixedWidth).size(), std::wstring(path).size()) << path;
}

TEST(FitCaption, CutsTheEndUntilItFits) {
    EXPECT_EQ(FitCaption(L"Kestrav", 20, FixedWidth), L"Kest");
    EXPECT_EQ(FitCaption(L"C:\\A\\file", 20, FixedWidth), L"file");
    EXPECT_EQ(FitCaption(L"Kestrav", -42, FixedWidth), L"");
}

} // namespace
