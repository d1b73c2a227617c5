#pragma once
// Include once in a test program whose tests use the shell helpers: starts them before
// the first test and shuts them down after the last, as the program entry does.
#include "shell/ShellModule.h"

#include <gtest/gtest.h>

#include <optional>

namespace testing_support {

class ShellModuleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { module_.emplace(); }
    void TearDown() override { module_.reset(); }

private:
    std::optional<shell::ShellModule> module_;
};

inline ::testing::Environment* const kShellModuleEnvironment =
    ::testing::AddGlobalTestEnvironment(new ShellModuleEnvironment);

} // namespace testing_support
