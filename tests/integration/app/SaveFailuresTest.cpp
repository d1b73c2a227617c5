// Saves that cannot go as planned never cost the user the last file: a write that fails
// half-way, a file that cannot be read, a result the program could not read back, and
// names the file cannot hold.
#include "FolderTreeFixture.h"

#include "appdata/WholeFile.h"
#include "appdata/XMLRegFileErrors.h"
#include "appdata/XMLPrologCheck.h"
#include "shell/DelimitedText.h"

#include <functional>

using namespace settings_test;
using testing_support::PumpUntilIdle;
using testing_support::ReadBytes;
using testing_support::Utf8;
using testing_support::WriteBytes;

namespace {

const std::wstring kRoot0 = L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0";

class SaveFailuresTest : public FolderTreeFixture {
public:
    void TearDown() override {
        appdata::FailWritesAfterForTesting(std::nullopt);
        SetFileAttributesW(dataFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        FolderTreeFixture::TearDown();
    }
    // The program's own file for one frame over Root, with the items kept at the end.
    void PrepareOwnFile() {
        Prepare({{L"\\Configuration", L"Maintains", L"14"},
                 {L"\\Snapshot", L"Layout", L"3"},
                 {kRoot0, L"Path", folder / L"Root"}});
        Start();
        Expand(L"Root");
        SaveAsOptionsOK();
        Stop();
    }
    // The messages waiting, without the idle turns that restore the trees.
    static void DispatchWithoutIdle() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    std::vector<std::wstring> Expands(const std::wstring& node = kRoot0) {
        return shell::DecodeDelimitedText(Value(node, L"Expands").value_or(L""), L',');
    }
};

// A write that fails half-way, at the exit or after the options dialog's OK: the last
// complete file stays byte for byte, nothing is left beside it, and the user is told
// once (the dialog's caller reports what the save raises).
TEST_F(SaveFailuresTest, AWriteThatFailsLeavesTheLastFileAndIsToldOnce) {
    struct Fault {
        const char* what;
        std::function<void(SaveFailuresTest&)> set;
    };
    const Fault faults[] = {
        {"read-only file",
         [](SaveFailuresTest& t) { SetFileAttributesW(t.dataFile.c_str(), FILE_ATTRIBUTE_READONLY); }},
        {"disk full half-way", [](SaveFailuresTest&) { appdata::FailWritesAfterForTesting(300); }},
    };
    for (const Fault& fault : faults) {
        for (bool atExit : {true, false}) {
            SCOPED_TRACE(std::string(fault.what) + (atExit ? ", exit" : ", options OK"));
            DeleteFileW(dataFile.c_str());
            PrepareOwnFile();
            const std::string last = ReadBytes(dataFile);
            Start();
            form->SetTopmost(true);
            Expand(L"Root\\A");
            fault.set(*this);
            reported.clear();
            if (atExit) {
                Stop();
                EXPECT_EQ(reported.size(), 1u);
            } else {
                EXPECT_THROW(SaveAsOptionsOK(), appdata::EFCreateError);
                EXPECT_TRUE(reported.empty());
                EXPECT_FALSE(form->Modifies().Empty()) << "what was not written is still to be saved";
                Stop();
                reported.clear();
            }
            EXPECT_TRUE(ReadBytes(dataFile) == last);
            EXPECT_EQ(testing_support::EntriesOf(folder.Path()),
                      (std::vector<std::wstring>{L"Kestrav.xml", L"Other", L"Root"}));
            appdata::FailWritesAfterForTesting(std::nullopt);
            SetFileAttributesW(dataFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

// A file loaded with an error is kept beside, and the new one replaces it in one step:
// what the user did not ask to save is written as it was loaded, not as it is now, and
// frames still to restore their trees lose nothing.
TEST_F(SaveFailuresTest, AFileLoadedWithAnErrorKeepsWhatWasNotAskedFor) {
    const std::wstring expands = shell::EncodeDelimitedText({PathOf(L"Root"), PathOf(L"Root\\A")}, L',');
    const std::string flawed =
        kDataFileHead +
        "<Configuration><CollapseSize>abc</CollapseSize><ExpandWidth>350</ExpandWidth>"
        "<Maintains>2</Maintains></Configuration><Snapshot><Layout>3</Layout><Frames><Id.0><Tree>"
        "<Roots><No.0><Path>" +
        Utf8(folder / L"Root") + "</Path><Expands>" + Utf8(expands) + "</Expands><Selected>" +
        Utf8(PathOf(L"Root\\A\\A1")) + "</Selected></No.0></Roots></Tree></Id.0></Frames></Snapshot>" +
        kDataFileTail;
    const std::wstring broken = app::BrokenFileName(dataFile);
    struct Case {
        const char* what;
        std::function<void(SaveFailuresTest&)> save; // from a window just made
    };
    const Case cases[] = {
        // Only the window's place is kept at the end; the user changed the panel width
        // (the configuration) and the trees too.
        {"exit with the place kept",
         [](SaveFailuresTest& t) {
             t.WaitForRestores();
             t.form->SetTopmost(true);
             t.form->SetExpandWidth(500);
             t.Expand(L"Root\\B");
             t.Stop();
         }},
        // The options dialog's OK with every part before the restore read the file.
        {"options OK before the restore",
         [](SaveFailuresTest& t) {
             t.form->SetTopmost(true);
             t.SaveAsOptionsOK({app::cpTree});
             t.SaveAsOptionsOK({app::cpFrame});
             t.Stop();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(broken.c_str());
        WriteBytes(dataFile, flawed);
        form = std::make_unique<app::TMainForm>();
        DispatchWithoutIdle();
        ASSERT_EQ(reported.size(), 1u) << "the load's error";
        reported.clear();
        c.save(*this);
        EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
        EXPECT_TRUE(ReadBytes(broken) == flawed);
        EXPECT_EQ(Value(L"\\Snapshot", L"Topmost"), L"-1");
        EXPECT_EQ(Value(L"\\Configuration", L"ExpandWidth"), L"350") << "the configuration as loaded";
        EXPECT_EQ(Value(L"\\Configuration", L"CollapseSize"), L"4") << "what could not be read: its default";
        EXPECT_EQ(Expands(), (std::vector<std::wstring>{PathOf(L"Root"), PathOf(L"Root\\A")}));
        EXPECT_EQ(Value(kRoot0, L"Selected"), PathOf(L"Root\\A\\A1"));
        Start();
        EXPECT_TRUE(reported.empty()) << "what was saved loads without a word";
        Stop();
    }

    // The new file replaces the unreadable one in one step: a write that fails leaves it.
    DeleteFileW(broken.c_str());
    WriteBytes(dataFile, kDataFileHead + "<Configuration><CollapseSize>9</Configuration>");
    const std::string malformed = ReadBytes(dataFile);
    form = std::make_unique<app::TMainForm>();
    PumpUntilIdle(200);
    reported.clear();
    appdata::FailWritesAfterForTesting(100);
    EXPECT_THROW(SaveAsOptionsOK(), appdata::EFCreateError);
    EXPECT_TRUE(ReadBytes(dataFile) == malformed);
    EXPECT_TRUE(ReadBytes(broken) == malformed);
    appdata::FailWritesAfterForTesting(std::nullopt);
    SaveAsOptionsOK();
    EXPECT_TRUE(ReadBytes(broken) == malformed) << "kept once, not over and over";
    EXPECT_FALSE(testing_support::FileExists(broken + L".2"));
}

// A save whose file would be too large to be read back keeps the last one and says so.
TEST_F(SaveFailuresTest, AResultTooLargeToReadBackKeepsTheLastFile) {
    // The program's own file of one frame whose root's designation fills the file up to
    // the reader's bound: one more root makes it too large.
    const std::wstring marker = L"C:\\kestrav-no-such-folder-";
    Prepare({{L"\\Configuration", L"Maintains", L"14"}, {kRoot0, L"Path", marker}});
    Start();
    SaveAsOptionsOK();
    Stop();
    std::string bytes = ReadBytes(dataFile);
    const uint64_t room = appdata::TXMLRegFile::kMaxMarkup - appdata::MarkupCount(bytes);
    const std::string path = Utf8(marker);
    bytes.replace(bytes.find(path), path.size(), path + std::string(room, '='));
    WriteBytes(dataFile, bytes);

    Start();
    ASSERT_TRUE(reported.empty()) << "at the bound the file is read";
    reported.clear();
    form->AddRoot(&Frame(0), L"rfDesktop");
    Stop();
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_TRUE(ReadBytes(dataFile) == bytes);
}

// Names XML cannot hold (valid in file names): the entry or root that has one is left
// out alone, the rest is written, and the user is told once.
TEST_F(SaveFailuresTest, NamesTheFileCannotHoldAreLeftOutAlone) {
    const std::wstring odd = std::wstring(L"Root\\odd") + wchar_t(0xFFFE);
    if (!testing_support::MakeFolder(folder / (odd + L"\\inner")))
        GTEST_SKIP() << "the file system takes no folder named with U+FFFE";
    const std::wstring roots = L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.";
    Prepare({{L"\\Configuration", L"Maintains", L"14"},
             {L"\\Snapshot", L"Layout", L"3"},
             {roots + L"0", L"Path", folder / L"Root"},
             {roots + L"1", L"Path", folder / L"Gone"},
             {roots + L"2", L"Path", folder / L"Other"}});
    Start();
    Expand(L"Root");
    Expand(odd);
    Expand(L"Root\\A");
    Expand(L"Other");
    Select(odd);
    // The second root now names a folder with a lone surrogate in its name.
    Frame(0).NameSpaceTree().Roots()[1].SetPath(folder / (L"Gone" + std::wstring(1, wchar_t(0xD800))));
    Frame(0).SetExpandWidth(401);
    reported.clear();
    Stop();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find(L"3 件"), std::wstring::npos) << Utf8(reported[0]);
    EXPECT_EQ(NodeNames(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots"),
              (std::vector<std::wstring>{L"No.0", L"No.1"}));
    EXPECT_EQ(Value(roots + L"1", L"Path"), folder / L"Other");
    EXPECT_EQ(Value(roots + L"0", L"Path"), folder / L"Root");
    EXPECT_EQ(Expands(), (std::vector<std::wstring>{PathOf(L"Root"), PathOf(L"Root\\A"), PathOf(L"Other")}));
    EXPECT_FALSE(Value(kRoot0, L"Selected").has_value());
    reported.clear();
    Start();
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(Frame(0).NameSpaceTree().Roots().Count(), 2);
    EXPECT_TRUE(Expanded(L"Other"));
}

} // namespace
