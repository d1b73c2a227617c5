#pragma once
// Helpers for tests with real windows: pumping messages until the queue is idle.
#include <windows.h>
#include <functional>

namespace testing_support {

// Dispatches every queued message (posted ones included) until none is left, at most
// for `limitMs` milliseconds; raises the application's idle hooks once at the end.
void PumpUntilIdle(DWORD limitMs = 2000);

// Pumps until the condition holds or the time runs out; answers the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = 5000);

} // namespace testing_support
