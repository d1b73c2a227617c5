#pragma once
// The application object: a hidden top-level window that owns the taskbar presence,
// the message loop with its idle and deactivate hooks, and the exception reporter.
#include "gui/Window.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gui {

class ApplicationEvents;
class Timer;

class Application {
public:
    static Application& Instance();

    // The hidden top-level window; made on first use.
    HWND Handle();
    // The file name of the running executable without its folder and last extension.
    static std::wstring ExeTitle();
    static std::wstring ExePath();

    // Runs the message loop until Terminate; whenever the queue runs empty the idle
    // hooks run once, then the loop waits for the next message. Returns the exit code.
    int Run();
    void Terminate(int exitCode = 0);
    // Handles the messages that are queued now, then raises idle once (for tests and
    // nested loops). Returns false once a quit message has been seen.
    bool ProcessMessages();
    void RaiseIdle();

    // Reports the exception being handled and returns: a message box with its text,
    // or the reporter set for tests.
    void HandleException();
    void SetReporter(std::function<void(const std::wstring&)> reporter) { reporter_ = std::move(reporter); }
    // As HandleException, but the report is shown once the message being handled has
    // returned: for code called from another party's loop (OLE's drag loop, perhaps in
    // another process), which a message box would hold up.
    void HandleExceptionLater();

    // Called by top-level windows on WM_ACTIVATEAPP; raises the deactivate hooks once
    // when the application loses activation.
    void NotifyActivateApp(bool active);

    // The window used as owner of message boxes.
    void SetMainWindow(HWND window) { mainWindow_ = window; }
    HWND MainWindow() const { return mainWindow_; }

private:
    friend class ApplicationEvents;
    friend class Timer;
    class HiddenWindow;

    Application();
    ~Application();
    void DispatchTimer(UINT_PTR id);
    void Report(const std::wstring& message);
    void ReportPending();

    std::unique_ptr<HiddenWindow> window_;
    std::vector<ApplicationEvents*> events_;
    std::vector<Timer*> timers_;
    std::function<void(const std::wstring&)> reporter_;
    std::vector<std::wstring> pendingReports_;
    HWND mainWindow_ = nullptr;
    bool active_ = true;
    bool quitSeen_ = false;
    int exitCode_ = 0;
};

// A component that receives the application's idle and deactivate events while it lives.
class ApplicationEvents {
public:
    ApplicationEvents();
    ApplicationEvents(const ApplicationEvents&) = delete;
    ApplicationEvents& operator=(const ApplicationEvents&) = delete;
    ~ApplicationEvents();

    std::function<void()> OnIdle;
    std::function<void()> OnDeactivate;
};

} // namespace gui
