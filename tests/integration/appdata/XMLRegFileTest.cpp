// TXMLRegFile on real files in a temporary folder, with the platform's MSXML.
#include "appdata/XMLRegFile.h"
#include "appdata/XMLRegFileErrors.h"
#include "appdata/XMLTextForms.h"

#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>

using appdata::TXMLRegFile;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::Utf8;
using testing_support::WriteBytes;
using testing::ElementsAre;

namespace {

const std::string kExample = "\xEF\xBB\xBF"
                             "<?xml version=\"1.0\"?>\r\n"
                             "<Kestrav>\r\n"
                             "  <Configuration>\r\n"
                             "    <CollapseSize>4</CollapseSize>\r\n"
                             "    <ColorShift>-1</ColorShift>\r\n"
                             "  </Configuration>\r\n"
                             "  <Snapshot>\r\n"
                             "    <Left>0</Left>\r\n"
                             "  </Snapshot>\r\n"
                             "</Kestrav>\r\n";

// The path of a node from the root element, "\" for the root itself.
std::wstring PathOf(IXMLDOMNode* node) {
    std::wstring path;
    Microsoft::WRL::ComPtr<IXMLDOMNode> current = node;
    for (;;) {
        Microsoft::WRL::ComPtr<IXMLDOMNode> parent;
        current->get_parentNode(&parent);
        DOMNodeType type = NODE_INVALID;
        if (parent)
            parent->get_nodeType(&type);
        if (type != NODE_ELEMENT)
            break;
        BSTR name = nullptr;
        current->get_nodeName(&name);
        path = L"\\" + std::wstring(name) + path;
        ::SysFreeString(name);
        current = parent;
    }
    return path.empty() ? L"\\" : path;
}

std::wstring MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const gui::UserError& error) {
        return error.Message();
    }
    return L"(no error)";
}

class XMLRegFileTest : public testing::Test {
protected:
    TempFolder folder;
    std::wstring file = folder.File(L"Kestrav.xml");
};

TEST_F(XMLRegFileTest, WritesTheExampleFileByteForByteAndReadsItBack) {
    {
        TXMLRegFile reg(file);
        ASSERT_TRUE(reg.OpenNode(L"\\Configuration", true));
        reg.WriteInteger(L"CollapseSize", 4);
        reg.WriteBool(L"ColorShift", true);
        ASSERT_TRUE(reg.OpenNode(L"\\Snapshot", true));
        reg.WriteInteger(L"Left", 0);
    }
    EXPECT_EQ(ReadBytes(file), kExample);

    TXMLRegFile reg(file);
    reg.CloseNode();
    std::vector<std::wstring> names;
    reg.GetNodeNames(names);
    EXPECT_THAT(names, ElementsAre(L"Configuration", L"Snapshot")); // indentation is no entry
    ASSERT_TRUE(reg.OpenNode(L"\\Configuration", false));
    EXPECT_EQ(reg.ReadInteger(L"CollapseSize"), 4);
    EXPECT_TRUE(reg.ReadBool(L"ColorShift"));
    reg.WriteInteger(L"CollapseSize", 4); // rewriting the same text gives the same file
}

TEST_F(XMLRegFileTest, RewritesAHandEditedFileInItsOwnLayout) {
    WriteBytes(file,
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Other>\n\t<Configuration>"
               "<CollapseSize>  4 px </CollapseSize><Blank>   </Blank><Empty/>\n\t</Configuration></Other>");
    {
        TXMLRegFile reg(file);
        ASSERT_TRUE(reg.OpenNode(L"\\Configuration", false));
        EXPECT_EQ(reg.ReadString(L"CollapseSize"), L"  4 px "); // other text keeps its white space
        EXPECT_EQ(reg.ReadString(L"Blank"), L"");
        reg.WriteString(L"Name", L"x");
    }
    EXPECT_EQ(ReadBytes(file), "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<Other>\r\n  <Configuration>\r\n"
                               "    <CollapseSize>  4 px </CollapseSize>\r\n    <Blank/>\r\n    <Empty/>\r\n"
                               "    <Name>x</Name>\r\n  </Configuration>\r\n</Other>\r\n");
}

TEST_F(XMLRegFileTest, NewFileIsNamedAfterTheFileAndWrittenOnlyWhenModified) {
    const std::wstring dotted = folder.File(L"a.b.xml");
    {
        TXMLRegFile reg(dotted);
        EXPECT_FALSE(reg.OpenNode(L"\\A\\B", false));
        EXPECT_TRUE(reg.OpenNode(L"\\A\\B", true));
        EXPECT_EQ(PathOf(reg.CurrentNode()), L"\\A\\B");
        EXPECT_FALSE(reg.Modified());
    }
    EXPECT_FALSE(testing_support::FileExists(dotted)); // nodes made by OpenNode alone are not saved

    { TXMLRegFile(dotted).CreateNode(L"\\A"); }
    EXPECT_EQ(ReadBytes(dotted), "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<a.b>\r\n  <A/>\r\n</a.b>\r\n");

    WriteBytes(file, kExample);
    const FILETIME before = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    }();
    {
        TXMLRegFile reg(file);
        reg.OpenNode(L"\\New\\Nodes", true);
        reg.CloseNode();
        std::vector<std::wstring> names;
        reg.GetNodeNames(names);
        reg.ReadIntDef(L"Missing", 1);
    }
    WIN32_FILE_ATTRIBUTE_DATA after{};
    ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(ReadBytes(file), kExample);
    EXPECT_EQ(::CompareFileTime(&before, &after.ftLastWriteTime), 0);
}

TEST_F(XMLRegFileTest, FollowsPaths) {
    WriteBytes(file, "<K><A><B><C>1</C></B><B>second</B><B2/></A><D>v</D></K>");
    struct Case {
        const wchar_t* start; // opened first, or nullptr for no current node
        const wchar_t* path;
        bool canCreate;
        bool result;
        const wchar_t* current; // afterwards
    };
    const Case cases[] = {
        {L"\\", L"\\A\\B", false, true, L"\\A\\B"},
        {L"\\A\\B", L"", false, true, L"\\A\\B"},
        {L"\\A\\B", L"\\", false, true, L"\\"},
        {L"\\A", L"B\\C", false, true, L"\\A\\B\\C"},
        {L"\\A\\B", L"..", false, true, L"\\A"},
        {L"\\A\\B", L"..\\B2", false, true, L"\\A\\B2"},
        {L"\\", L"\\A\\B\\..\\..\\D", false, true, L"\\D"},
        {L"\\A", L"\\A\\", false, false, L"\\A"},
        {L"\\A", L"\\A\\\\B", true, false, L"\\A"},
        {L"\\A", L"\\\\A", false, false, L"\\A"},
        {L"\\A", L"\\..", false, false, L"\\A"},
        {L"\\A", L"\\a", false, false, L"\\A"}, // letter case counts
        {L"\\A", L"\\X\\Y", false, false, L"\\A"},
        {L"\\A", L"\\X\\Y", true, true, L"\\X\\Y"},
        {L"\\A", L"Z", true, true, L"\\A\\Z"},
        {L"\\A", L"\\X\\1bad", true, false, L"\\A"},
        {L"\\A", L"\\X\\a b", true, false, L"\\A"},
        {nullptr, L"A", false, false, nullptr},
        {nullptr, L"\\A", false, true, L"\\A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.start ? c.start : L"(none)") << " + " << c.path);
        TXMLRegFile reg(file);
        if (c.start) {
            ASSERT_TRUE(reg.OpenNode(c.start, false));
        }
        EXPECT_EQ(reg.OpenNode(c.path, c.canCreate), c.result);
        if (c.current)
            EXPECT_EQ(PathOf(reg.CurrentNode()), c.current);
        else
            EXPECT_EQ(reg.CurrentNode(), nullptr);
        // Failed creations leave nothing behind.
        EXPECT_EQ(reg.NodeExists(L"\\X"), c.result && std::wstring(c.path).starts_with(L"\\X"));
    }
}

TEST_F(XMLRegFileTest, NodeOperationsKeepTheCurrentNode) {
    WriteBytes(file, "<K><A><B>text</B><B>second</B></A></K>");
    TXMLRegFile reg(file);
    ASSERT_TRUE(reg.OpenNode(L"\\A", false));
    EXPECT_TRUE(reg.NodeExists(L"B"));
    EXPECT_FALSE(reg.NodeExists(L"\\A\\C"));
    EXPECT_EQ(reg.ReadString(L"B"), L"text"); // the first of two namesakes
    EXPECT_FALSE(reg.Modified());

    EXPECT_FALSE(reg.CreateNode(L"\\X\\\\Y"));
    EXPECT_TRUE(reg.Modified()); // whatever the outcome
    EXPECT_TRUE(reg.CreateNode(L"\\X\\Y"));
    EXPECT_EQ(PathOf(reg.CurrentNode()), L"\\A");
    EXPECT_TRUE(reg.NodeExists(L"\\X\\Y"));

    reg.CloseNodeOneLevel();
    EXPECT_EQ(PathOf(reg.CurrentNode()), L"\\");
    reg.CloseNodeOneLevel(); // the root element has no node above it
    EXPECT_EQ(PathOf(reg.CurrentNode()), L"\\");
}

TEST_F(XMLRegFileTest, TypedValuesHaveTheirTextForms) {
    const std::wstring sep = appdata::UserDecimalSeparator();
    struct Case {
        const wchar_t* name;
        std::function<void(TXMLRegFile&)> write;
        std::wstring text;
        std::function<bool(const TXMLRegFile&)> readsBack;
    };
    const Case cases[] = {
        {L"Int", [](auto& r) { r.WriteInteger(L"Int", -42); }, L"-42",
         [](auto& r) { return r.ReadInteger(L"Int") == -42; }},
        {L"IntMax", [](auto& r) { r.WriteInteger(L"IntMax", INT32_MAX); }, L"2147483647",
         [](auto& r) { return r.ReadIntDef(L"IntMax", 0) == INT32_MAX; }},
        {L"IntMin", [](auto& r) { r.WriteInteger(L"IntMin", INT32_MIN); }, L"-2147483648",
         [](auto& r) { return r.ReadInteger(L"IntMin") == INT32_MIN; }},
        {L"Card", [](auto& r) { r.WriteCardinal(L"Card", UINT32_MAX); }, L"4294967295",
         [](auto& r) {
             return r.ReadCardinal(L"Card") == UINT32_MAX && r.ReadUIntDef(L"Card", 0) == UINT32_MAX;
         }},
        {L"True", [](auto& r) { r.WriteBool(L"True", true); }, L"-1",
         [](auto& r) { return r.ReadBool(L"True"); }},
        {L"False", [](auto& r) { r.WriteBool(L"False", false); }, L"0",
         [](auto& r) { return !r.ReadBoolDef(L"False", true); }},
        {L"Float", [](auto& r) { r.WriteFloat(L"Float", -1.5e-7); }, L"-1" + sep + L"5E-7",
         [](auto& r) { return r.ReadFloat(L"Float") == -1.5e-7; }},
        {L"Big", [](auto& r) { r.WriteFloat(L"Big", 1e20); }, L"1E20",
         [](auto& r) { return r.ReadFltDef(L"Big", 0) == 1e20; }},
        {L"Text", [](auto& r) { r.WriteString(L"Text", L"a & <b> > c"); }, L"a & <b> > c",
         [](auto& r) { return r.ReadStrDef(L"Text", L"") == L"a & <b> > c"; }},
        {L"Lines", [](auto& r) { r.WriteString(L"Lines", L"one\ntwo\tthree"); }, L"one\ntwo\tthree",
         [](auto& r) { return r.ReadString(L"Lines") == L"one\ntwo\tthree"; }},
        {L"日本語", [](auto& r) { r.WriteString(L"日本語", L"C:\\ユーザー\\デスクトップ"); },
         L"C:\\ユーザー\\デスクトップ",
         [](auto& r) { return r.ReadString(L"日本語") == L"C:\\ユーザー\\デスクトップ"; }},
    };
    {
        TXMLRegFile reg(file);
        ASSERT_TRUE(reg.OpenNode(L"\\V", true));
        for (const Case& c : cases)
            c.write(reg);
        for (const Case& c : cases)
            EXPECT_TRUE(c.readsBack(reg)) << c.name;
    }
    TXMLRegFile reg(file);
    ASSERT_TRUE(reg.OpenNode(L"\\V", false));
    for (const Case& c : cases) {
        EXPECT_EQ(reg.ReadString(c.name), c.text) << c.name;
        EXPECT_TRUE(c.readsBack(reg)) << c.name;
    }
}

TEST_F(XMLRegFileTest, EscapesMarkupAndWritesJapaneseAsUtf8) {
    {
        TXMLRegFile reg(file);
        reg.OpenNode(L"\\値", true);
        reg.WriteString(L"Path", L"R&D <ドキュメント> \"x\"");
        reg.WriteString(L"Lines", L"a\nb");
    }
    std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.find(Utf8(L"    <Path>R&amp;D &lt;ドキュメント&gt; \"x\"</Path>\r\n")),
              std::string::npos);
    // A line break inside a value is a character reference, so the value keeps one line.
    // (Wine's document turns CR LF into LF as soon as a text is set; the escaping of CR
    // is tested on its own.)
    EXPECT_NE(bytes.find("    <Lines>a&#10;b</Lines>\r\n"), std::string::npos);
    EXPECT_NE(bytes.find(Utf8(L"  <値>\r\n")), std::string::npos);
}

TEST_F(XMLRegFileTest, EmptyStringComesBackAsAnEmptyNode) {
    {
        TXMLRegFile reg(file);
        reg.OpenNode(L"\\N", true);
        reg.WriteString(L"X", L"");
        reg.WriteString(L"Spaces", L"   ");
        reg.WriteString(L"Y", L"y");
    }
    TXMLRegFile reg(file);
    ASSERT_TRUE(reg.OpenNode(L"\\N", false));
    std::vector<std::wstring> nodes{L"kept"}, values{L"kept"};
    reg.GetNodeNames(nodes);
    reg.GetValueNames(values);
    EXPECT_THAT(nodes, ElementsAre(L"kept", L"X", L"Spaces"));
    EXPECT_THAT(values, ElementsAre(L"kept", L"Y"));
    EXPECT_TRUE(reg.HasSubNodes());
    EXPECT_TRUE(reg.ValueExists(L"X"));
    EXPECT_EQ(reg.ReadString(L"X"), L"");
    EXPECT_EQ(reg.ReadStrDef(L"Spaces", L"default"), L"");
}

TEST_F(XMLRegFileTest, ReportsErrorsInJapanese) {
    WriteBytes(file, "<K><S><Node><Inner>1</Inner></Node><Abc>abc</Abc><Neg>-1</Neg><Yes>yes</Yes>"
                     "<Empty/></S></K>");
    TXMLRegFile reg(file);
    ASSERT_TRUE(reg.OpenNode(L"\\S", false));
    struct Case {
        std::function<void()> action;
        std::wstring message;
    };
    const Case cases[] = {
        {[&] { reg.ReadString(L"Missing"); }, L"ノード \"Missing\" が見つかりません"},
        {[&] { reg.ReadBool(L"Missing"); }, L"ノード \"Missing\" が見つかりません"},
        {[&] { reg.ReadInteger(L"Abc"); }, L"'abc' は整数ではありません"},
        {[&] { reg.ReadIntDef(L"Abc", 7); }, L"'abc' は整数ではありません"},
        {[&] { reg.ReadIntDef(L"Empty", 7); }, L"'' は整数ではありません"},
        {[&] { reg.ReadUIntDef(L"Neg", 7); }, L"'-1' は整数ではありません"},
        {[&] { reg.ReadFltDef(L"Abc", 7); }, L"'abc' は浮動小数点数ではありません"},
        {[&] { reg.ReadBoolDef(L"Yes", true); }, L"'yes' は正しい論理型ではありません"},
        {[&] { reg.ReadStrDef(L"Node", L""); }, L"要素 \"Node\" に単一のテキスト ノードが含まれていません"},
        {[&] { reg.WriteInteger(L"Node", 1); }, L"要素 \"Node\" に単一のテキスト ノードが含まれていません"},
        {[&] { reg.WriteString(L"1st", L"x"); }, L"\"1st\" は要素名として使えません"},
        {[&] { reg.WriteString(L"Ctl", L"a\x01"); },
         L"要素 \"Ctl\" の値に XML で表せない文字が含まれています"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageOf(c.action), c.message);
    EXPECT_EQ(reg.ReadIntDef(L"Missing", 7), 7);
    EXPECT_THROW(reg.ReadInteger(L"Abc"), appdata::EConvertError);
    EXPECT_THROW(reg.ReadString(L"Missing"), appdata::EXMLDocError);
    EXPECT_FALSE(reg.Modified()); // failed writes change nothing

    TXMLRegFile fresh(file);
    EXPECT_EQ(MessageOf([&] { fresh.ReadStrDef(L"A", L""); }), L"現在のノードがありません");
    EXPECT_EQ(MessageOf([&] { TXMLRegFile(folder.File(L"1st.xml")); }), L"\"1st\" は要素名として使えません");
    EXPECT_EQ(MessageOf([&] { TXMLRegFile(folder.File(L"a b.xml")); }), L"\"a b\" は要素名として使えません");
}

TEST_F(XMLRegFileTest, DeletesAndClears) {
    WriteBytes(file, "<K><Snapshot><Left>1</Left><Frames><Id.1><Tree/></Id.1></Frames><Top>2</Top>"
                     "<Other><X>1</X></Other></Snapshot><A><B/><C/></A></K>");
    TXMLRegFile reg(file);
    ASSERT_TRUE(reg.OpenNode(L"\\Snapshot", false));
    EXPECT_FALSE(reg.DeleteValue(L"Absent"));
    EXPECT_FALSE(reg.DeleteNode(L"\\A\\Absent"));
    EXPECT_FALSE(reg.DeleteNode(L"\\Absent\\B"));
    EXPECT_FALSE(reg.DeleteNode(L"\\A\\"));
    EXPECT_FALSE(reg.Modified());

    EXPECT_TRUE(reg.DeleteNode(L"\\A\\B"));
    EXPECT_TRUE(reg.Modified());
    EXPECT_EQ(PathOf(reg.CurrentNode()), L"\\Snapshot");
    EXPECT_FALSE(reg.NodeExists(L"\\A\\B"));
    EXPECT_TRUE(reg.NodeExists(L"\\A\\C"));
    EXPECT_TRUE(reg.ValueExists(L"Left"));
    EXPECT_TRUE(reg.DeleteValue(L"Frames")); // a node goes the same way
    EXPECT_FALSE(reg.ValueExists(L"Frames"));
    EXPECT_TRUE(reg.DeleteNode(L"Left"));

    reg.ClearNodes();
    std::vector<std::wstring> names;
    reg.GetNodeNames(names);
    reg.GetValueNames(names);
    EXPECT_THAT(names, ElementsAre(L"Top"));
    EXPECT_FALSE(reg.HasSubNodes());

    ASSERT_TRUE(reg.OpenNode(L"\\A", false));
    reg.WriteString(L"V", L"1");
    reg.ClearValues();
    names.clear();
    reg.GetValueNames(names);
    reg.GetNodeNames(names);
    EXPECT_THAT(names, ElementsAre(L"C"));

    // A current node removed with its parent is gone: later writes fail loudly instead
    // of vanishing.
    ASSERT_TRUE(reg.OpenNode(L"\\A\\C", false));
    EXPECT_TRUE(reg.DeleteNode(L"\\A"));
    EXPECT_EQ(reg.CurrentNode(), nullptr);
    EXPECT_THROW(reg.WriteString(L"V", L"1"), appdata::EXMLDocError);
}

TEST_F(XMLRegFileTest, KeepsHandEditedContentItCanRepresent) {
    WriteBytes(file, "<K><!-- comment --><A>x<!--c-->y</A><B><![CDATA[<z>&]]></B>"
                     "<x:y xmlns:x=\"urn:x\" q=\"a&amp;&quot;\">3</x:y><M>mixed<C>1</C></M></K>");
    {
        TXMLRegFile reg(file);
        reg.CloseNode();
        EXPECT_EQ(reg.ReadString(L"A"), L"xy");
        EXPECT_EQ(reg.ReadString(L"B"), L"<z>&");
        EXPECT_EQ(reg.ReadString(L"x:y"), L"3");
        reg.WriteInteger(L"x:y", 4);
    }
    std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.find("<K>\r\n  <A>xy</A>\r\n  <B>&lt;z&gt;&amp;</B>\r\n  <x:y "), std::string::npos);
    EXPECT_NE(bytes.find(">4</x:y>\r\n  <M>\r\n    <C>1</C>\r\n  </M>\r\n</K>\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("comment"), std::string::npos);
    EXPECT_EQ(bytes.find("mixed"), std::string::npos);

    // The prefixed element keeps its namespace declaration, so the file still loads.
    TXMLRegFile reg(file);
    reg.CloseNode();
    EXPECT_EQ(reg.ReadInteger(L"x:y"), 4);
    ASSERT_TRUE(reg.OpenNode(L"\\M", false));
    EXPECT_EQ(reg.ReadInteger(L"C"), 1);
    EXPECT_NE(bytes.find("q=\"a&amp;&quot;\""), std::string::npos);
    EXPECT_NE(bytes.find("xmlns:x=\"urn:x\""), std::string::npos);
}

TEST_F(XMLRegFileTest, LastWriterWins) {
    {
        TXMLRegFile first(file);
        TXMLRegFile second(file);
        first.OpenNode(L"\\A", true);
        first.WriteInteger(L"From", 1);
        second.OpenNode(L"\\B", true);
        second.WriteInteger(L"From", 2);
    } // second is freed first, then first overwrites it
    TXMLRegFile reg(file);
    EXPECT_TRUE(reg.NodeExists(L"\\A"));
    EXPECT_FALSE(reg.NodeExists(L"\\B"));
}

} // namespace
