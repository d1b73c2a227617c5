// Program entry: the application object, the edge window, then the message loop.
#include "app/DataFile.h"
#include "app/MainForm.h"
#include "app/OptionsDialog.h"
#include "gui/Application.h"
#include "shell/ShellModule.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The data file's path (and its folders) exist before any window.
    app::DataFileName();

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    gui::Application& application = gui::Application::Instance();
    HWND applicationWindow = application.Handle();

    int exitCode = 0;
    try {
        // OLE and the desktop folder, before any window and after the last one.
        shell::ShellModule shellModule;
        app::TMainForm mainForm;
        std::unique_ptr<app::IOptionsDialog> optionsDialog = app::CreateOptionsDialog(mainForm);
        mainForm.OnOptionsRequested = [&optionsDialog] { optionsDialog->Execute(); };
        // No taskbar button and no Alt+Tab entry: the application's window owns both
        // and stays hidden.
        ::ShowWindow(applicationWindow, SW_HIDE);
        ::SetWindowLongPtrW(applicationWindow, GWL_EXSTYLE,
                            ::GetWindowLongPtrW(applicationWindow, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
        mainForm.Show();
        exitCode = application.Run();
    } catch (...) {
        application.HandleException();
        exitCode = 1;
    }
    return exitCode;
}
