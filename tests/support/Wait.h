#pragma once
// Bounded waits on a state that something else (another process, the system) brings
// about. Tests of windows in their own process pump instead (Pump.h's PumpUntil).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace testing_support {

// Polls the condition until it holds or the time runs out; answers the condition.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// The same, failing with what was awaited and how long:
//   ASSERT_TRUE(WaitUntil("the panel is open", [&] { ... }));
// `detail`, when given, describes the state seen last (say, the bounds found instead).
::testing::AssertionResult WaitUntil(const std::string& what, const std::function<bool()>& condition,
                                     DWORD timeoutMs = 5000, const std::function<std::string()>& detail = {});

} // namespace testing_support
