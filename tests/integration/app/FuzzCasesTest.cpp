// Data files that once made the edge window fail (found by tools/fuzz): each loads
// with at most one message, saves without one, keeps the unreadable bytes beside, and
// what was saved loads again without a word.
#include "SettingsFixture.h"

#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

using namespace settings_test;
using testing_support::ReadBytes;
using testing_support::Utf8;
using testing_support::WriteBytes;

namespace {

// Ends the test program with a failure when a step that circles for ever has not ended
// in time, instead of leaving the run to hang until its outer timeout.
class Deadline {
public:
    Deadline(const char* what, DWORD ms)
        : watch_([this, what, ms] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!ended_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return done_; })) {
                  std::fprintf(stderr, "FAILED: %s did not end within %lu ms\n", what, ms);
                  std::fflush(stderr);
                  ::TerminateProcess(::GetCurrentProcess(), 1);
              }
          }) {}
    ~Deadline() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        ended_.notify_one();
        watch_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread watch_;
};

// As the options dialog saves: an error is reported, not raised further.
void SaveEverything(app::TMainForm& form) {
    Deadline deadline("saving", 60000);
    try {
        form.SetModifies(app::AllChangeParts);
        form.SaveSettings(app::AllChangeParts);
    } catch (...) {
        gui::Application::Instance().HandleException();
    }
}

struct Case {
    const char* label;
    std::string bytes;
    std::optional<bool> message; // the load reports one, none, or either (nothing)
    std::function<void(app::TMainForm&, const std::string& saved)> check;
};

std::vector<Case> Cases() {
    return {
        // A node where a value belongs made every later save fail, the options dialog's
        // too: the save wrote into what was read of the old document.
        {"NodeWhereAValueBelongs",
         kDataFileHead +
             "<Configuration><ColorShift><Id.1><Id.1>0</Id.1></Id.1></ColorShift>"
             "<ExpandWidth>333</ExpandWidth></Configuration>" +
             kDataFileTail,
         true,
         [](app::TMainForm& form, const std::string& saved) {
             EXPECT_TRUE(form.ColorShift()); // the default for what could not be read
             EXPECT_EQ(form.ExpandWidth(), 333);
             EXPECT_NE(saved.find("<ColorShift>-1</ColorShift>"), std::string::npos) << saved;
         }},
        // One folder twice among a frame's roots: saving walked the tree by item, always
        // found the item at its first place, and circled for ever.
        {"OneFolderTwiceInAFrame",
         kDataFileHead +
             "<Snapshot><Frames><Id.0><Tree><Roots><No.0><Path>rfDesktop</Path></No.0><No.1><Path>rfDesktop"
             "</Path></No.1></Roots></Tree></Id.0></Frames></Snapshot>" +
             kDataFileTail,
         false,
         [](app::TMainForm& form, const std::string& saved) {
             EXPECT_EQ(form.OrderedFrames().at(0)->NameSpaceTree().Roots().Count(), 2);
             EXPECT_NE(saved.find("<No.1>"), std::string::npos) << saved;
         }},
        // Every style bit set: a system whose tree refuses such styles left the window
        // without any frame, at every start, since the save kept the styles.
        {"StylesTheTreeMayRefuse",
         kDataFileHead + "<Configuration><DefaultStyles>2147483647</DefaultStyles></Configuration>" +
             kDataFileTail,
         std::nullopt,
         [](app::TMainForm& form, const std::string&) { EXPECT_EQ(form.OrderedFrames().size(), 1u); }},
        // A default namespace on a value stopped every save with "out of memory" where
        // the document library counts the declaration but cannot hand it out.
        {"DefaultNamespaceOnAValue",
         kDataFileHead +
             "<Configuration><Maintains>14</Maintains><ExpandWidth xmlns=\"urn:x\">420</ExpandWidth>"
             "</Configuration>" +
             kDataFileTail,
         false,
         [](app::TMainForm& form, const std::string& saved) {
             EXPECT_EQ(form.ExpandWidth(), 420);
             EXPECT_NE(saved.find("<ExpandWidth xmlns=\"urn:x\">420</ExpandWidth>"), std::string::npos)
                 << saved;
         }},
    };
}

class FuzzCasesTest : public SettingsFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(FuzzCasesTest, LoadsSavesAndLoadsAgain) {
    const Case& c = GetParam();
    DeleteFileW(app::BrokenFileName(dataFile).c_str());
    WriteBytes(dataFile, c.bytes);
    Start();
    if (c.message) {
        EXPECT_EQ(reported.size(), *c.message ? 1u : 0u) << (reported.empty() ? "" : Utf8(reported[0]));
    }
    EXPECT_LE(reported.size(), 1u);
    const bool loadReported = !reported.empty();
    EXPECT_EQ(ReadBytes(dataFile), c.bytes) << "changed without a save";
    reported.clear();
    SaveEverything(*form);
    EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
    const std::string saved = ReadBytes(dataFile);
    c.check(*form, saved);
    Stop();
    if (loadReported) {
        EXPECT_EQ(ReadBytes(app::BrokenFileName(dataFile)), c.bytes);
    } else {
        EXPECT_FALSE(testing_support::FileExists(app::BrokenFileName(dataFile)));
    }

    reported.clear();
    Start();
    EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : Utf8(reported[0]));
}

INSTANTIATE_TEST_SUITE_P(Files, FuzzCasesTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.label);
                         });

// A save whose file cannot be written ended the program (the error left a destructor
// that may not raise); now it is reported and the window lives on.
TEST_F(SettingsFixture, ASaveThatCannotWriteIsReportedAndTheWindowLivesOn) {
    WriteBytes(dataFile, kDataFileHead + "<Configuration><ExpandWidth>350</ExpandWidth></Configuration>" +
                             kDataFileTail);
    Start();
    ASSERT_TRUE(reported.empty());
    ASSERT_TRUE(SetFileAttributesW(dataFile.c_str(), FILE_ATTRIBUTE_READONLY));
    SaveEverything(*form);
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_TRUE(IsWindow(form->Handle()));
    EXPECT_EQ(ReadBytes(dataFile), kDataFileHead +
                                       "<Configuration><ExpandWidth>350</ExpandWidth></Configuration>" +
                                       kDataFileTail);
    SetFileAttributesW(dataFile.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
