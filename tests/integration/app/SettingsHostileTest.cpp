// Broken and hostile data files at start-up: the window comes up with what can be
// read, one clear message at most, and the user's file is never lost: untouched while
// nothing is saved, and kept beside as .broken before a save replaces it.
#include "SettingsFixture.h"

#include <functional>
#include <random>

using namespace settings_test;
using namespace std::string_literals;
using testing_support::ReadBytes;
using testing_support::Utf8;
using testing_support::WriteBytes;

namespace {

std::string Document(const std::string& body) {
    return kDataFileHead + body + kDataFileTail;
}

std::string Frame(const std::string& name, const std::string& inner = "") {
    return "<Snapshot><Frames><" + name + "><Tree><Collapsed>0</Collapsed>" + inner + "</Tree></" + name +
           "></Frames></Snapshot>";
}

std::string Frames(int count, int rootsEach, const std::string& path) {
    std::string body = "<Snapshot><Frames>";
    for (int i = 0; i < count; ++i) {
        body += "<Id." + std::to_string(i) + "><Tree><Roots>";
        for (int j = 0; j < rootsEach; ++j)
            body += "<No." + std::to_string(j) + "><Path>" + path + "</Path></No." + std::to_string(j) + ">";
        body += "</Roots></Tree></Id." + std::to_string(i) + ">";
    }
    return body + "</Frames></Snapshot>";
}

std::string Garbage() {
    std::mt19937 random(11);
    std::string bytes(2048, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

struct Case {
    const char* label;
    std::string bytes;
    bool message;       // one message expected (none otherwise)
    bool keptWhenSaved; // a save first keeps the file as .broken
    std::function<void(app::TMainForm&)> check;
    bool heavy = false; // started once only
};

std::vector<Case> Cases() {
    const std::string longPath = "C:\\" + std::string(5000, 'x');
    const std::string twoFrames =
        "<Snapshot><Frames><Id.3><Tree><Roots><No.0><Path>rfDesktop</Path></No.0></Roots>"
        "</Tree></Id.3><Id.3><Tree><Collapsed>-1</Collapsed></Tree></Id.3>"
        "<Id.x/><Frame/><Id./><Id.4><ExpandWidth>350</ExpandWidth></Id.4>"
        "</Frames></Snapshot>";
    auto desktopOnly = [](app::TMainForm& form) {
        ASSERT_EQ(form.OrderedFrames().size(), 1u);
        EXPECT_EQ(form.OrderedFrames()[0]->NameSpaceTree().Roots()[0].Path(), L"rfDesktop");
        EXPECT_EQ(form.SnapEdge(), gui::alLeft);
    };
    return {
        {"MalformedXml", kDataFileHead + "<Configuration><CollapseSize>9</Configuration>", true, true,
         desktopOnly},
        {"DocumentType", "<?xml version=\"1.0\"?><!DOCTYPE K [<!ENTITY a \"b\">]><Kestrav>&a;</Kestrav>",
         true, true, desktopOnly},
        {"Binary", Garbage(), true, true, desktopOnly},
        {"Empty", "", true, true, desktopOnly},
        {"NotANumber",
         Document("<Configuration><CollapseSize>abc</CollapseSize><ExpandWidth>350</ExpandWidth>"
                  "</Configuration>"),
         true, true,
         [](app::TMainForm& form) {
             EXPECT_EQ(form.CollapseSize(), 4);  // the default for the bad value
             EXPECT_EQ(form.ExpandWidth(), 350); // the rest still loads
         }},
        {"HugeValues",
         Document("<Configuration><CollapseSize>2147483647</CollapseSize><ExpandWidth>2147483647"
                  "</ExpandWidth><ExpandHeight>-2147483648</ExpandHeight></Configuration>"
                  "<Snapshot><Left>2147483647</Left><Top>-2147483648</Top><Width>2147483647</Width>"
                  "<Height>2147483647</Height></Snapshot>"),
         false, false, [](app::TMainForm& form) { EXPECT_EQ(form.CollapseSize(), 2147483647); }},
        {"NegativeSizes",
         Document(
             "<Snapshot><Frames><Id.0><ExpandWidth>-500</ExpandWidth><ExpandHeight>-500</ExpandHeight><Tree>"
             "<Width>-10</Width><Height>-10</Height></Tree></Id.0></Frames></Snapshot>"),
         false, false,
         [](app::TMainForm& form) { EXPECT_EQ(form.OrderedFrames().at(0)->ExpandHeight(), -500); }},
        {"Edge0", Document("<Snapshot><SnapEdge>0</SnapEdge><Layout>0</Layout></Snapshot>"), false, false,
         [](app::TMainForm& form) {
             EXPECT_EQ(form.SnapEdge(), gui::alLeft);
             EXPECT_EQ(form.Layout(), app::loCollapsed);
         }},
        {"Edge5", Document("<Snapshot><SnapEdge>5</SnapEdge><Layout>7</Layout></Snapshot>"), false, false,
         [](app::TMainForm& form) { EXPECT_EQ(form.SnapEdge(), gui::alLeft); }},
        {"Edge6", Document("<Snapshot><SnapEdge>6</SnapEdge></Snapshot>"), false, false,
         [](app::TMainForm& form) { EXPECT_EQ(form.SnapEdge(), gui::alLeft); }},
        {"DuplicateAndNonNumericFrameIds", Document(twoFrames), true, true,
         [](app::TMainForm& form) {
             auto frames = form.OrderedFrames();
             ASSERT_EQ(frames.size(), 2u);
             EXPECT_EQ(frames[0]->ID(), 3);
             EXPECT_FALSE(frames[0]->Collapsed());
             EXPECT_EQ(frames[0]->NameSpaceTree().Roots().Count(), 1);
             EXPECT_EQ(frames[1]->ID(), 4);
             EXPECT_EQ(frames[1]->ExpandWidth(), 350);
         }},
        {"FrameId2000000000", Document(Frame("Id.2000000000")), false, false,
         [](app::TMainForm& form) { EXPECT_EQ(form.OrderedFrames().at(0)->ID(), 2000000000); }},
        {"Frames1000", Document(Frames(1000, 0, "")), false, false,
         [](app::TMainForm& form) {
             auto frames = form.OrderedFrames();
             ASSERT_EQ(frames.size(), 1000u);
             // Laid out once all were there: one below the other in file order (as far
             // as window coordinates reach: they end at 32767).
             EXPECT_GT(frames[1]->Top(), frames[0]->Top());
             EXPECT_GT(frames[100]->Top(), frames[99]->Top());
         },
         true},
        // Roots whose folder is gone: the nodes are all read and kept, and the Shell's tree
        // (whose own insertion cost grows with its roots) is spared the insertions.
        {"Roots10000", Document(Frames(1, 10000, "C:\\kestrav-no-such-folder")), false, false,
         [](app::TMainForm& form) {
             EXPECT_EQ(form.OrderedFrames().at(0)->NameSpaceTree().Roots().Count(), 10000);
         },
         true},
        {"VeryLongPaths", Document(Frames(1, 1, longPath)), false, false,
         [](app::TMainForm& form) {
             EXPECT_EQ(form.OrderedFrames().at(0)->NameSpaceTree().Roots().Count(), 1);
         }},
    };
}

class SettingsHostileTest : public SettingsFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(SettingsHostileTest, GivesAWorkingWindowAndTheFileIsNeverLost) {
    const Case& c = GetParam();
    DeleteFileW(app::BrokenFileName(dataFile).c_str());
    WriteBytes(dataFile, c.bytes);
    Start();
    EXPECT_TRUE(form->HooksAttached());
    EXPECT_EQ(reported.size(), c.message ? 1u : 0u) << (reported.empty() ? "" : Utf8(reported[0]));
    EXPECT_FALSE(form->OrderedFrames().empty());
    c.check(*form);
    Stop();
    EXPECT_EQ(ReadBytes(dataFile), c.bytes) << "changed without a save";
    EXPECT_LE(reported.size(), 1u);
    if (c.heavy)
        return; // the size is what is tested; one start shows it

    // A save keeps the file beside first when it could not be loaded whole.
    Start();
    reported.clear();
    SaveAsOptionsOK({});
    EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
    if (c.keptWhenSaved) {
        EXPECT_TRUE(testing_support::FileExists(app::BrokenFileName(dataFile)));
        EXPECT_EQ(ReadBytes(app::BrokenFileName(dataFile)), c.bytes);
    } else {
        EXPECT_FALSE(testing_support::FileExists(app::BrokenFileName(dataFile)));
    }
    Stop();
    // What was saved loads without a word.
    reported.clear();
    Start();
    EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsHostileTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.label);
                         });

} // namespace
