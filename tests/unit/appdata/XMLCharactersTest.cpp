#include "appdata/XMLCharacters.h"
#include "appdata/XMLLayout.h"
#include "appdata/XMLPrologCheck.h"
#include "appdata/XMLRegFileErrors.h"

#include <gtest/gtest.h>

#include <string>

using namespace appdata;
using namespace std::string_literals;

TEST(XMLCharacters, ElementNamesFollowXmlWithoutPrefixes) {
    struct Case {
        std::wstring name;
        bool valid;
    };
    const Case cases[] = {
        {L"Kestrav", true},
        {L"Id.1", true},
        {L"No.0", true},
        {L"_x", true},
        {L"a-b", true},
        {L"日本語", true},
        {L"\xD840\xDC0B", true},
        {L"a\xB7"
         L"b",
         true},
        {L"", false},
        {L"1abc", false},
        {L"-a", false},
        {L".a", false},
        {L"a b", false},
        {L"a:b", false},
        {L"a&b", false},
        {L"a<b", false},
        {L"a\\b", false},
        {L"..", false},
        {L"a\x01", false},
        {L"\xD840", false},
        {L"\xFFFE", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidElementName(c.name), c.valid) << c.name;
}

TEST(XMLCharacters, TextMustBeRepresentableInXml) {
    struct Case {
        std::wstring text;
        bool valid;
    };
    const Case cases[] = {
        {L"", true},
        {L"abc & <x>", true},
        {L"\t\r\n", true},
        {L"日本語", true},
        {L"\xD83D\xDE00", true},
        {L"\xE000\xFFFD", true},
        {L"a\x01"
         L"b",
         false},
        {L"\x1F", false},
        {L"a\0b"s, false},
        {L"\xFFFE", false},
        {L"\xFFFF", false},
        {L"\xD83D", false},
        {L"\xDE00\xD83D", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsXmlText(c.text), c.valid) << static_cast<int>(c.text.size());
}

TEST(XMLPrologCheck, FindsDocumentTypeDeclarationsBeforeTheRootInEveryEncoding) {
    auto utf16le = [](std::wstring_view text, bool bom) {
        std::string bytes = bom ? "\xFF\xFE"s : ""s;
        for (wchar_t c : text)
            bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return bytes;
    };
    auto utf16be = [](std::wstring_view text) {
        std::string bytes = "\xFE\xFF"s;
        for (wchar_t c : text)
            bytes += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
        return bytes;
    };
    auto utf32le = [](std::wstring_view text) {
        std::string bytes = "\xFF\xFE\0\0"s;
        for (wchar_t c : text)
            bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8), '\0', '\0'};
        return bytes;
    };
    const std::wstring doctype = L"<?xml version=\"1.0\"?>\r\n<!DOCTYPE K [<!ENTITY a \"x\">]><K>&a;</K>";
    const std::wstring plain = L"<?xml version=\"1.0\"?>\r\n<K><A>1</A></K>";
    struct Case {
        const char* what;
        std::string bytes;
        bool found;
    };
    const Case cases[] = {
        {"plain", "<K/>", false},
        {"declaration and root", "<?xml version=\"1.0\"?><K><A>&lt;!DOCTYPE</A></K>", false},
        {"doctype", "<?xml version=\"1.0\"?><!DOCTYPE K><K/>", true},
        {"doctype after BOM", "\xEF\xBB\xBF<!DOCTYPE K SYSTEM \"file:///c:/x\"><K/>", true},
        {"doctype after comment and PI", "<?xml version=\"1.0\"?>\n<!-- c --><?pi x?>\t<!DOCTYPE K><K/>",
         true},
        {"other markup declaration", "  <!ENTITY a \"b\"><K/>", true},
        {"lower-case doctype", "<!doctype K><K/>", true},
        {"doctype inside a comment", "<!-- <!DOCTYPE K> --><K/>", false},
        {"doctype after the root", "<K/><!DOCTYPE K>", false},
        {"unterminated comment", "<!-- <K/>", false},
        {"empty", "", false},
        {"utf-16le with BOM", utf16le(doctype, true), true},
        {"utf-16le without BOM", utf16le(doctype, false), true},
        {"utf-16le plain", utf16le(plain, true), false},
        {"utf-16be", utf16be(doctype), true},
        {"utf-32le", utf32le(doctype), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasDocumentTypeDeclaration(c.bytes), c.found) << c.what;
}

TEST(FormatText, FillsPlaceholdersInOrderAndNeverReadsArgumentsAsPatterns) {
    EXPECT_EQ(FormatText(messages::kCannotCreateFile, {L"C:\\a.xml", L"reason"}),
              L"ファイル \"C:\\a.xml\" を作成できません。reason");
    EXPECT_EQ(FormatText(L"'%s' %s", {L"%s", L"b"}), L"'%s' b");
    EXPECT_EQ(FormatText(L"%s and %s", {L"one"}), L"one and %s");
    EXPECT_EQ(FormatText(L"100%", {L"x"}), L"100%");
}

TEST(XMLLayout, EscapesMarkupAndLineBreaksInText) {
    std::wstring out = L"<V>";
    appdata::AppendEscapedText(out, L"R&D <x> \"q\" 'a'\r\n\t日本");
    EXPECT_EQ(out, L"<V>R&amp;D &lt;x&gt; \"q\" 'a'&#13;&#10;\t日本");
}
