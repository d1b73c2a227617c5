// Opening a panel of frames, each with the expanded desktop as its root: the time until
// the trees are filled and idle, and the memory it takes, for 1 and for 10 frames.
#include "app/MainForm.h"
#include "gui/Application.h"
#include "shell/ShellModule.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include "support/BenchProcess.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// Committed memory of the process (Wine reports no private-bytes figure).
double PrivateMB() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

struct Figures {
    double openMs;
    double heldMB;
};

// One panel, pinned open, with `frames` desktop frames: the time until it is open
// and idle, and the private memory it takes beyond what the process held before.
// Freed memory stays with the process, so after a one-frame panel has been open, a
// one-frame panel shows no growth and a larger one shows what it needs beyond it.
Figures Measure(int frames) {
    PumpUntilIdle();
    double before = PrivateMB();
    double start = NowMs();
    Figures figures{};
    {
        app::TMainForm form; // brings one desktop frame
        form.FormClick();
        form.PinningBtn().Click();
        for (int i = 1; i < frames; ++i)
            form.AddDesktop();
        form.Show();
        PumpUntilIdle();
        figures.openMs = NowMs() - start;
        figures.heldMB = PrivateMB() - before;
    }
    PumpUntilIdle();
    return figures;
}

double Median3(double a, double b, double c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

} // namespace

int main() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    {
        shell::ShellModule shellModule;
        Figures warm = Measure(1); // also warms up the Shell's own caches
        std::printf("first panel with  1 desktop frame : %6.1f ms, %5.1f MB\n", warm.openMs, warm.heldMB);
        Figures ten = Measure(10);
        std::printf("first panel with 10 desktop frames: %6.1f ms, %5.1f MB more than one frame needed\n",
                    ten.openMs, ten.heldMB);
        for (int frames : {1, 10}) {
            Figures a = Measure(frames), b = Measure(frames), c = Measure(frames);
            std::printf("again, %2d desktop frame%s:          %6.1f ms to open and idle (median of 3)\n", frames,
                        frames == 1 ? " " : "s", Median3(a.openMs, b.openMs, c.openMs));
        }
    }
    OleUninitialize();
    return 0;
}
