#include "support/Reports.h"

#include "gui/Application.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace testing_support {
namespace {

ExpectedReports* innermost = nullptr;

} // namespace

void FailTestsOnReports() {
    gui::Application::Instance().SetReporter([](const std::wstring& message) {
        if (innermost != nullptr) {
            innermost->messages_.push_back(message);
            return;
        }
        ADD_FAILURE() << "the application caught an exception and reported: " << Utf8(message);
    });
}

ExpectedReports::ExpectedReports() : outer_(innermost) {
    innermost = this;
}

ExpectedReports::~ExpectedReports() {
    innermost = outer_;
}

} // namespace testing_support
