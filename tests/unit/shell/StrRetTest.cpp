// StrRetToText for the three kinds of STRRET, with ID lists built by hand, and its
// clean-up of question marks.
#include <windows.h>
#include <shtypes.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/StrRet.h"

namespace {

using shell::StrRetToText;

// An ID list of one item: its size, a few bytes of header, the payload, then the
// terminating zero size.
class HandMadeIDList {
public:
    explicit HandMadeIDList(const std::string& payload, size_t header = 2) {
        const size_t itemSize = sizeof(USHORT) + header + payload.size();
        bytes_.assign(itemSize + sizeof(USHORT), '\0');
        const USHORT cb = static_cast<USHORT>(itemSize);
        std::memcpy(bytes_.data(), &cb, sizeof(cb));
        std::memset(bytes_.data() + sizeof(USHORT), 'H', header);
        std::memcpy(bytes_.data() + sizeof(USHORT) + header, payload.data(), payload.size());
    }
    PCUIDLIST_RELATIVE get() const { return reinterpret_cast<PCUIDLIST_RELATIVE>(bytes_.data()); }
    static constexpr UINT kPayloadOffset = sizeof(USHORT) + 2;

private:
    std::vector<char> bytes_;
};

STRRET WideStrRet(const wchar_t* text) {
    STRRET strRet{};
    strRet.uType = STRRET_WSTR;
    if (text != nullptr) {
        const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
        strRet.pOleStr = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
        std::memcpy(strRet.pOleStr, text, bytes);
    }
    return strRet;
}

STRRET OffsetStrRet(UINT offset) {
    STRRET strRet{};
    strRet.uType = STRRET_OFFSET;
    strRet.uOffset = offset;
    return strRet;
}

STRRET BufferStrRet(const char* text) {
    STRRET strRet{};
    strRet.uType = STRRET_CSTR;
    std::strncpy(strRet.cStr, text, sizeof(strRet.cStr) - 1);
    return strRet;
}

TEST(StrRetTest, WideStringIsTakenAndFreed) {
    STRRET strRet = WideStrRet(L"Documents 日本語");
    EXPECT_EQ(StrRetToText(nullptr, strRet), L"Documents 日本語");
    EXPECT_EQ(strRet.pOleStr, nullptr); // freed once, never twice
    EXPECT_EQ(StrRetToText(nullptr, strRet), L"");

    STRRET none = WideStrRet(nullptr);
    EXPECT_EQ(StrRetToText(nullptr, none), L"");
}

TEST(StrRetTest, OffsetTextStaysInsideTheFirstItem) {
    const HandMadeIDList terminated(std::string("Folder\0pad", 10));
    const HandMadeIDList unterminated("Folder"); // the text runs to the item's end
    const UINT itemSize = terminated.get()->mkid.cb;
    struct Case {
        const HandMadeIDList* idList;
        UINT offset;
        std::wstring expected;
    };
    const Case cases[] = {
        {&terminated, HandMadeIDList::kPayloadOffset, L"Folder"},
        {&terminated, HandMadeIDList::kPayloadOffset + 3, L"der"},
        {&unterminated, HandMadeIDList::kPayloadOffset, L"Folder"},
        {&unterminated, HandMadeIDList::kPayloadOffset + 5, L"r"},
        {&terminated, 2, L"HHFolder"},
        {&terminated, itemSize - 1, L"d"},
        {&terminated, itemSize, L""}, // at the item's end
        {&terminated, itemSize + 1, L""},
        {&terminated, 0xFFFFFFFFu, L""},
        {nullptr, HandMadeIDList::kPayloadOffset, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset);
        STRRET strRet = OffsetStrRet(c.offset);
        EXPECT_EQ(StrRetToText(c.idList != nullptr ? c.idList->get() : nullptr, strRet), c.expected);
    }
}

TEST(StrRetTest, BufferTextRunsToItsTerminator) {
    STRRET strRet = BufferStrRet("C:\\Windows");
    EXPECT_EQ(StrRetToText(nullptr, strRet), L"C:\\Windows");

    STRRET longest{};
    longest.uType = STRRET_CSTR;
    std::memset(longest.cStr, 'x', sizeof(longest.cStr) - 1);
    EXPECT_EQ(StrRetToText(nullptr, longest), std::wstring(sizeof(longest.cStr) - 1, L'x'));

    STRRET unterminated{};
    unterminated.uType = STRRET_CSTR;
    std::memset(unterminated.cStr, 'x', sizeof(unterminated.cStr));
    EXPECT_EQ(StrRetToText(nullptr, unterminated), L"");
}

TEST(StrRetTest, UnknownKindGivesTheEmptyText) {
    STRRET strRet = BufferStrRet("text");
    strRet.uType = 7;
    EXPECT_EQ(StrRetToText(nullptr, strRet), L"");
}

TEST(StrRetTest, QuestionMarksGoOnlyBeforeADigit) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"?12", L"12"},  {L"?1?2", L"12"}, {L"?0 items?", L"0 items"}, {L"?a", L"?a"}, {L"?", L"?"},
        {L"??1", L"??1"}, {L"a?1", L"a?1"}, {L"?\x0661", L"?\x0661"}, // Arabic-Indic one
        {L"1?", L"1?"},   {L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(std::wstring(c.text)));
        STRRET wide = WideStrRet(c.text);
        EXPECT_EQ(StrRetToText(nullptr, wide), c.expected);
    }
    // The clean-up applies to every kind.
    STRRET buffer = BufferStrRet("?3?");
    EXPECT_EQ(StrRetToText(nullptr, buffer), L"3");
    const HandMadeIDList idList("?4?5");
    STRRET offset = OffsetStrRet(HandMadeIDList::kPayloadOffset);
    EXPECT_EQ(StrRetToText(idList.get(), offset), L"45");
}

} // namespace
