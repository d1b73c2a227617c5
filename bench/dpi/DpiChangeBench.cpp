// How long the edge window takes to lay itself out again when it lands on a monitor of
// another DPI: WM_DPICHANGED sent to the real window (open and pinned, four frames of
// folder trees) until its layout is done, and until it has painted. Prints figures only.
#include "app/DataFile.h"
#include "app/MainForm.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "shell/ShellModule.h"

#include "support/BenchProcess.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 4;
constexpr int kRounds = 25;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The system's message: the new DPI and the window's bounds scaled by the change.
void SendDpiChanged(app::TMainForm& form, int dpi) {
    RECT now = form.ScreenBounds();
    RECT suggested{now.left, now.top, now.left + ::MulDiv(gui::Width(now), dpi, form.Dpi()),
                   now.top + ::MulDiv(gui::Height(now), dpi, form.Dpi())};
    ::SendMessageW(form.Handle(), gui::kWMDpiChanged, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
}

} // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (FAILED(OleInitialize(nullptr)))
        return 2;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int result = 0;
    {
        shell::ShellModule shellModule;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        std::wstring base =
            std::wstring(temp) + L"kestrav-dpi-bench-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(base.c_str(), nullptr);
        std::wstring dataFile = base + L"\\Kestrav.xml";
        app::SetDataFileName(dataFile);
        gui::Application::Instance().SetReporter(
            [](const std::wstring& text) { std::printf("reported: %ls\n", text.c_str()); });

        auto form = std::make_unique<app::TMainForm>();
        form->FormClick();
        form->PinningBtn().Click();
        while (static_cast<int>(form->OrderedFrames().size()) < kFrames)
            form->AddDesktop();
        PumpUntilIdle();
        const int startDpi = form->Dpi();
        std::printf("edge window: %d frames, pinned open, %d x %d px, at %d dpi\n", kFrames,
                    gui::Width(form->ScreenBounds()), gui::Height(form->ScreenBounds()), startDpi);

        const int steps[] = {120, 144, 192, 96};
        std::vector<double> layout, painted;
        int wrong = 0;
        for (int round = 0; round < kRounds; ++round) {
            for (int dpi : steps) {
                double t0 = NowMs();
                SendDpiChanged(*form, dpi);
                double t1 = NowMs();
                ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                double t2 = NowMs();
                layout.push_back(t1 - t0);
                painted.push_back(t2 - t0);
                if (form->Dpi() != dpi || form->TitlePanel().Dpi() != dpi)
                    ++wrong;
                PumpUntilIdle();
            }
        }
        std::printf("DPI changes (96 -> 120 -> 144 -> 192 -> 96, %d rounds, %zu changes):\n", kRounds,
                    layout.size());
        std::printf("  re-layout (WM_DPICHANGED handled):  median %.2f ms, max %.2f ms\n", Median(layout),
                    *std::max_element(layout.begin(), layout.end()));
        std::printf("  re-layout and one repaint:          median %.2f ms, max %.2f ms\n", Median(painted),
                    *std::max_element(painted.begin(), painted.end()));
        if (wrong != 0) {
            std::printf("  %d changes left the chrome at another DPI\n", wrong);
            result = 1;
        }
        SendDpiChanged(*form, startDpi);
        form.reset();
        DeleteFileW(dataFile.c_str());
        RemoveDirectoryW(base.c_str());
    }
    OleUninitialize();
    return result;
}
