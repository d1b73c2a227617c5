// The remembered trees are never lost by ordinary use: a frame change saves the frames
// and keeps what the file remembers of the trees; the user's expansions count however
// they fall among the restores; a start and an exit with nothing done write nothing.
#include "FolderTreeFixture.h"

#include "shell/DelimitedText.h"

#include <functional>

using namespace settings_test;
using Microsoft::WRL::ComPtr;
using testing_support::PumpUntilIdle;
using testing_support::Utf8;

namespace {

const std::wstring kRoots = L"\\Snapshot\\Frames\\Id.";

class KeptStateTest : public FolderTreeFixture {
public:
    void SetUp() override {
        FolderTreeFixture::SetUp();
        testing_support::MakeFolder(folder / L"Other\\X\\X1\\Y");
    }
    std::wstring RootNode(int frame, int root) {
        return kRoots + std::to_wstring(frame) + L"\\Tree\\Roots\\No." + std::to_wstring(root);
    }
    // Every item kept: frame 0 with two roots (the first root's list runs on through the
    // second's, as the program writes it) and the selection, frame 1 with one root.
    void PrepareTwoFrames() {
        remembered = {
            {RootNode(0, 0), L"Expands",
             shell::EncodeDelimitedText({PathOf(L"Root"), PathOf(L"Root\\A"), PathOf(L"Other")}, L',')},
            {RootNode(0, 0), L"Selected", PathOf(L"Root\\A\\A1")},
            {RootNode(0, 1), L"Expands", shell::EncodeDelimitedText({PathOf(L"Other")}, L',')},
            {RootNode(1, 0), L"Expands",
             shell::EncodeDelimitedText({PathOf(L"Other"), PathOf(L"Other\\X")}, L',')},
        };
        std::vector<Entry> entries = {{L"\\Configuration", L"Maintains", L"14"},
                                      {L"\\Snapshot", L"Layout", L"3"},
                                      {RootNode(0, 0), L"Path", folder / L"Root"},
                                      {RootNode(0, 1), L"Path", folder / L"Other"},
                                      {RootNode(1, 0), L"Path", folder / L"Other"}};
        entries.insert(entries.end(), remembered.begin(), remembered.end());
        Prepare(entries);
    }
    // The tree values of the file are those prepared (of the frames that are left).
    void ExpectRememberedKept(bool secondFrame = true) {
        for (const Entry& e : remembered) {
            if (!secondFrame && e.node.rfind(kRoots + L"1", 0) == 0)
                continue;
            EXPECT_EQ(Value(e.node, e.name).value_or(L"<none>"), e.text) << Utf8(e.node + L"\\" + e.name);
        }
        EXPECT_FALSE(Value(RootNode(0, 1), L"Selected").has_value());
    }
    // The Shell's right click on item of frame, which chooses it for the next command.
    void RightClick(nav::TNavFrame& frame, IShellItem* item) {
        void* menu = nullptr;
        HRESULT result = E_FAIL;
        frame.NameSpaceTreeNTEOnBeforeContextMenu(item, IID_IContextMenu, menu, result);
        ASSERT_EQ(result, S_OK);
        static_cast<IContextMenu*>(menu)->Release();
    }
    void SwitchFilter(nav::TNavFrame& frame, IShellItem* rootItem) {
        RightClick(frame, rootItem);
        frame.ContextMenu().Entry(nav::ceIncludeHidden).Click();
        PumpUntilIdle(200);
    }
    bool InExpands(const std::wstring& node, const std::wstring& relative) {
        std::vector<std::wstring> paths =
            shell::DecodeDelimitedText(Value(node, L"Expands").value_or(L""), L',');
        return std::find(paths.begin(), paths.end(), PathOf(relative)) != paths.end();
    }

    std::vector<Entry> remembered;
};

// Each change of the frame layout after the start-up restore, then the exit: the frames
// are saved, and the expanded and selected items of every frame and root that is still
// there are what they were.
TEST_F(KeptStateTest, AFrameChangeKeepsTheRememberedItems) {
    struct Change {
        const char* what;
        std::function<void(KeptStateTest&)> make;
        std::function<void(KeptStateTest&)> saved; // what shows the frame part was written
        bool secondFrameLeft = true;
    };
    const Change changes[] = {
        {"collapse a frame", [](KeptStateTest& t) { t.Frame(0).SwitchingBtnClick(); },
         [](KeptStateTest& t) { EXPECT_EQ(t.Value(kRoots + L"0\\Tree", L"Collapsed"), L"-1"); }},
        {"drag a splitter",
         [](KeptStateTest& t) {
             bool accept = false;
             t.form->SplitterOf(t.Frame(0))->OnCanResize(180, accept);
             EXPECT_TRUE(accept);
             t.Frame(0).SetExpandHeight(180);
         },
         [](KeptStateTest& t) { EXPECT_EQ(t.Value(kRoots + L"0", L"ExpandHeight"), L"180"); }},
        {"reorder the frames", [](KeptStateTest& t) { t.form->MoveFrame(t.Frame(1), t.Frame(0)); },
         [](KeptStateTest& t) {
             EXPECT_EQ(t.NodeNames(L"\\Snapshot\\Frames"), (std::vector<std::wstring>{L"Id.1", L"Id.0"}));
         }},
        {"close a frame", [](KeptStateTest& t) { t.form->DelFrame(t.Frame(1)); },
         [](KeptStateTest& t) {
             EXPECT_EQ(t.NodeNames(L"\\Snapshot\\Frames"), std::vector<std::wstring>{L"Id.0"});
         },
         false},
        {"switch a style",
         [](KeptStateTest& t) {
             gui::MenuItem& lines = *t.Frame(0).PreferenceMenu().Items().front();
             lines.SetChecked(!lines.Checked());
             t.Frame(0).PreferenceMnusClick(lines);
         },
         [](KeptStateTest& t) { EXPECT_TRUE(t.Value(kRoots + L"0", L"Styles").has_value()); }},
        {"switch a root's filters",
         [](KeptStateTest& t) {
             t.SwitchFilter(t.Frame(0), t.Frame(0).NameSpaceTree().Roots()[1].SHItem());
             t.WaitForRestores();
         },
         [](KeptStateTest& t) { EXPECT_NE(t.Value(t.RootNode(0, 1), L"Filters"), std::wstring(L"6")); }},
        {"move the focus to another frame",
         [](KeptStateTest& t) { t.Frame(0).FrameExit(t.Frame(1).NameSpaceTree().Handle()); },
         [](KeptStateTest& t) { EXPECT_TRUE(t.Value(L"\\Snapshot", L"ActiveFrame").has_value()); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        DeleteFileW(dataFile.c_str());
        PrepareTwoFrames();
        Start();
        ASSERT_TRUE(Expanded(L"Root\\A"));
        ASSERT_TRUE(form->Modifies().Empty()) << int(form->Modifies().Bits());
        change.make(*this);
        EXPECT_TRUE(form->Modifies().Contains(app::cpFrame));
        EXPECT_FALSE(form->Modifies().Contains(app::cpTree));
        Stop();
        change.saved(*this);
        ExpectRememberedKept(change.secondFrameLeft);
        EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
    }
}

// The user expands a folder before, during or after a restore of some kind (F5, a
// filter switch, another frame's start-up restore still running): that change is saved.
TEST_F(KeptStateTest, TheUsersExpansionsCountAroundEveryRestore) {
    struct Flow {
        const char* what;
        std::function<void(KeptStateTest&)> run;
        // What the user expanded: in which frame, and the root node that lists it.
        size_t frame = 0;
        const wchar_t* expanded = L"Root\\B";
    };
    const Flow flows[] = {
        {"expanded, then F5",
         [](KeptStateTest& t) {
             t.WaitForRestores();
             t.Expand(L"Root\\B");
             t.Select(L"Root\\A");
             SendMessageW(t.Frame(0).NameSpaceTree().TreeViewHandle(), WM_KEYDOWN, VK_F5, 0);
             PumpUntilIdle(200);
             t.WaitForRestores();
         }},
        {"expanded, then a filter switched",
         [](KeptStateTest& t) {
             t.WaitForRestores();
             t.Expand(L"Root\\B");
             t.SwitchFilter(t.Frame(0), t.Frame(0).NameSpaceTree().Roots()[0].SHItem());
             t.WaitForRestores();
         }},
        {"expanded before the start-up restore",
         [](KeptStateTest& t) {
             t.Expand(L"Root");
             t.Expand(L"Root\\B");
             t.WaitForRestores();
         }},
        {"expanded during the start-up restore",
         [](KeptStateTest& t) {
             gui::Application& application = gui::Application::Instance();
             for (int turn = 0; turn < 3; ++turn)
                 application.RaiseIdle();
             t.Expand(L"Root");
             t.Expand(L"Root\\B");
             t.WaitForRestores();
         }},
        {"expanded in a frame done while the other one still restores",
         [](KeptStateTest& t) {
             gui::Application& application = gui::Application::Instance();
             for (int turn = 0;
                  turn < 100 && t.Frame(1).RestoreState() != nav::TNavFrame::TRestoreState::None; ++turn)
                 application.RaiseIdle();
             ASSERT_NE(t.Frame(0).RestoreState(), nav::TNavFrame::TRestoreState::None);
             t.Expand(L"Other\\X\\X1", 1);
             t.WaitForRestores();
         },
         1, L"Other\\X\\X1"},
    };
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.what);
        DeleteFileW(dataFile.c_str());
        PrepareTwoFrames();
        form = std::make_unique<app::TMainForm>();
        flow.run(*this);
        ASSERT_TRUE(Expanded(flow.expanded, flow.frame));
        EXPECT_TRUE(form->Modifies().Contains(app::cpTree));
        Stop();
        EXPECT_TRUE(InExpands(RootNode(static_cast<int>(flow.frame), 0), flow.expanded));
        EXPECT_TRUE(InExpands(RootNode(0, 0), L"Root\\A")) << "what was restored is kept too";
        EXPECT_TRUE(InExpands(RootNode(1, 0), L"Other\\X"));
        EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
    }
}

// The restores alone are no change: a start and an exit write nothing, also after F5
// and a filter switch put the trees back as they were.
TEST_F(KeptStateTest, RestoresAloneChangeNothing) {
    PrepareTwoFrames();
    const std::string before = testing_support::ReadBytes(dataFile);
    Start();
    EXPECT_TRUE(form->Modifies().Empty()) << int(form->Modifies().Bits());
    Stop();
    EXPECT_TRUE(testing_support::ReadBytes(dataFile) == before);

    Start();
    Select(L"Root\\A");
    form->SetModifies({}); // the selection itself is not what is looked at here
    SendMessageW(Frame(0).NameSpaceTree().TreeViewHandle(), WM_KEYDOWN, VK_F5, 0);
    PumpUntilIdle(200);
    WaitForRestores();
    EXPECT_FALSE(form->Modifies().Contains(app::cpTree));
    SwitchFilter(Frame(1), Frame(1).NameSpaceTree().Roots()[0].SHItem());
    WaitForRestores();
    EXPECT_EQ(form->Modifies(), app::TChangeParts{app::cpFrame}) << "the filters changed, not the tree";
}

// "ActiveFrame" 0 is also what a file without it reads as: frame 0 gets the focus when
// there is a frame 0.
TEST_F(KeptStateTest, TheActiveFrameZeroFocusesFrameZero) {
    struct Case {
        const char* stored; // null: no value
        int focused;
    };
    for (Case c : {Case{nullptr, 0}, Case{"0", 0}, Case{"3", 3}}) {
        SCOPED_TRACE(c.stored ? c.stored : "no value");
        DeleteFileW(dataFile.c_str());
        std::vector<Entry> entries = {{L"\\Snapshot", L"Layout", L"3"},
                                      {RootNode(3, 0), L"Path", folder / L"Other"},
                                      {RootNode(0, 0), L"Path", folder / L"Root"}};
        if (c.stored)
            entries.push_back({L"\\Snapshot", L"ActiveFrame", testing_support::FromUtf8(c.stored)});
        Prepare(entries);
        Start();
        SetForegroundWindow(form->Handle());
        PumpUntilIdle(200);
        EXPECT_EQ(form->ActiveFrameId(), c.focused);
        nav::TNavFrame& frame = Frame(c.focused == 3 ? 0 : 1);
        HWND focus = GetFocus();
        EXPECT_TRUE(focus == frame.NameSpaceTree().Handle() ||
                    IsChild(frame.NameSpaceTree().Handle(), focus));
        Stop();
    }
}

} // namespace
