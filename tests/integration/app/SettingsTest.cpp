// The data file read at start and written by keep mode: every key, the keep modes, and
// no write at all when nothing changed.
#include "SettingsFixture.h"

#include "app/FrameIds.h"

#include <functional>

using namespace settings_test;
using app::cpConfig;
using app::cpForm;
using app::cpFrame;
using app::cpTree;
using app::TChangePart;
using app::TChangeParts;
using testing_support::Utf8;

namespace {

std::wstring Text(int value) {
    return std::to_wstring(value);
}
std::wstring Text(bool value) {
    return value ? L"-1" : L"0";
}

class SettingsTest : public SettingsFixture {
public:
    nav::TNavFrame& Frame(size_t position) { return *form->OrderedFrames().at(position); }
};

TEST_F(SettingsTest, EveryKeyLoadsAsStoredAndSavesBackTheSame) {
    testing_support::MakeFolder(folder / L"Root");
    const std::wstring rootPath = folder / L"Root";
    struct Key {
        Entry entry;
        std::function<std::wstring(SettingsTest&)> loaded; // the value as the program holds it
    };
    const std::vector<Key> keys = {
        {{L"\\Configuration", L"CollapseSize", L"12"},
         [](SettingsTest& t) { return Text(t.form->CollapseSize()); }},
        {{L"\\Configuration", L"ExpandWidth", L"420"},
         [](SettingsTest& t) { return Text(t.form->ExpandWidth()); }},
        {{L"\\Configuration", L"ExpandHeight", L"333"},
         [](SettingsTest& t) { return Text(t.form->ExpandHeight()); }},
        {{L"\\Configuration", L"BaseColor", L"3153952"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.form->BaseColor())); }},
        {{L"\\Configuration", L"ColorShift", L"0"},
         [](SettingsTest& t) { return Text(t.form->ColorShift()); }},
        {{L"\\Configuration", L"AlphaBlendValue", L"200"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.form->AlphaBlendValue())); }},
        {{L"\\Configuration", L"DefaultStyles", L"65635"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.form->DefaultStyles().Bits())); }},
        {{L"\\Configuration", L"DefaultFilters", L"4102"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.form->DefaultFilters().Bits())); }},
        {{L"\\Configuration", L"Maintains", L"14"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.form->Maintains().Bits())); }},
        {{L"\\Snapshot", L"SnapEdge", L"1"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.form->SnapEdge())); }},
        {{L"\\Snapshot", L"Layout", L"3"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.form->Layout())); }},
        {{L"\\Snapshot", L"Topmost", L"-1"}, [](SettingsTest& t) { return Text(t.form->Topmost()); }},
        {{L"\\Snapshot\\Frames\\Id.7", L"ExpandWidth", L"420"},
         [](SettingsTest& t) { return Text(t.Frame(0).ExpandWidth()); }},
        {{L"\\Snapshot\\Frames\\Id.7", L"ExpandHeight", L"260"},
         [](SettingsTest& t) { return Text(t.Frame(0).ExpandHeight()); }},
        {{L"\\Snapshot\\Frames\\Id.7", L"Styles", L"65635"},
         [](SettingsTest& t) { return Text(static_cast<int>(t.Frame(0).NameSpaceTree().Styles().Bits())); }},
        {{L"\\Snapshot\\Frames\\Id.7\\Tree", L"Width", L"380"},
         [](SettingsTest& t) { return Text(t.Frame(0).Width()); }},
        {{L"\\Snapshot\\Frames\\Id.7\\Tree", L"Collapsed", L"0"},
         [](SettingsTest& t) { return Text(t.Frame(0).Collapsed()); }},
        {{L"\\Snapshot\\Frames\\Id.7\\Tree\\Roots\\No.0", L"Filters", L"4102"},
         [](SettingsTest& t) {
             return Text(static_cast<int>(t.Frame(0).NameSpaceTree().Roots()[0].Filters().Bits()));
         }},
        {{L"\\Snapshot\\Frames\\Id.7\\Tree\\Roots\\No.0", L"Path", rootPath},
         [](SettingsTest& t) { return t.Frame(0).NameSpaceTree().Roots()[0].Path(); }},
        {{L"\\Snapshot\\Frames\\Id.7\\Tree\\Roots\\No.1", L"Filters", L"6"},
         [](SettingsTest& t) {
             return Text(static_cast<int>(t.Frame(0).NameSpaceTree().Roots()[1].Filters().Bits()));
         }},
        {{L"\\Snapshot\\Frames\\Id.7\\Tree\\Roots\\No.1", L"Path", L"rfDesktop"},
         [](SettingsTest& t) { return t.Frame(0).NameSpaceTree().Roots()[1].Path(); }},
        {{L"\\Snapshot\\Frames\\Id.2", L"ExpandWidth", L"310"},
         [](SettingsTest& t) { return Text(t.Frame(1).ExpandWidth()); }},
        {{L"\\Snapshot\\Frames\\Id.2\\Tree", L"Collapsed", L"-1"},
         [](SettingsTest& t) { return Text(t.Frame(1).Collapsed()); }},
    };
    std::vector<Entry> entries;
    for (const Key& key : keys)
        entries.push_back(key.entry);
    Prepare(entries);

    Start();
    EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
    EXPECT_EQ(FrameIds(), (std::vector<int>{7, 2}));
    for (const Key& key : keys)
        EXPECT_EQ(key.loaded(*this), key.entry.text) << Utf8(key.entry.node + L"\\" + key.entry.name);
    EXPECT_TRUE(form->Modifies().Empty());

    SaveAsOptionsOK({});
    EXPECT_TRUE(form->Modifies().Empty());
    for (const Key& key : keys)
        EXPECT_EQ(Value(key.entry.node, key.entry.name).value_or(L"<none>"), key.entry.text)
            << Utf8(key.entry.node + L"\\" + key.entry.name);
    RECT bounds = form->ScreenBounds();
    EXPECT_EQ(Value(L"\\Snapshot", L"Left"), Text(static_cast<int>(bounds.left)));
    EXPECT_EQ(Value(L"\\Snapshot", L"Width"), Text(gui::Width(bounds)));
    EXPECT_EQ(Value(L"\\Snapshot", L"Height"), Text(gui::Height(bounds)));
    EXPECT_EQ(Value(L"\\Snapshot\\Frames\\Id.2", L"ExpandWidth"), L"310"); // collapsed, its open width kept
}

TEST_F(SettingsTest, OutOfRangeValuesApplyAsStored) {
    Prepare({{L"\\Configuration", L"AlphaBlendValue", L"300"}, {L"\\Configuration", L"Maintains", L"255"}});
    Start();
    EXPECT_EQ(form->AlphaBlendValue(), 44);
    EXPECT_EQ(form->Maintains().Bits(), 255);
    EXPECT_TRUE(reported.empty());
}

TEST_F(SettingsTest, FirstStartWritesNothingAtExit) {
    Start();
    EXPECT_EQ(form->SnapEdge(), gui::alLeft);
    EXPECT_EQ(form->Layout(), app::loCollapsed);
    EXPECT_TRUE(form->Maintains().Empty());
    ASSERT_EQ(FrameIds().size(), 1u);
    form->SetTopmost(true);
    form->AddFrame(-1);
    Stop();
    EXPECT_FALSE(testing_support::FileExists(dataFile));
    EXPECT_TRUE(reported.empty());
}

TEST_F(SettingsTest, StoredIdsAreReusedAndNewFramesTakeTheLowestFreeOne) {
    Prepare({{L"\\Snapshot\\Frames\\Id.2000000000\\Tree", L"Collapsed", L"0"},
             {L"\\Snapshot\\Frames\\Id.5\\Tree", L"Collapsed", L"0"},
             {L"\\Snapshot\\Frames\\Id.1\\Tree", L"Collapsed", L"0"}});
    Start();
    EXPECT_EQ(FrameIds(), (std::vector<int>{2000000000, 5, 1}));
    EXPECT_EQ(app::FrameIds().Count(), 3u);
    EXPECT_EQ(form->AddFrame(-1).ID(), 0);
    EXPECT_EQ(form->AddFrame(-1).ID(), 2);
    SaveAsOptionsOK({});
    EXPECT_EQ(NodeNames(L"\\Snapshot\\Frames"),
              (std::vector<std::wstring>{L"Id.2000000000", L"Id.5", L"Id.1", L"Id.0", L"Id.2"}));
}

TEST_F(SettingsTest, NothingChangedLeavesTheFileUntouched) {
    testing_support::MakeFolder(folder / L"Root\\Sub");
    Prepare({{L"\\Configuration", L"Maintains", L"14"},
             {L"\\Snapshot", L"SnapEdge", L"1"},
             {L"\\Snapshot", L"Layout", L"3"},
             {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Path", folder / L"Root"}});
    Start();
    SaveAsOptionsOK({}); // the program's own complete file
    Stop();
    std::string before = testing_support::ReadBytes(dataFile);
    WIN32_FILE_ATTRIBUTE_DATA a{}, b{};
    ASSERT_TRUE(GetFileAttributesExW(dataFile.c_str(), GetFileExInfoStandard, &a));
    Sleep(20);

    Start();
    EXPECT_TRUE(form->Modifies().Empty()) << int(form->Modifies().Bits());
    Stop();
    EXPECT_EQ(testing_support::ReadBytes(dataFile), before);
    ASSERT_TRUE(GetFileAttributesExW(dataFile.c_str(), GetFileExInfoStandard, &b));
    EXPECT_EQ(CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime), 0);
    EXPECT_TRUE(reported.empty());
}

// Each keep mode of each snapshot part, at the options dialog's OK and at the end.
TEST_F(SettingsTest, KeepModesDecideWhatIsWrittenAtOkAndAtTheEnd) {
    testing_support::MakeFolder(folder / L"Root\\Sub");
    const std::wstring root = folder / L"Root";
    struct Part {
        TChangePart part;
        const char* name;
        // Changes the part and answers the value the file should then hold.
        std::function<std::wstring(SettingsTest&, int round)> change;
        std::function<std::optional<std::wstring>(SettingsTest&)> stored;
    };
    const Part parts[] = {
        {cpForm, "form",
         [](SettingsTest& t, int round) {
             t.form->SetTopmost(round == 0);
             return Text(round == 0);
         },
         [](SettingsTest& t) { return t.Value(L"\\Snapshot", L"Topmost"); }},
        {cpFrame, "frame",
         [](SettingsTest& t, int round) {
             t.Frame(0).SetExpandWidth(400 + round);
             return Text(400 + round);
         },
         [](SettingsTest& t) { return t.Value(L"\\Snapshot\\Frames\\Id.0", L"ExpandWidth"); }},
        {cpTree, "tree",
         [](SettingsTest& t, int round) {
             nav::TNavFrame& frame = t.Frame(0);
             IShellItem* item = frame.NameSpaceTree().Roots()[0].SHItem();
             frame.NameSpaceTree().SetItemState(item, NSTCIS_EXPANDED, round == 0 ? NSTCIS_EXPANDED : 0);
             t.form->InclModify(cpTree); // Wine raises no after-expand for a collapse
             testing_support::PumpUntilIdle(200);
             return round == 0 ? std::wstring(L"expanded") : std::wstring(L"<none>");
         },
         [](SettingsTest& t) -> std::optional<std::wstring> {
             auto expands = t.Value(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Expands");
             if (!expands)
                 return std::nullopt;
             return std::wstring(L"expanded");
         }},
    };
    const char* modes[] = {"保存する", "今回のみ保存", "保存しない"};
    for (const Part& p : parts) {
        for (int mode = 0; mode < 3; ++mode) {
            SCOPED_TRACE(std::string(p.name) + " " + modes[mode]);
            DeleteFileW(dataFile.c_str());
            Prepare({{L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Path", root}});
            Start();
            // The dialog: the part's list at this mode, the other two at "保存しない".
            TChangeParts skipped{cpForm, cpFrame, cpTree};
            TChangeParts maintains;
            if (mode != 2)
                skipped.Exclude(p.part);
            if (mode == 0)
                maintains.Include(p.part);
            form->SetMaintains(maintains);
            std::wstring atOk = p.change(*this, 0);
            SaveAsOptionsOK(skipped);
            EXPECT_EQ(Value(L"\\Configuration", L"Maintains"), Text(static_cast<int>(maintains.Bits())));
            EXPECT_EQ(p.stored(*this).value_or(L"<none>"), mode == 2 ? L"<none>" : atOk);

            std::wstring atEnd = p.change(*this, 1);
            Stop();
            EXPECT_EQ(p.stored(*this).value_or(L"<none>"), mode == 0 ? atEnd : mode == 1 ? atOk : L"<none>");
        }
    }
    EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
}

TEST_F(SettingsTest, ItemsKeptWithoutTheFrameLayoutLeaveTheFrameNodesAlone) {
    testing_support::MakeFolder(folder / L"Root\\Sub");
    Prepare({{L"\\Configuration", L"Maintains", L"8"},
             {L"\\Snapshot\\Frames\\Id.0", L"ExpandWidth", L"333"},
             {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Path", folder / L"Root"}});
    Start();
    nav::TNavFrame& frame = Frame(0);
    frame.SetExpandWidth(444); // a frame change, not kept
    frame.NameSpaceTree().SetItemState(frame.NameSpaceTree().Roots()[0].SHItem(), NSTCIS_EXPANDED,
                                       NSTCIS_EXPANDED);
    testing_support::PumpUntilIdle(200);
    EXPECT_TRUE(form->Modifies().Contains(cpTree));
    form->AddRoot(&frame, L"rfDesktop"); // a second root, unknown to the file
    Stop();
    EXPECT_EQ(Value(L"\\Snapshot\\Frames\\Id.0", L"ExpandWidth"), L"333");
    EXPECT_EQ(Value(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Path"), folder / L"Root");
    EXPECT_TRUE(Value(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Expands").has_value());
    // The new root gets no node: one without its path would load as the desktop.
    EXPECT_EQ(NodeNames(L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots"), std::vector<std::wstring>{L"No.0"});
}

} // namespace
