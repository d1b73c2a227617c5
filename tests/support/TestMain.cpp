// The main() of every test program: OLE and the common controls once, then GoogleTest,
// with the application's reports failing tests and skipped tests named.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gmock/gmock.h>

#include "support/Reports.h"
#include "support/SkipList.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleMock(&argc, argv);
    testing_support::FailTestsOnReports();
    testing_support::ListSkippedTests();
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
