// Broken and hostile data files: each gives a clear error or a correct result, never a
// crash or a hang, and the file on disk is left byte for byte as it was.
#include "appdata/XMLRegFile.h"
#include "appdata/XMLRegFileErrors.h"
#include "gui/Error.h"

#include "support/LinuxSide.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using appdata::TXMLRegFile;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::Utf8;
using testing_support::WriteBytes;
using namespace std::string_literals;

namespace {

std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF"s : "\xFF\xFE"s;
    for (wchar_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string Garbage() {
    std::mt19937 random(7);
    std::string bytes(4096, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

std::string Nested(int levels) {
    std::string bytes = "<K>";
    for (int i = 0; i < levels; ++i)
        bytes += "<a>";
    bytes += "1";
    for (int i = 0; i < levels; ++i)
        bytes += "</a>";
    return bytes + "</K>";
}

std::string Huge() {
    std::string bytes = "<K>";
    const std::string item = "<Item><Name>abcdefghij</Name><Value>12345</Value></Item>\r\n";
    bytes.reserve(50 * 1024 * 1024 + item.size() + 8);
    while (bytes.size() < 50 * 1024 * 1024)
        bytes += item;
    return bytes + "</K>";
}

const std::string kLaughs =
    "<?xml version=\"1.0\"?>\n<!DOCTYPE K [\n <!ENTITY a \"aaaaaaaaaa\">\n"
    " <!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n <!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
    " <!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n <!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n"
    " <!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">\n <!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">\n"
    " <!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">\n <!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">\n"
    "]>\n<K><A>&i;</A></K>";

struct Case {
    const char* what;
    std::function<std::string(const TempFolder&)> bytes;
    std::function<void(TXMLRegFile&)> check; // empty: the file must be refused
    std::wstring reason = L"";               // part of the refusal's message
};

TEST(XMLRegFileHostile, RefusesOrReadsEveryFileAndLeavesItUntouched) {
    const std::wstring notXml(appdata::messages::kNotWellFormed);
    const std::wstring doctype(appdata::messages::kDocumentTypeRefused);
    const Case cases[] = {
        {"empty file", [](auto&) { return ""s; }, nullptr, notXml},
        {"BOM only", [](auto&) { return "\xEF\xBB\xBF"s; }, nullptr, notXml},
        {"truncated", [](auto&) { return "<?xml version=\"1.0\"?>\r\n<K>\r\n  <A>1</A"s; }, nullptr, notXml},
        {"binary garbage", [](auto&) { return Garbage(); }, nullptr, notXml},
        {"two root elements", [](auto&) { return "<K/><L/>"s; }, nullptr, notXml},
        {"undeclared entity", [](auto&) { return "<K><A>&x;</A></K>"s; }, nullptr, notXml},
        {"invalid element name", [](auto&) { return "<K><1a>x</1a></K>"s; }, nullptr, notXml},
        {"character reference to a control character", [](auto&) { return "<K><A>&#1;</A></K>"s; }, nullptr,
         notXml},
        {"UTF-16 with BOM",
         [](auto&) {
             return Utf16(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><K><A>日本語</A></K>", false);
         },
         [](TXMLRegFile& reg) { EXPECT_EQ(reg.ReadString(L"A"), L"日本語"); }},
        {"UTF-16 big-endian with BOM", [](auto&) { return Utf16(L"<K><A>日本語</A></K>", true); },
         [](TXMLRegFile& reg) { EXPECT_EQ(reg.ReadString(L"A"), L"日本語"); }},
        {"UTF-8 without BOM or declaration", [](auto&) { return Utf8(L"<K><A>日本語</A></K>"); },
         [](TXMLRegFile& reg) { EXPECT_EQ(reg.ReadString(L"A"), L"日本語"); }},
        {"odd but valid element names",
         [](auto&) { return Utf8(L"<K><日本語>1</日本語><a.b-c_d>2</a.b-c_d><_\u00B7>3</_\u00B7></K>"); },
         [](TXMLRegFile& reg) {
             EXPECT_EQ(reg.ReadInteger(L"日本語"), 1);
             EXPECT_EQ(reg.ReadInteger(L"a.b-c_d"), 2);
             EXPECT_EQ(reg.ReadInteger(L"_\u00B7"), 3);
         }},
        {"DOCTYPE with entity expansion", [](auto&) { return kLaughs; }, nullptr, doctype},
        {"DOCTYPE in UTF-16",
         [](auto&) { return Utf16(L"<!DOCTYPE K [<!ENTITY a \"b\">]><K>&a;</K>", false); }, nullptr, doctype},
        {"DOCTYPE behind a comment and a processing instruction",
         [](auto&) {
             return "\xEF\xBB\xBF<!-- x --><?pi?>\r\n<!DOCTYPE K SYSTEM \"http://127.0.0.1:9/k.dtd\"><K/>"s;
         },
         nullptr, doctype},
        {"external entity naming a local file",
         [](const TempFolder& folder) {
             WriteBytes(folder.File(L"secret.txt"), "SECRET");
             return "<?xml version=\"1.0\"?><!DOCTYPE K [<!ENTITY x SYSTEM \"" +
                    Utf8(folder.File(L"secret.txt")) + "\">]><K><A>&x;</A></K>";
         },
         nullptr, doctype},
        {"10,000 levels deep", [](auto&) { return Nested(10000); }, nullptr, notXml},
        {"50 MB of small elements", [](auto&) { return Huge(); }, nullptr, L"要素が多すぎます"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::wstring file = folder.File(L"Kestrav.xml");
        const std::string bytes = c.bytes(folder);
        WriteBytes(file, bytes);
        if (c.check) {
            TXMLRegFile reg(file);
            reg.CloseNode();
            c.check(reg);
        } else {
            try {
                TXMLRegFile reg(file);
                ADD_FAILURE() << "the file was taken";
            } catch (const appdata::EXMLDocError& error) {
                EXPECT_NE(error.Message().find(L"\"" + file + L"\""), std::wstring::npos) << "names the file";
                EXPECT_NE(error.Message().find(c.reason), std::wstring::npos);
                EXPECT_EQ(error.Message().find(L"SECRET"), std::wstring::npos);
            }
        }
        EXPECT_TRUE(ReadBytes(file) == bytes) << "the file changed";
    }
}

// A file of size bytes, all zero, made without writing them (sparse where the file
// system allows).
void MakeZeroFile(const std::wstring& file, uint64_t size) {
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(::SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle));
    ::CloseHandle(handle);
}

std::wstring RefusalOf(const std::wstring& file) {
    try {
        TXMLRegFile reg(file);
    } catch (const gui::UserError& error) {
        return error.Message();
    }
    return L"(read)";
}

// Each bound of what is read, at the bound and one past it.
TEST(XMLRegFileHostile, FilesAreReadUpToTheirBoundsAndNoFurther) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    const std::wstring tooLarge(L"ファイルが大きすぎます");
    const std::wstring tooMuch(L"要素が多すぎます");

    // Size: a file of exactly the limit is read (and, being no XML, refused by the
    // parser); one byte more is refused unread.
    MakeZeroFile(file, TXMLRegFile::kMaxFileSize);
    std::wstring atLimit = RefusalOf(file);
    EXPECT_NE(atLimit.find(appdata::messages::kNotWellFormed), std::wstring::npos) << Utf8(atLimit);
    MakeZeroFile(file, TXMLRegFile::kMaxFileSize + 1);
    EXPECT_NE(RefusalOf(file).find(tooLarge), std::wstring::npos);

    // Markup: "<" and "=" counted; "=" in a text is cheap to make in any number.
    const std::string head = "<K><A>", tail = "</A></K>"; // 4 of the markup
    WriteBytes(file, head + std::string(TXMLRegFile::kMaxMarkup - 4, '=') + tail);
    {
        TXMLRegFile reg(file);
        reg.CloseNode();
        EXPECT_EQ(reg.ReadString(L"A").size(), TXMLRegFile::kMaxMarkup - 4);
    }
    WriteBytes(file, head + std::string(TXMLRegFile::kMaxMarkup - 3, '=') + tail);
    EXPECT_NE(RefusalOf(file).find(tooMuch), std::wstring::npos);

    // The parser's depth: 256 levels are read, more are not. (The store asks for 256;
    // Wine's parser ignores the request and holds to 257 by itself, so the first depth
    // refused on both is 258.)
    WriteBytes(file, Nested(256 - 1)); // the root and 255 levels below it
    EXPECT_EQ(RefusalOf(file), L"(read)");
    WriteBytes(file, Nested((testing_support::UnderWine() ? 258 : 257) - 1));
    EXPECT_NE(RefusalOf(file).find(appdata::messages::kNotWellFormed), std::wstring::npos);
}

TEST(XMLRegFileHostile, DeepPathsStayWithinWhatTheParserReadsBack) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    std::wstring deep, tooDeep;
    for (int i = 0; i < 150; ++i)
        deep += L"\\a";
    for (int i = 0; i < 10000; ++i)
        tooDeep += L"\\a";
    {
        TXMLRegFile reg(file);
        EXPECT_FALSE(reg.OpenNode(tooDeep, true)); // such a file could never be loaded again
        EXPECT_FALSE(reg.NodeExists(L"\\a"));
        ASSERT_TRUE(reg.OpenNode(deep, true));
        reg.WriteInteger(L"Leaf", 1);
    }
    TXMLRegFile reg(file);
    ASSERT_TRUE(reg.OpenNode(deep, false));
    EXPECT_EQ(reg.ReadInteger(L"Leaf"), 1);
}

// Nodes are made down to level kMaxDepth (the root element is level 1), by path or
// one by one, and no deeper; a file with values at that depth reads back.
TEST(XMLRegFileHostile, NodesAreMadeDownToTheDepthBoundAndNoDeeper) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    std::wstring deepest;
    for (int level = 2; level <= TXMLRegFile::kMaxDepth; ++level)
        deepest += L"\\a";
    {
        TXMLRegFile reg(file);
        EXPECT_FALSE(reg.OpenNode(deepest + L"\\a", true));
        ASSERT_TRUE(reg.OpenNode(deepest, true));
        EXPECT_FALSE(reg.AppendNode(L"b"));
        EXPECT_FALSE(reg.OpenNode(L"b", true));
        reg.WriteInteger(L"Leaf", 1);
        ASSERT_TRUE(reg.OpenNode(L"..", false));
        EXPECT_TRUE(reg.AppendNode(L"c"));
        reg.WriteInteger(L"Leaf", 2);
    }
    TXMLRegFile reg(file);
    ASSERT_TRUE(reg.OpenNode(deepest, false));
    EXPECT_EQ(reg.ReadInteger(L"Leaf"), 1);
}

TEST(XMLRegFileHostile, FolderOrLockedFileInPlaceOfTheFileIsAnError) {
    TempFolder folder;
    ::CreateDirectoryW(folder.File(L"Folder.xml").c_str(), nullptr);
    EXPECT_THROW(TXMLRegFile(folder.File(L"Folder.xml")), appdata::EFOpenError);

    HANDLE locked = ::CreateFileW(folder.File(L"Locked.xml").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    try {
        TXMLRegFile reg(folder.File(L"Locked.xml"));
        ADD_FAILURE() << "a file held open exclusively was read";
    } catch (const appdata::EFOpenError& error) {
        EXPECT_EQ(error.Message().find(L"ファイル \"" + folder.File(L"Locked.xml") + L"\" を開けません。"),
                  0u);
    }
    ::CloseHandle(locked);
}

} // namespace
