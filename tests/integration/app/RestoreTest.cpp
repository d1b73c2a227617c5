// Expanded and selected items written at the end and restored after the next start,
// with the real Shell over a folder tree of the test's own.
#include "FolderTreeFixture.h"

#include "shell/DelimitedText.h"
#include "shell/ItemPath.h"
#include "shell/ShellItems.h"

using namespace settings_test;
using Microsoft::WRL::ComPtr;
using testing_support::PumpUntilIdle;
using testing_support::Utf8;

namespace {

class RestoreTest : public FolderTreeFixture {
public:
    // Two roots, items kept at the end.
    void PrepareTwoRoots(std::vector<Entry> more = {}) {
        std::vector<Entry> entries = {
            {L"\\Configuration", L"Maintains", L"8"},
            {L"\\Snapshot", L"Layout", L"3"},
            {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Path", folder / L"Root"},
            {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.1", L"Path", folder / L"Other"}};
        entries.insert(entries.end(), more.begin(), more.end());
        Prepare(entries);
    }
};

TEST_F(RestoreTest, ExpandedItemsAndTheSelectionComeBackAfterARestart) {
    PrepareTwoRoots();
    Start();
    for (const wchar_t* path : {L"Root", L"Root\\A", L"Root\\a b", L"Root\\c,d", L"Other", L"Other\\X"})
        Expand(path);
    Select(L"Root\\A\\A1");
    ASSERT_EQ(SelectedName(), folder / L"Root\\A\\A1");
    Stop();

    // The first root lists every expanded item from it to the end of the tree; the
    // selection sits only under the root that holds it.
    auto expands = Value(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Expands");
    ASSERT_TRUE(expands.has_value());
    std::vector<std::wstring> paths = shell::DecodeDelimitedText(*expands, L',');
    for (const wchar_t* path : {L"Root", L"Root\\A", L"Root\\a b", L"Root\\c,d", L"Other", L"Other\\X"})
        EXPECT_NE(std::find(paths.begin(), paths.end(), PathOf(path)), paths.end()) << Utf8(path);
    EXPECT_EQ(Value(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Selected"), PathOf(L"Root\\A\\A1"));
    EXPECT_FALSE(Value(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.1", L"Selected").has_value());
    auto second = Value(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.1", L"Expands");
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(shell::DecodeDelimitedText(*second, L','),
              (std::vector<std::wstring>{PathOf(L"Other"), PathOf(L"Other\\X")}));

    Start();
    for (const wchar_t* path : {L"Root", L"Root\\A", L"Root\\a b", L"Root\\c,d", L"Other", L"Other\\X"})
        EXPECT_TRUE(Expanded(path)) << Utf8(path);
    EXPECT_FALSE(Expanded(L"Root\\B"));
    EXPECT_EQ(SelectedName(), folder / L"Root\\A\\A1");
    // The restore's own expansions are no change to save.
    EXPECT_FALSE(form->Modifies().Contains(app::cpTree));
    EXPECT_TRUE(reported.empty());
}

TEST_F(RestoreTest, ASelectedFileThatIsGoneLeavesTheSelectionOnItsFolder) {
    PrepareTwoRoots(
        {{L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Expands",
          shell::EncodeDelimitedText({PathOf(L"Root"), PathOf(L"Root\\A")}, L',')},
         {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Selected", PathOf(L"Root\\A\\f.txt")}});
    DeleteFileW((folder / L"Root\\A\\f.txt").c_str());
    Start();
    EXPECT_TRUE(Expanded(L"Root\\A"));
    EXPECT_EQ(SelectedName(), folder / L"Root\\A");
}

TEST_F(RestoreTest, ReloadKeepsTheExpandedItemsAndTheSelection) {
    PrepareTwoRoots();
    Start();
    Expand(L"Root");
    Expand(L"Root\\A");
    Expand(L"Root\\B");
    Select(L"Root\\B\\B1");
    Frame().Reload(Item(L"Root\\B\\B1").Get());
    WaitForRestores();
    EXPECT_TRUE(Expanded(L"Root"));
    EXPECT_TRUE(Expanded(L"Root\\A"));
    EXPECT_TRUE(Expanded(L"Root\\B"));
    EXPECT_EQ(SelectedName(), folder / L"Root\\B\\B1");

    // An item whose top-level item is no root of this tree reloads nothing.
    Frame().Reload(Item(L"Other\\X").Get());
    EXPECT_EQ(Frame().RestoreState(), nav::TNavFrame::TRestoreState::None);
}

TEST_F(RestoreTest, EachIdleTurnRestoresOneItem) {
    std::vector<std::wstring> expands = {PathOf(L"Root"), PathOf(L"Root\\A"), PathOf(L"Root\\B")};
    PrepareTwoRoots({{L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Expands",
                      shell::EncodeDelimitedText(expands, L',')},
                     {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Selected", PathOf(L"Root\\B\\B1")}});
    form = std::make_unique<app::TMainForm>();
    auto expandedCount = [&] {
        return int(Expanded(L"Root")) + int(Expanded(L"Root\\A")) + int(Expanded(L"Root\\B"));
    };
    gui::Application& application = gui::Application::Instance();
    EXPECT_EQ(Frame().RestoreState(), nav::TNavFrame::TRestoreState::CreatePending);
    application.RaiseIdle(); // reads the file and schedules the restore
    EXPECT_EQ(Frame().RestoreState(), nav::TNavFrame::TRestoreState::Restoring);
    EXPECT_EQ(Frame().ExpandingReserves.size(), 3u);
    EXPECT_EQ(Frame().MarkingReserves.size(), 2u);
    for (int turn = 1; turn <= 3; ++turn) {
        application.RaiseIdle();
        EXPECT_EQ(expandedCount(), turn);
        EXPECT_EQ(Frame().ExpandingReserves.size(), size_t(3 - turn));
    }
    application.RaiseIdle(); // selects
    EXPECT_EQ(SelectedName(), folder / L"Root\\B\\B1");
    application.RaiseIdle(); // shows
    EXPECT_EQ(Frame().RestoreState(), nav::TNavFrame::TRestoreState::Restoring);
    application.RaiseIdle(); // finds both lists empty
    EXPECT_EQ(Frame().RestoreState(), nav::TNavFrame::TRestoreState::None);
    EXPECT_FALSE(form->Modifies().Contains(app::cpTree));
}

TEST_F(RestoreTest, FramesTakeTurnsOneItemPerIdleTurnForTheWholeWindow) {
    const std::wstring roots = L"\\Snapshot\\Frames\\Id.";
    Prepare({{L"\\Configuration", L"Maintains", L"8"},
             {L"\\Snapshot", L"Layout", L"3"},
             {roots + L"0\\Tree\\Roots\\No.0", L"Path", folder / L"Root"},
             {roots + L"0\\Tree\\Roots\\No.0", L"Expands",
              shell::EncodeDelimitedText({PathOf(L"Root"), PathOf(L"Root\\A"), PathOf(L"Root\\B")}, L',')},
             {roots + L"1\\Tree\\Roots\\No.0", L"Path", folder / L"Other"},
             {roots + L"1\\Tree\\Roots\\No.0", L"Expands",
              shell::EncodeDelimitedText({PathOf(L"Other"), PathOf(L"Other\\X")}, L',')}});
    form = std::make_unique<app::TMainForm>();
    auto left = [&] {
        std::vector<size_t> counts;
        for (nav::TNavFrame* frame : form->OrderedFrames())
            counts.push_back(frame->ExpandingReserves.size());
        return counts;
    };
    gui::Application& application = gui::Application::Instance();
    // Each frame reads the file in its own turn.
    application.RaiseIdle();
    EXPECT_EQ(left(), (std::vector<size_t>{3, 0}));
    application.RaiseIdle();
    EXPECT_EQ(left(), (std::vector<size_t>{3, 2}));
    // Then one item per turn, the frames taking turns.
    const std::vector<std::vector<size_t>> expected = {{2, 2}, {2, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (const std::vector<size_t>& counts : expected) {
        application.RaiseIdle();
        EXPECT_EQ(left(), counts);
    }
    WaitForRestores();
    nav::TNavFrame& second = *form->OrderedFrames().at(1);
    NSTCITEMSTATE state = 0;
    EXPECT_TRUE(
        SUCCEEDED(second.NameSpaceTree().GetItemState(Item(L"Other\\X").Get(), NSTCIS_EXPANDED, &state)) &&
        (state & NSTCIS_EXPANDED) != 0);
    EXPECT_TRUE(Expanded(L"Root\\B"));
}

// Saving while a restore is still under way writes the whole state the user had:
// what is expanded now and what is still to be expanded, with the selection still to
// be made. The restore goes on afterwards.
TEST_F(RestoreTest, ASaveDuringTheRestoreKeepsWhatIsStillToRestore) {
    const std::vector<std::wstring> first = {PathOf(L"Root"), PathOf(L"Root\\A"), PathOf(L"Root\\c,d"),
                                             PathOf(L"Other"), PathOf(L"Other\\X")};
    const std::vector<std::wstring> second = {PathOf(L"Other"), PathOf(L"Other\\X")};
    const std::wstring selected = PathOf(L"Root\\A\\A1");
    const std::wstring rootNode = L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.";
    struct Interruption {
        int turns;     // idle turns before the save: the first reads the file
        bool exitSave; // the program ends instead of the options dialog's OK
    };
    for (Interruption c :
         {Interruption{0, false}, Interruption{1, false}, Interruption{3, false}, Interruption{6, false},
          Interruption{7, false}, Interruption{9, false}, Interruption{11, false}, Interruption{4, true}}) {
        SCOPED_TRACE(testing::Message() << c.turns << " turns, " << (c.exitSave ? "exit" : "options OK"));
        PrepareTwoRoots({{rootNode + L"0", L"Expands", shell::EncodeDelimitedText(first, L',')},
                         {rootNode + L"1", L"Expands", shell::EncodeDelimitedText(second, L',')},
                         {rootNode + L"0", L"Selected", selected}});
        form = std::make_unique<app::TMainForm>();
        for (int turn = 0; turn < c.turns; ++turn)
            gui::Application::Instance().RaiseIdle();
        if (c.exitSave) {
            // The restore's own expansions are no change of the user's; a frame change
            // is, and its save keeps the lists the file has.
            EXPECT_FALSE(form->Modifies().Contains(app::cpTree));
            form->SetMaintains({app::cpFrame, app::cpTree});
            form->OrderedFrames().at(0)->SetExpandWidth(401);
            Stop();
        } else {
            SaveAsOptionsOK({});
        }
        auto expands0 = Value(rootNode + L"0", L"Expands");
        auto expands1 = Value(rootNode + L"1", L"Expands");
        ASSERT_TRUE(expands0.has_value());
        ASSERT_TRUE(expands1.has_value());
        EXPECT_EQ(shell::DecodeDelimitedText(*expands0, L','), first);
        EXPECT_EQ(shell::DecodeDelimitedText(*expands1, L','), second);
        EXPECT_EQ(Value(rootNode + L"0", L"Selected"), selected);
        EXPECT_FALSE(Value(rootNode + L"1", L"Selected").has_value());
        if (form) {
            // The save did not cut the restore short.
            WaitForRestores();
            for (const wchar_t* path : {L"Root", L"Root\\A", L"Root\\c,d", L"Other", L"Other\\X"})
                EXPECT_TRUE(Expanded(path)) << Utf8(path);
            EXPECT_EQ(SelectedName(), folder / L"Root\\A\\A1");
            Stop();
        }
        DeleteFileW(dataFile.c_str());
    }
}

TEST_F(RestoreTest, TheFocusedTreeIsKeptAsTheActiveFrame) {
    Prepare({{L"\\Configuration", L"Maintains", L"12"},
             {L"\\Snapshot", L"Layout", L"3"},
             {L"\\Snapshot\\Frames\\Id.1\\Tree\\Roots\\No.0", L"Path", folder / L"Root"},
             {L"\\Snapshot\\Frames\\Id.4\\Tree\\Roots\\No.0", L"Path", folder / L"Other"},
             {L"\\Snapshot", L"ActiveFrame", L"4"}});
    Start();
    SetForegroundWindow(form->Handle());
    PumpUntilIdle(200);
    nav::TNavFrame* second = form->OrderedFrames().at(1);
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == second->NameSpaceTree().Handle() ||
                IsChild(second->NameSpaceTree().Handle(), focus));
    EXPECT_EQ(form->ActiveFrameId(), 4);
    form->OrderedFrames().at(0)->NameSpaceTree().SetFocus();
    PumpUntilIdle(200);
    EXPECT_EQ(form->ActiveFrameId(), 1);
    // Moving the focus between the window's own frames changes the frame layout.
    EXPECT_TRUE(form->Modifies().Contains(app::cpFrame));
    form->SetModifies({});
    // Another application taking the focus is no change.
    second->FrameExit(nullptr);
    EXPECT_TRUE(form->Modifies().Empty());
}

} // namespace
