#pragma once
// Ends the fuzzing process with a clear line naming the case when the case crashes
// (an exception nobody handles, a stack overflow, an abort, an uncaught C++ exception)
// or runs longer than its time limit. The line has the form of a case's result line:
//     case 17 seed 0x... FAIL: crashed (exception c0000005)
// and the process ends with exit code 3, so that the runner can go on after it.
#include <windows.h>

#include <cstdint>

namespace fuzz {

constexpr int kCaseFailedExitCode = 3;

// Installs the crash reports and starts the watchdog thread (once).
void StartCaseGuard(DWORD caseLimitMs);
// The case now running; none between cases.
void BeginCase(int number, uint64_t seed);
void EndCase();

} // namespace fuzz
