// Not part of the suite: shows the control with three roots (the desktop expanded, a
// temporary folder, a drive) in a top-level window for a few seconds, so that a
// screenshot of the display can be taken. Run with
//   integration_shellctrls.exe --gtest_also_run_disabled_tests --gtest_filter=*Screenshot*
#include "unit/shellctrls/ShellCtrlsTestSupport.h"
#include "shellctrls/NameSpaceTreeControl.h"
#include "support/Pump.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace shellctrls;

TEST(TreeControlScreenshot, DISABLED_ShowsThreeRoots) {
    testing_support::TempFolder folder;
    for (const wchar_t* name : {L"Projects\\kestrav", L"Projects\\notes", L"Photos", L"Music"})
        folder.MakeFolder(name);
    folder.MakeFile(L"readme.txt");

    testsupport::HostWindow host(360, 560, true);
    host.SetText(L"TNameSpaceTreeControl");
    TNameSpaceTreeControl tree(host);
    tree.SetAlign(gui::alClient);
    tree.SetStyles({nstcsHasExpandos, nstcsHasLines, nstcsShowSelectionAlways});
    const TShellContactFilters filters{shcontfFolders, shcontfNonFolders};
    TNamespaceTreeRoot& desktop = tree.Roots().Add();
    desktop.SetStyles({nstcrsExpanded});
    desktop.SetFilters(filters);
    desktop.SetPath(L"rfDesktop");
    TNamespaceTreeRoot& temporary = tree.Roots().Add();
    temporary.SetFilters(filters);
    temporary.SetPath(folder.Path());
    TNamespaceTreeRoot& drive = tree.Roots().Add();
    drive.SetFilters({shcontfFolders});
    drive.SetPath(L"C:");
    tree.CreateHandle();
    host.Realign();
    ASSERT_TRUE(tree.Actuated());
    tree.SetItemState(temporary.SHItem(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
    tree.SetItemState(temporary.SHItem(), NSTCIS_SELECTED, NSTCIS_SELECTED);
    ::SetForegroundWindow(host.Handle());
    tree.SetFocus();

    DWORD end = ::GetTickCount() + 8000;
    while (::GetTickCount() < end) {
        testing_support::PumpUntilIdle();
        ::Sleep(20);
    }
}
