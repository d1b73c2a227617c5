#pragma once
// Names every skipped test with its reason as it ends, and marks a program whose tests
// were all skipped, so that skips stay visible in brief output and ctest can count a
// wholly skipped program as skipped (the mark below is what it looks for).

namespace testing_support {

// The line a program prints when it ran tests, none failed and all were skipped.
inline constexpr const char* kWholeProgramSkipped = "[  SKIPPED ] every test of this program";

// Adds the listener to GoogleTest's; call after InitGoogleTest.
void ListSkippedTests();

} // namespace testing_support
