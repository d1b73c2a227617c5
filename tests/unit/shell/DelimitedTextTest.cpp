// The delimited-text list encoding: the writer's exact output, the reader on
// well-formed and malformed texts, and writing then reading as the identity.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/DelimitedText.h"

namespace {

using shell::DecodeDelimitedText;
using shell::EncodeDelimitedText;
using List = std::vector<std::wstring>;

TEST(DelimitedTextTest, EncodesWithQuotesOnlyWhereNeeded) {
    struct Case {
        List components;
        wchar_t delimiter;
        std::wstring expected;
    };
    const Case cases[] = {
        {{}, L'\\', L""},
        {{L""}, L'\\', L"\"\""},
        {{L"A"}, L'\\', L"A"},
        {{L"A", L"B C", L"D\"E"}, L'\\', L"A\\\"B C\"\\\"D\"\"E\""},
        {{L"C:\\", L"Users"}, L'\\', L"\"C:\\\"\\Users"},
        {{L"a,b", L"c"}, L',', L"\"a,b\",c"},
        {{L"a\\b", L"c"}, L',', L"a\\b,c"}, // the backslash is plain text in comma lists
        {{L"", L""}, L'\\', L"\\"},
        {{L"a", L""}, L'\\', L"a\\"},
        {{L"", L"a"}, L'\\', L"\\a"},
        {{L"tab\there"}, L',', L"\"tab\there\""},
        {{L"\x01"}, L',', L"\"\x01\""},
        {{L"!"}, L',', L"!"}, // code 33 is no blank
        {{std::wstring(L"nul\0in", 6)}, L',', std::wstring(L"\"nul\0in\"", 8)},
        {{L"\"\""}, L',', L"\"\"\"\"\"\""},
        {{L"日本語", L"フォルダ 名"}, L'\\', L"日本語\\\"フォルダ 名\""},
        {{L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"C:\\"},
         L'\\',
         L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\\"C:\\\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeDelimitedText(c.components, c.delimiter), c.expected);
}

// What the reader makes of every kind of text, written by us or not.
TEST(DelimitedTextTest, DecodesEveryTextToAWellDefinedList) {
    struct Case {
        std::wstring text;
        List expected;
    };
    const Case cases[] = {
        {L"", {}},
        {L"   ", {}},
        {L"\t\r\n", {}},
        {L"a", {L"a"}},
        {L"a,b,c", {L"a", L"b", L"c"}},
        {L"  a , b  ", {L"a", L"b"}}, // blanks around components are skipped
        {L"a b", {L"a", L"b"}},       // an unquoted blank ends a component
        {L"a,", {L"a", L""}},         // a delimiter that ends the text adds one empty component
        {L"a, ", {L"a"}},             // ... but not when blanks follow it
        {L",", {L"", L""}},
        {L",a", {L"", L"a"}},
        {L"a,,b", {L"a", L"", L"b"}},
        {L"\"\"", {L""}},
        {L"\"a,b\",c", {L"a,b", L"c"}},
        {L"\"say \"\"hi\"\"\"", {L"say \"hi\""}},             // a doubled quote stands for one
        {L"\"unterminated, still", {L"unterminated, still"}}, // an open quote runs to the end
        {L"\"ends in doubled\"\"", {L"ends in doubled\""}},
        {L"\"", {L""}},
        {L"ab\"c", {L"ab\"c"}}, // a stray quote inside a component is kept
        {L"ab\"c d\",e", {L"ab\"c", L"d\"", L"e"}},
        {L"\"a\"b", {L"a", L"b"}}, // text right after a closing quote starts a component
        {L"\"a\" ,b", {L"a", L"b"}},
        {L"\"a\",", {L"a", L""}},
        {std::wstring(L"a\0b,c", 5), {std::wstring(L"a\0b", 3), L"c"}}, // NUL is text, not an end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text of length " << c.text.size());
        EXPECT_EQ(DecodeDelimitedText(c.text, L','), c.expected);
    }
}

TEST(DelimitedTextTest, ItemPathsUseTheBackslash) {
    EXPECT_EQ(DecodeDelimitedText(L"A\\\"B C\"\\\"D\"\"E\"", L'\\'), (List{L"A", L"B C", L"D\"E"}));
    EXPECT_EQ(DecodeDelimitedText(L"a,b\\c", L'\\'), (List{L"a,b", L"c"}));
    EXPECT_EQ(DecodeDelimitedText(L"\"C:\\\"\\Users\\", L'\\'), (List{L"C:\\", L"Users", L""}));
}

// A small deterministic generator, so that a failure can be reproduced.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed) {}
    uint32_t Next(uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    uint32_t state_;
};

TEST(DelimitedTextTest, ReadingWhatWasWrittenGivesTheSameList) {
    // Every character class the codec treats specially, and some that it must not.
    std::wstring alphabet = L"aZ09\\,\" \t\r\n\x01\x1F!.:{}?日本語ファイル";
    alphabet += L'\0';
    alphabet += L"\xD83D\xDE00"; // a surrogate pair
    Lcg random(12345);
    for (wchar_t delimiter : {L'\\', L','}) {
        for (int round = 0; round < 3000; ++round) {
            List components(random.Next(5));
            for (std::wstring& component : components) {
                size_t length = random.Next(7);
                for (size_t i = 0; i < length; ++i)
                    component += alphabet[random.Next(alphabet.size())];
            }
            const std::wstring text = EncodeDelimitedText(components, delimiter);
            ASSERT_EQ(DecodeDelimitedText(text, delimiter), components) << "round " << round;
        }
    }
}

TEST(DelimitedTextTest, ListsOfItemPathsNestBothEncodings) {
    const List first = {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"C:\\", L"My Files, old", L"日本 語"};
    const List second = {L"x\"y", L""};
    const List paths = {EncodeDelimitedText(first, L'\\'), EncodeDelimitedText(second, L'\\'), L""};
    const List decoded = DecodeDelimitedText(EncodeDelimitedText(paths, L','), L',');
    ASSERT_EQ(decoded, paths);
    EXPECT_EQ(DecodeDelimitedText(decoded[0], L'\\'), first);
    EXPECT_EQ(DecodeDelimitedText(decoded[1], L'\\'), second);
}

} // namespace
