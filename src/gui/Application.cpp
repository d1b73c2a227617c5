#include "gui/Application.h"

#include "gui/Error.h"
#include "gui/Timer.h"

#include <algorithm>

namespace gui {

// Posted to the hidden window when reports wait to be shown.
constexpr UINT WM_PENDINGREPORTS = WM_APP + 0x3A1;

class Application::HiddenWindow : public Window {
public:
    explicit HiddenWindow(Application& application) : Window(nullptr), application_(application) {
        SetText(Application::ExeTitle());
        CreateParams params;
        params.className = L"GuiApplication";
        params.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        CreateHandle(params);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_TIMER:
            application_.DispatchTimer(wParam);
            return 0;
        case WM_ACTIVATEAPP:
            application_.NotifyActivateApp(wParam != FALSE);
            return 0;
        case WM_PENDINGREPORTS:
            application_.ReportPending();
            return 0;
        case WM_CLOSE:
            WMClose();
            return 0;
        default:
            return Window::HandleMessage(message, wParam, lParam);
        }
    }

private:
    // Closing the application's window (from the system) ends the program.
    void WMClose() {
        if (HWND main = application_.MainWindow())
            ::PostMessageW(main, WM_CLOSE, 0, 0);
        else
            application_.Terminate();
    }

    Application& application_;
};

Application& Application::Instance() {
    static Application instance;
    return instance;
}

Application::Application() = default;
Application::~Application() = default;

HWND Application::Handle() {
    if (!window_)
        window_ = std::make_unique<HiddenWindow>(*this);
    return window_->Handle();
}

std::wstring Application::ExePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring Application::ExeTitle() {
    std::wstring path = ExePath();
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

int Application::Run() {
    Handle();
    while (!quitSeen_) {
        if (!ProcessMessages())
            break;
        if (!quitSeen_)
            ::WaitMessage();
    }
    return exitCode_;
}

bool Application::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitSeen_ = true;
            exitCode_ = static_cast<int>(msg.wParam);
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    RaiseIdle();
    return true;
}

void Application::RaiseIdle() {
    // A handler may create or free events objects, so walk over a copy and skip
    // objects that have gone meanwhile.
    std::vector<ApplicationEvents*> snapshot = events_;
    for (ApplicationEvents* events : snapshot) {
        if (std::find(events_.begin(), events_.end(), events) == events_.end() || !events->OnIdle)
            continue;
        try {
            events->OnIdle();
        } catch (...) {
            HandleException();
        }
    }
}

void Application::Terminate(int exitCode) {
    exitCode_ = exitCode;
    ::PostQuitMessage(exitCode);
}

void Application::HandleException() { Report(CurrentExceptionMessage()); }

void Application::HandleExceptionLater() {
    pendingReports_.push_back(CurrentExceptionMessage());
    ::PostMessageW(Handle(), WM_PENDINGREPORTS, 0, 0);
}

void Application::ReportPending() {
    std::vector<std::wstring> reports;
    reports.swap(pendingReports_);
    for (const std::wstring& message : reports)
        Report(message);
}

void Application::Report(const std::wstring& message) {
    if (reporter_) {
        reporter_(message);
        return;
    }
    std::wstring title = ExeTitle();
    ::MessageBoxW(mainWindow_, message.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void Application::NotifyActivateApp(bool active) {
    bool wasActive = active_;
    active_ = active;
    if (active || !wasActive)
        return;
    std::vector<ApplicationEvents*> snapshot = events_;
    for (ApplicationEvents* events : snapshot) {
        if (std::find(events_.begin(), events_.end(), events) == events_.end() || !events->OnDeactivate)
            continue;
        try {
            events->OnDeactivate();
        } catch (...) {
            HandleException();
        }
    }
}

void Application::DispatchTimer(UINT_PTR id) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [id](Timer* t) { return t->Id() == id; });
    if (it == timers_.end())
        return;
    try {
        (*it)->Tick();
    } catch (...) {
        HandleException();
    }
}

ApplicationEvents::ApplicationEvents() { Application::Instance().events_.push_back(this); }

ApplicationEvents::~ApplicationEvents() {
    auto& events = Application::Instance().events_;
    events.erase(std::remove(events.begin(), events.end(), this), events.end());
}

// Timer ids are unique for the life of the process, so a late tick of a freed timer
// never reaches a new one.
static UINT_PTR NextTimerId() {
    static UINT_PTR next = 1;
    return next++;
}

Timer::Timer() : id_(NextTimerId()) { Application::Instance().timers_.push_back(this); }

Timer::~Timer() {
    Stop();
    auto& timers = Application::Instance().timers_;
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::SetInterval(UINT milliseconds) {
    interval_ = milliseconds;
    if (running_)
        ::SetTimer(Application::Instance().Handle(), id_, interval_, nullptr);
}

void Timer::Start() {
    ::SetTimer(Application::Instance().Handle(), id_, interval_, nullptr);
    running_ = true;
}

void Timer::Stop() {
    if (!running_)
        return;
    running_ = false;
    ::KillTimer(Application::Instance().Handle(), id_);
}

void Timer::Tick() {
    if (running_ && OnTimer)
        OnTimer();
}

} // namespace gui
