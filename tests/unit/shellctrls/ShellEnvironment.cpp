#include "ShellCtrlsTestSupport.h"

[[maybe_unused]] static ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::ShellEnvironment);
