#include "support/Wait.h"

namespace testing_support {

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return condition();
        ::Sleep(10);
    }
}

::testing::AssertionResult WaitUntil(const std::string& what, const std::function<bool()>& condition,
                                     DWORD timeoutMs, const std::function<std::string()>& detail) {
    if (WaitFor(condition, timeoutMs))
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "waited " << timeoutMs << " ms for " << what << " in vain";
    if (detail)
        failure << "; " << detail();
    return failure;
}

} // namespace testing_support
