#include "options/NumFilters.h"

#include <gtest/gtest.h>

#include <string>

using namespace options;

namespace {

const TFilterChars kDialogFilters{fcAllowDecimal, fcRejectProcess};

TEST(IsFilterChar, AdmitsByFilter) {
    struct Case {
        wchar_t ch;
        TFilterChars filters;
        bool admitted;
    } cases[] = {
        // The dialog's fields: digits and the editing keys only.
        {L'7', kDialogFilters, true},
        {L'0', kDialogFilters, true},
        {L'a', kDialogFilters, false},
        {L'-', kDialogFilters, false},
        {L'+', kDialogFilters, false},
        {L'.', kDialogFilters, false},
        {L' ', kDialogFilters, false},
        {L'\r', kDialogFilters, false},
        {0x01, kDialogFilters, true}, // Ctrl+A
        {0x03, kDialogFilters, true}, // Ctrl+C
        {0x08, kDialogFilters, true}, // backspace
        {0x16, kDialogFilters, true}, // Ctrl+V
        {0x18, kDialogFilters, true}, // Ctrl+X
        {0x1A, kDialogFilters, true}, // Ctrl+Z
        {0x1B, kDialogFilters, true}, // escape
        {0x02, kDialogFilters, false},
        // Full-width digits and other characters beyond 0xFF never pass a filter.
        {L'\xFF17', kDialogFilters, false},
        {L'\xFF17', {fcAllowHexdigit, fcAllowReal}, false},
        {L'\x3042', {fcAllowDecimal}, false},
        // Each filter admits its own characters.
        {L'+', {fcAllowPositive}, true},
        {L'-', {fcAllowPositive}, false},
        {L'-', {fcAllowNegative}, true},
        {L'$', {fcAllowHexdigit}, true},
        {L'f', {fcAllowHexdigit}, true},
        {L'F', {fcAllowHexdigit}, true},
        {L'g', {fcAllowHexdigit}, false},
        {L'x', {fcAllowHexdigit}, true},
        {L'X', {fcAllowHexdigit}, true},
        {L'.', {fcAllowReal}, true},
        {L'e', {fcAllowReal}, true},
        {L'E', {fcAllowReal}, true},
        {L',', {fcAllowSeparater}, true},
        {L',', {fcAllowReal}, false},
        {L'+', {fcRejectProcess}, false},
        // No filter at all: everything passes.
        {L'a', {}, true},
        {L'\x3042', {}, true},
        {L'\r', {}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsFilterChar(c.ch, c.filters), c.admitted) << "char " << static_cast<int>(c.ch);
}

TEST(FilterText, KeepsAdmittedCharactersOrRejectsWhole) {
    struct Case {
        const wchar_t* source;
        TFilterChars filters;
        bool dropped;
        const wchar_t* dest; // what dest holds afterwards (it starts as "untouched")
    } cases[] = {
        {L"123", kDialogFilters, false, L"123"},
        {L"12a3", kDialogFilters, true, L"untouched"},
        {L"12a3", {fcAllowDecimal}, true, L"123"},
        {L"-5", {fcAllowDecimal}, true, L"5"},
        {L"-5", {fcAllowNegative}, false, L"-5"},
        // Single characters only: a sign in the middle passes.
        {L"1-2", {fcAllowNegative}, false, L"1-2"},
        {L"\xFF11\xFF12", {fcAllowDecimal}, true, L""},
        {L"", kDialogFilters, false, L""},
        {L"abc", {}, false, L"abc"},
    };
    for (const Case& c : cases) {
        std::wstring dest = L"untouched";
        EXPECT_EQ(FilterText(c.source, dest, c.filters), c.dropped) << c.source;
        EXPECT_EQ(dest, c.dest) << c.source;
    }
}

TEST(DecidePaste, FollowsTheFilters) {
    struct Case {
        std::optional<std::wstring> clipboard;
        TFilterChars filters;
        bool ordinary;
        bool beep;
        std::optional<std::wstring> text;
    } cases[] = {
        {L"123", kDialogFilters, false, false, L"123"},
        {L"12a3", kDialogFilters, false, true, std::nullopt},
        {L"12a3", {fcAllowDecimal}, false, true, L"123"},
        {L"-40", kDialogFilters, false, true, std::nullopt},
        {L"99999999999999999999", kDialogFilters, false, false, L"99999999999999999999"},
        // A clipboard without text: nothing happens, without a beep.
        {std::nullopt, kDialogFilters, false, false, std::nullopt},
        // No filters: the edit's own paste.
        {L"abc", {}, true, false, std::nullopt},
        {std::nullopt, {}, true, false, std::nullopt},
    };
    for (const Case& c : cases) {
        PasteAction action = DecidePaste(c.clipboard, c.filters);
        SCOPED_TRACE(c.clipboard.value_or(L"(no text)").c_str());
        EXPECT_EQ(action.ordinary, c.ordinary);
        EXPECT_EQ(action.beep, c.beep);
        EXPECT_EQ(action.text, c.text);
    }
}

TEST(GetRelation, WholeNumbersAgainstThePosition) {
    struct Case {
        const wchar_t* text;
        int position;
        TNumericallyRelationship relation;
    } cases[] = {
        {L"", 4, nrNonNumber},
        {L"0", 0, nrAccord},
        {L"0", 4, nrDisaccord},
        {L"4", 4, nrAccord},
        {L"32", 32, nrAccord},
        {L"33", 32, nrDisaccord},
        {L"+5", 5, nrAccord},
        {L"-5", 5, nrDisaccord},
        {L"007", 7, nrAccord},
        {L"1e3", 1000, nrNonNumber},
        {L"12a", 12, nrNonNumber},
        {L" 5", 5, nrNonNumber},
        {L"+", 0, nrNonNumber},
        {L"2147483647", 2147483647, nrAccord},
        {L"-2147483648", -2147483647 - 1, nrAccord},
        {L"2147483648", 0, nrNonNumber},
        {L"12345678901234567890", 4, nrNonNumber},
        {L"\xFF15", 5, nrNonNumber},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetRelation(c.text, c.position), c.relation) << c.text;
}

} // namespace
