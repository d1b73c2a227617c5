#include "app/WndInfo.h"

#include <gtest/gtest.h>

using app::MatchesMask;

TEST(MatchesMask, FileNameMasksIgnoringCase) {
    struct Case {
        const wchar_t* text;
        const wchar_t* mask;
        bool matches;
    } cases[] = {
        {L"TMainForm", L"TMainForm", true},
        {L"tmainform", L"TMainForm", true},
        {L"TMainForm2", L"TMainForm", false},
        {L"Kestrav", L"K*", true},
        {L"Kestrav", L"*rav", true},
        {L"Kestrav", L"*s*a*", true},
        {L"Kestrav", L"K?strav", true},
        {L"Kstrav", L"K?strav", false},
        {L"Kestrav", L"[jk]estrav", true},
        {L"Kestrav", L"[a-j]estrav", false},
        {L"kestrav", L"[A-K]ESTRAV", true},
        {L"", L"*", true},
        {L"", L"", true},
        {L"x", L"", false},
        {L"[x", L"[x", true}, // an unclosed set is a literal bracket
        {L"ｴｽ", L"*", true},
        {L"ぁあ", L"ぁ?", true},
        {L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", L"*a*a*a*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesMask(c.text, c.mask), c.matches) << "text " << testing::PrintToString(std::wstring(c.text))
                                                          << " mask " << testing::PrintToString(std::wstring(c.mask));
}

TEST(WndInfo, ReadsClassAndTextOfARealWindow) {
    HWND wnd = CreateWindowExW(0, L"STATIC", L"Kestrav", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(app::WndText(wnd), L"Kestrav");
    EXPECT_EQ(app::WndClassName(wnd), L"Static");
    EXPECT_TRUE(app::WndMatches(wnd, L"static", L"Kestrav"));
    EXPECT_FALSE(app::WndMatches(wnd, L"TMainForm", L"Kestrav"));
    std::wstring longText(400, L'x');
    SetWindowTextW(wnd, longText.c_str());
    EXPECT_EQ(app::WndText(wnd).size(), 259u);
    DestroyWindow(wnd);
    EXPECT_EQ(app::WndText(wnd), L"");
}
