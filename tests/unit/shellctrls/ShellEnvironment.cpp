#include "ShellCtrlsTestSupport.h"

#include "shell/ShellModule.h"

namespace testsupport {

void ShellEnvironment::SetUp() {
    module_ = std::make_shared<shell::ShellModule>();
    gui::Application::Instance().SetReporter([](const std::wstring& message) { Reports().push_back(message); });
}

void ShellEnvironment::TearDown() { module_.reset(); }

} // namespace testsupport

[[maybe_unused]] static ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::ShellEnvironment);
