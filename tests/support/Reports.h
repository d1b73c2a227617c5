#pragma once
// What the application reports while tests run. An exception that the application
// catches (in a window procedure, a timer, an idle hook or a Shell callback) fails the
// running test at once with the exception's text: a message box would wait for a click
// that never comes under a private display, and the run would hang until its timeout.
#include <string>
#include <vector>

namespace testing_support {

// Makes every report of the application a failure of the running test (or of the
// program, outside a test). The test main sets it once.
void FailTestsOnReports();

// For tests that check what is reported: while one lives, the application's reports are
// collected in it instead of failing the test. Scopes nest; the innermost collects.
class ExpectedReports {
public:
    ExpectedReports();
    ~ExpectedReports();
    ExpectedReports(const ExpectedReports&) = delete;
    ExpectedReports& operator=(const ExpectedReports&) = delete;

    const std::vector<std::wstring>& Messages() const noexcept { return messages_; }
    void Clear() noexcept { messages_.clear(); }

private:
    friend void FailTestsOnReports();
    ExpectedReports* outer_;
    std::vector<std::wstring> messages_;
};

} // namespace testing_support
