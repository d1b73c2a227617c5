#include "support/SkipList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace testing_support {
namespace {

class SkipListener : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        const ::testing::TestResult& result = *test.result();
        if (!result.Skipped())
            return;
        std::string reason;
        for (int i = 0; i < result.total_part_count(); ++i) {
            const ::testing::TestPartResult& part = result.GetTestPartResult(i);
            if (part.skipped() && part.message() != nullptr)
                reason = part.message();
        }
        for (char& c : reason)
            if (c == '\n' || c == '\r')
                c = ' ';
        std::printf("[  SKIPPED ] %s.%s%s%s\n", test.test_suite_name(), test.name(),
                    reason.empty() ? "" : ": ", reason.c_str());
        std::fflush(stdout);
    }

    void OnTestIterationEnd(const ::testing::UnitTest& unit, int) override {
        if (unit.Passed() && unit.test_to_run_count() > 0 && unit.successful_test_count() == 0 &&
            unit.skipped_test_count() == unit.test_to_run_count()) {
            std::printf("%s\n", kWholeProgramSkipped);
            std::fflush(stdout);
        }
    }
};

} // namespace

void ListSkippedTests() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new SkipListener);
}

} // namespace testing_support
