// The saved state in a real data file: written and read back whole, also at the sizes
// the program writes for large trees; defaults that follow other values; frame nodes
// that name no frame; and names the file cannot hold, left out alone.
#include "app/SavedStateFile.h"
#include "appdata/XMLRegFile.h"
#include "gui/Error.h"
#include "shell/DelimitedText.h"

#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>

using namespace app;
using appdata::TXMLRegFile;
using testing_support::TempFolder;

namespace {

using List = std::vector<std::wstring>;

TSavedState ReadBack(const std::wstring& file, std::exception_ptr& error) {
    TXMLRegFile reg(file);
    return ReadSavedState(reg, error);
}

void Write(const std::wstring& file, const TSavedState& state, std::vector<std::wstring>& leftOut) {
    TXMLRegFile reg(file, TXMLRegFile::TNewDocument{});
    WriteSavedState(reg, state, AllChangeParts, leftOut);
    reg.Flush();
}

// A frame of roots, each remembering its own expanded items, stored as the program
// stores them: the list of each root runs on to the end of the tree.
TFrameState FrameOfTails(int32_t id, int roots, int itemsEach, const std::wstring& base) {
    TFrameState frame = DefaultFrameState(id);
    List all;
    for (int j = 0; j < roots; ++j) {
        TRootState root = DefaultRootState();
        root.path = base + L"\\Root " + std::to_wstring(j);
        frame.roots.push_back(root);
    }
    for (int j = roots - 1; j >= 0; --j) {
        List own;
        for (int i = 0; i < itemsEach; ++i)
            own.push_back(shell::EncodeDelimitedText(
                {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"C:\\", L"Users", L"someone",
                 L"Documents, old", L"Root " + std::to_wstring(j), L"folder \"" + std::to_wstring(i) + L"\""},
                L'\\'));
        all.insert(all.begin(), own.begin(), own.end());
        frame.roots[static_cast<size_t>(j)].expands = all;
    }
    if (itemsEach > 0)
        frame.roots[0].selected = frame.roots[0].expands.back();
    return frame;
}

TEST(SavedStateFile, WritesAndReadsBackEveryValueAtTheSizesOfLargeTrees) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    struct Case {
        const char* what;
        std::function<TSavedState()> state;
    } cases[] = {
        {"a frame of 100 roots with 30 expanded items each",
         [] {
             TSavedState state = DefaultSavedState();
             state.frames.push_back(FrameOfTails(0, 100, 30, L"C:\\Users\\someone\\Documents"));
             return state;
         }},
        // The start-up benchmark's snapshot: 10 frames of 5 roots, 40 items each.
        {"10 frames of 5 roots with 40 expanded items each",
         [] {
             TSavedState state = DefaultSavedState();
             for (int f = 0; f < 10; ++f)
                 state.frames.push_back(FrameOfTails(f, 5, 40, L"C:\\bench\\F" + std::to_wstring(f)));
             return state;
         }},
        {"10,000 roots and 1,000 frames",
         [] {
             TSavedState state = DefaultSavedState();
             state.frames.push_back(FrameOfTails(0, 10000, 0, L"C:\\kestrav-no-such-folder"));
             for (int f = 1; f <= 1000; ++f)
                 state.frames.push_back(DefaultFrameState(f * 3));
             return state;
         }},
        {"every value away from its default",
         [] {
             TSavedState state = DefaultSavedState();
             state.settings = {12, 420, 333, 3153952, false, 200, 65635, 4102, 14, 1089,
                               -5, 7,   400, 500,     1,     3,   true,  7};
             TFrameState frame = DefaultFrameState(7);
             frame.expandWidth = 420;
             frame.expandHeight = 260;
             frame.styles = 65635;
             frame.width = 380;
             frame.height = 90;
             frame.collapsed = true;
             TRootState root = DefaultRootState();
             root.path = L"rfDesktop";
             root.filters = 4102;
             root.expands = {L"a b", L"c,d", L"\"q\"", L"&<>日本語"};
             root.selected = L"c,d";
             frame.roots = {root, root};
             frame.roots[1].path = L"C:\\x";
             frame.roots[1].selected.reset();
             state.frames = {frame, DefaultFrameState(2)};
             return state;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TSavedState state = c.state();
        std::vector<std::wstring> leftOut;
        auto start = std::chrono::steady_clock::now();
        Write(file, state, leftOut);
        EXPECT_TRUE(leftOut.empty());
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
        EXPECT_EQ(data.nFileSizeHigh, 0u);
        EXPECT_LT(data.nFileSizeLow, TXMLRegFile::kMaxFileSize / 8) << "far below what the reader takes";
        std::exception_ptr error;
        TSavedState read = ReadBack(file, error);
        EXPECT_FALSE(error);
        EXPECT_TRUE(read == state);
        std::printf("  %s: %lu bytes, written and read in %lld ms\n", c.what, data.nFileSizeLow,
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - start)
                                               .count()));
    }
}

TEST(SavedStateFile, MissingValuesTakeTheDefaultsOfTheValuesTheyFollow) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    testing_support::WriteBytes(file, "<Kestrav><Configuration><ExpandWidth>420</ExpandWidth></Configuration>"
                                      "<Snapshot><Frames><Id.3><ExpandHeight>260</ExpandHeight></Id.3>"
                                      "<Id.4><ExpandWidth>310</ExpandWidth><Tree><Height>5</Height><Roots>"
                                      "<No.0/></Roots></Tree></Id.4></Frames></Snapshot></Kestrav>");
    std::exception_ptr error;
    TSavedState state = ReadBack(file, error);
    EXPECT_FALSE(error);
    EXPECT_EQ(state.settings.width, 420) << "the window's width: the panel width read";
    EXPECT_EQ(state.settings.height, DefaultSavedState().settings.expandHeight);
    ASSERT_EQ(state.frames.size(), 2u);
    EXPECT_EQ(state.frames[0].height, 260) << "no Tree node: its height is the open height";
    EXPECT_EQ(state.frames[0].width, DefaultFrameState(0).expandWidth);
    EXPECT_TRUE(state.frames[0].roots.empty());
    EXPECT_EQ(state.frames[1].width, 310);
    EXPECT_EQ(state.frames[1].height, 5);
    ASSERT_EQ(state.frames[1].roots.size(), 1u);
    EXPECT_EQ(state.frames[1].roots[0].path, L"rfDesktop") << "an empty root node is the desktop";
}

TEST(SavedStateFile, FrameNodesThatNameNoNewFrameAreLeftOutAndTheRestIsRead) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    testing_support::WriteBytes(file,
                                "<Kestrav><Snapshot><Frames><Id.3><ExpandWidth>301</ExpandWidth></Id.3>"
                                "<Id.x><ExpandWidth>302</ExpandWidth></Id.x><Id.3><ExpandWidth>303"
                                "</ExpandWidth></Id.3><Frame/><Id.5><ExpandWidth>abc</ExpandWidth>"
                                "<ExpandHeight>250</ExpandHeight></Id.5></Frames></Snapshot></Kestrav>");
    std::exception_ptr error;
    TSavedState state = ReadBack(file, error);
    ASSERT_TRUE(error);
    try {
        std::rethrow_exception(error);
    } catch (const gui::UserError& first) {
        EXPECT_EQ(first.Message(), L"'x' は整数ではありません");
    }
    // Id.x and Frame name no id; the second Id.3 names one met before.
    ASSERT_EQ(state.frames.size(), 2u);
    EXPECT_EQ(state.frames[0].id, 3);
    EXPECT_EQ(state.frames[0].expandWidth, 301);
    EXPECT_EQ(state.frames[1].id, 5);
    EXPECT_EQ(state.frames[1].expandWidth, 300) << "a value that does not parse gives its default";
    EXPECT_EQ(state.frames[1].expandHeight, 250);
}

TEST(SavedStateFile, NamesTheFileCannotHoldAreLeftOutAlone) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    const std::wstring lone = std::wstring(L"C:\\lone ") + wchar_t(0xD800);
    const std::wstring fffe = std::wstring(L"C:\\x") + wchar_t(0xFFFE);
    const std::wstring ffff = std::wstring(L"C:\\y") + wchar_t(0xFFFF);
    TSavedState state = DefaultSavedState();
    TFrameState frame = DefaultFrameState(0);
    TRootState good = DefaultRootState();
    good.path = L"C:\\good";
    good.expands = {L"a", fffe, L"b"};
    good.selected = ffff;
    TRootState bad = good;
    bad.path = lone;
    bad.expands = {L"c"};
    TRootState after = good;
    after.path = L"C:\\after";
    after.expands = {L"d"};
    after.selected = L"d";
    frame.roots = {good, bad, after};
    state.frames = {frame};

    std::vector<std::wstring> leftOut;
    Write(file, state, leftOut);
    EXPECT_EQ(leftOut, (List{fffe, ffff, lone}));
    std::exception_ptr error;
    TSavedState read = ReadBack(file, error);
    EXPECT_FALSE(error);
    ASSERT_EQ(read.frames.size(), 1u);
    ASSERT_EQ(read.frames[0].roots.size(), 2u) << "the roots after the one left out follow without a gap";
    EXPECT_EQ(read.frames[0].roots[0].path, L"C:\\good");
    EXPECT_EQ(read.frames[0].roots[0].expands, (List{L"a", L"b"}));
    EXPECT_FALSE(read.frames[0].roots[0].selected.has_value());
    EXPECT_EQ(read.frames[0].roots[1].path, L"C:\\after");
    EXPECT_EQ(read.frames[0].roots[1].expands, List{L"d"});
    EXPECT_EQ(read.frames[0].roots[1].selected, L"d");
    const std::string bytes = testing_support::ReadBytes(file);
    EXPECT_NE(bytes.find("<No.1>"), std::string::npos);
    EXPECT_EQ(bytes.find("<No.2>"), std::string::npos);
}

} // namespace
