// Endurance run: eight chained Kestrav.exe processes at the left edge, driven for some
// minutes through Win32 alone as a user would drive them (hovering, clicking open,
// re-docking to other edges and back, adding and closing frames, killing and
// restarting). Prints per-instance figures at the start and the end, and fails on a
// crash, a hang or a gap in the chain. Usage: bench_endurance [minutes]
#include <windows.h>
#include <psapi.h>

#include "Input.h"
#include "KestravProcess.h"
#include "Screen.h"
#include "support/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr int InstanceCount = 8;
constexpr int StripThickness = 4;
// Generous: the machine may be busy, and a slow step is not a fault; a missed one is reported.
constexpr DWORD WaitMs = 8000;
// Slots from this one on are killed and restarted; the others live through the whole run,
// so their start and end figures show whether anything grows.
constexpr int FirstRestartedSlot = 6;

enum Edge { edgeTop = 1, edgeBottom = 2, edgeLeft = 3, edgeRight = 4 };

RECT Work() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

POINT Away() {
    return {(Work().left + Work().right) / 2, (Work().top + Work().bottom) / 2};
}

int EdgeOf(HWND window) {
    return static_cast<int>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The window's extent away from its edge.
int Thickness(HWND window) {
    RECT r = WindowBounds(window);
    int edge = EdgeOf(window);
    return edge == edgeTop || edge == edgeBottom ? r.bottom - r.top : r.right - r.left;
}

bool Expanded(HWND window) {
    return Thickness(window) >= 100;
}
bool Collapsed(HWND window) {
    return Thickness(window) <= 32;
}

// A point on the window's strip, near its edge.
POINT OnStrip(HWND window) {
    RECT r = WindowBounds(window);
    switch (EdgeOf(window)) {
    case edgeTop:
        return {(r.left + r.right) / 2, r.top + 1};
    case edgeBottom:
        return {(r.left + r.right) / 2, r.bottom - 2};
    case edgeRight:
        return {r.right - 2, (r.top + r.bottom) / 2};
    default:
        return {r.left + 1, (r.top + r.bottom) / 2};
    }
}

// A point on the open panel's title bar, which lies along the edge.
POINT OnTitleBar(HWND window) {
    RECT r = WindowBounds(window);
    switch (EdgeOf(window)) {
    case edgeTop:
        return {(r.left + r.right) / 2, r.top + 12};
    case edgeBottom:
        return {(r.left + r.right) / 2, r.bottom - 12};
    case edgeRight:
        return {r.right - 12, (r.top + r.bottom) / 2};
    default:
        return {r.left + 12, (r.top + r.bottom) / 2};
    }
}

// A point in the band along an edge where a dragged title bar docks the window.
POINT DockingBand(int edge) {
    RECT w = Work();
    switch (edge) {
    case edgeTop:
        return {(w.left + w.right) / 2, w.top + 5};
    case edgeBottom:
        return {(w.left + w.right) / 2, w.bottom - 5};
    case edgeRight:
        return {w.right - 5, (w.top + w.bottom) / 2};
    default:
        return {w.left + 5, (w.top + w.bottom) / 2};
    }
}

struct Figures {
    DWORD gdi = 0, user = 0, handles = 0;
    double workingSetMB = 0;
    int windows = 0; // the program's own windows, top-level and child
};

int WindowCountOf(DWORD pid) {
    struct Count {
        DWORD pid;
        int n;
    } count{pid, 0};
    EnumWindows(
        [](HWND wnd, LPARAM p) -> BOOL {
            auto* c = reinterpret_cast<Count*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            if (owner != c->pid)
                return TRUE;
            ++c->n;
            EnumChildWindows(
                wnd, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<int*>(q), TRUE; },
                reinterpret_cast<LPARAM>(&c->n));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.n;
}

Figures Measure(DWORD pid) {
    Figures f;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr)
        return f;
    f.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    f.user = GetGuiResources(process, GR_USEROBJECTS);
    GetProcessHandleCount(process, &f.handles);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(process, &counters, sizeof(counters)))
        f.workingSetMB = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    CloseHandle(process);
    f.windows = WindowCountOf(pid);
    return f;
}

struct Slot {
    std::unique_ptr<KestravProcess> process;
    Figures start, end;
    int restarts = 0;
    int crashes = 0;
};

class Run {
public:
    explicit Run(double minutes) : minutes_(minutes) {}
    int Go();

private:
    HWND Window(int i) const { return slots_[i].process->Window(); }
    void Start(int i);
    bool Settle(); // the pointer away, every window collapsed and the chains closed
    void Miss(const char* what, int i);
    bool CheckAlive();
    void Hover(int i);
    void ClickOpen(int i);
    void Redock(int i, int edge);
    void AddAndCloseFrame(int i);
    void KillAndRestart(int i);
    void CloseAndRestart(int i);

    double minutes_;
    Slot slots_[InstanceCount];
    std::map<std::string, int> actions_;
    int misses_ = 0;
    int hangs_ = 0;
};

void Run::Start(int i) {
    slots_[i].process = std::make_unique<KestravProcess>();
    if (Window(i) == nullptr)
        Miss("start", i);
}

void Run::Miss(const char* what, int i) {
    ++misses_;
    std::printf("  miss: %s of instance %d did not complete in time", what, i);
    if (i >= 0 && slots_[i].process && Window(i) != nullptr) {
        RECT r = WindowBounds(Window(i));
        std::printf(" (edge %d, bounds %ld,%ld-%ld,%ld)", EdgeOf(Window(i)), r.left, r.top, r.right,
                    r.bottom);
    }
    std::printf("\n");
    std::fflush(stdout);
}

// Each edge's windows, collapsed, lie one after another from the work area's corner,
// each spanning the whole edge: no gap, no overlap.
bool ChainsClosed(std::string* report) {
    std::map<int, std::vector<RECT>> byEdge;
    EnumWindows(
        [](HWND wnd, LPARAM p) -> BOOL {
            wchar_t cls[64] = {}, text[64] = {};
            GetClassNameW(wnd, cls, 64);
            GetWindowTextW(wnd, text, 64);
            if (std::wstring(cls) == L"TMainForm" && std::wstring(text) == L"Kestrav" && IsWindowVisible(wnd))
                (*reinterpret_cast<std::map<int, std::vector<RECT>>*>(p))[EdgeOf(wnd)].push_back(
                    WindowBounds(wnd));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&byEdge));
    RECT w = Work();
    bool closed = true;
    std::string text;
    for (auto& [edge, rects] : byEdge) {
        bool vertical = edge == edgeLeft || edge == edgeRight;
        // The offset of each strip from its edge, and whether it spans the edge.
        std::vector<int> offsets;
        bool spans = true;
        for (const RECT& r : rects) {
            switch (edge) {
            case edgeTop:
                offsets.push_back(r.top - w.top);
                break;
            case edgeBottom:
                offsets.push_back(w.bottom - r.bottom);
                break;
            case edgeRight:
                offsets.push_back(w.right - r.right);
                break;
            default:
                offsets.push_back(r.left - w.left);
                break;
            }
            int thickness = vertical ? r.right - r.left : r.bottom - r.top;
            spans =
                spans && thickness == StripThickness &&
                (vertical ? r.top == w.top && r.bottom == w.bottom : r.left == w.left && r.right == w.right);
        }
        std::sort(offsets.begin(), offsets.end());
        bool contiguous = true;
        for (size_t k = 0; k < offsets.size(); ++k)
            contiguous = contiguous && offsets[k] == static_cast<int>(k) * StripThickness;
        char line[256];
        std::snprintf(line, sizeof line, "    edge %d: %zu windows, bounds", edge, rects.size());
        text += line;
        for (const RECT& r : rects) {
            std::snprintf(line, sizeof line, " (%ld,%ld-%ld,%ld)", r.left, r.top, r.right, r.bottom);
            text += line;
        }
        std::snprintf(line, sizeof line, "; offsets");
        text += line;
        for (int o : offsets) {
            std::snprintf(line, sizeof line, " %d", o);
            text += line;
        }
        text += contiguous && spans ? "  (closed)\n" : "  (GAP OR OVERLAP)\n";
        closed = closed && contiguous && spans && edge >= edgeTop && edge <= edgeRight;
    }
    if (report != nullptr)
        *report = text;
    return closed;
}

bool Run::Settle() {
    MoveTo(Away());
    bool settled = WaitFor(
        [&] {
            for (int i = 0; i < InstanceCount; ++i)
                if (slots_[i].process->Running() && Window(i) != nullptr && !Collapsed(Window(i)))
                    return false;
            return ChainsClosed(nullptr);
        },
        10000);
    if (!settled)
        Miss("settling", -1);
    return settled;
}

// A crash is a process that ended without being asked; a hang is a window that does not
// answer a message within 5 s. Either is counted, and the instance is started again.
bool Run::CheckAlive() {
    bool fine = true;
    for (int i = 0; i < InstanceCount; ++i) {
        Slot& s = slots_[i];
        if (!s.process->Running()) {
            std::printf("  CRASH: instance %d (process %lu) ended by itself\n", i, s.process->ProcessId());
            ++s.crashes;
            fine = false;
            Start(i);
            continue;
        }
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(Window(i), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
            std::printf("  HANG: instance %d (process %lu) does not answer\n", i, s.process->ProcessId());
            ++hangs_;
            fine = false;
        }
    }
    return fine;
}

void Run::Hover(int i) {
    ++actions_["hover"];
    MoveTo(OnStrip(Window(i)));
    if (!WaitFor([&] { return Expanded(Window(i)); }, WaitMs))
        Miss("opening on hover", i);
    Sleep(200);
    MoveTo(Away());
    if (!WaitFor([&] { return Collapsed(Window(i)); }, WaitMs))
        Miss("collapsing", i);
}

void Run::ClickOpen(int i) {
    ++actions_["click open"];
    ClickAt(OnStrip(Window(i)));
    if (!WaitFor([&] { return Expanded(Window(i)); }, WaitMs))
        Miss("opening on click", i);
    Sleep(200);
    MoveTo(Away());
    if (!WaitFor([&] { return Collapsed(Window(i)); }, WaitMs))
        Miss("collapsing", i);
}

// Opens the window and drags its title bar into another edge's band.
void Run::Redock(int i, int edge) {
    ++actions_["re-dock"];
    HWND w = Window(i);
    ClickAt(OnStrip(w));
    if (!WaitFor([&] { return Expanded(w); }, WaitMs)) {
        Miss("opening to re-dock", i);
        return;
    }
    Sleep(300); // the title bar is laid out
    DragTo(OnTitleBar(w), DockingBand(edge));
    if (!WaitFor([&] { return EdgeOf(w) == edge && Expanded(w); }, WaitMs))
        Miss("re-docking", i);
    MoveTo(Away());
    if (!WaitFor([&] { return Collapsed(w); }, WaitMs))
        Miss("collapsing after re-docking", i);
}

// Opens the window, adds a frame by a double click on the empty area after the frames,
// and closes that frame with its caption bar's close button.
void Run::AddAndCloseFrame(int i) {
    ++actions_["add and close a frame"];
    HWND w = Window(i);
    ClickAt(OnStrip(w));
    if (!WaitFor([&] { return Expanded(w); }, WaitMs)) {
        Miss("opening to add a frame", i);
        return;
    }
    Sleep(300);
    std::vector<HWND> before = FramesOf(w);
    RECT panel = WindowBounds(w);
    bool row = EdgeOf(w) == edgeTop || EdgeOf(w) == edgeBottom;
    POINT empty{};
    if (before.empty()) {
        empty = {(panel.left + panel.right) / 2, (panel.top + panel.bottom) / 2};
    } else {
        RECT last = WindowBounds(before.back());
        empty = row ? POINT{last.right + 20, (last.top + last.bottom) / 2}
                    : POINT{(last.left + last.right) / 2, last.bottom + 20};
    }
    if (!PtInRect(&panel, empty)) {
        ++actions_["(no room for another frame)"];
    } else {
        ClickAt(empty, 2);
        if (!WaitFor([&] { return FramesOf(w).size() == before.size() + 1; }, WaitMs)) {
            Miss("adding a frame", i);
        } else {
            std::vector<HWND> after = FramesOf(w);
            HWND added = nullptr;
            for (HWND f : after)
                if (std::find(before.begin(), before.end(), f) == before.end())
                    added = f;
            RECT r = WindowBounds(added);
            // The caption bar runs across the top of a frame in a column, along the left
            // side of a frame in a row; its close button sits at its far end.
            ClickAt(row ? POINT{r.left + 12, r.top + 12} : POINT{r.right - 12, r.top + 12});
            if (!WaitFor([&] { return !IsWindow(added); }, WaitMs))
                Miss("closing the added frame", i);
        }
    }
    MoveTo(Away());
    if (!WaitFor([&] { return Collapsed(w); }, WaitMs))
        Miss("collapsing after the frames", i);
}

void Run::KillAndRestart(int i) {
    ++actions_["kill and restart"];
    slots_[i].process->Kill();
    // The neighbours notice at their next layout tick and close the gap.
    Settle();
    Start(i);
    ++slots_[i].restarts;
}

void Run::CloseAndRestart(int i) {
    ++actions_["close and restart"];
    if (slots_[i].process->Close() != 0)
        Miss("closing", i);
    Settle();
    Start(i);
    ++slots_[i].restarts;
}

void PrintFigures(const char* title, const Slot (&slots)[InstanceCount], bool end) {
    std::printf("%s\n", title);
    std::printf("  instance  GDI  USER  handles  windows  working set   restarts\n");
    for (int i = 0; i < InstanceCount; ++i) {
        const Figures& f = end ? slots[i].end : slots[i].start;
        std::printf("  %8d  %3lu  %4lu  %7lu  %7d  %8.1f MB   %d\n", i, f.gdi, f.user, f.handles, f.windows,
                    f.workingSetMB, end ? slots[i].restarts : 0);
    }
}

int Run::Go() {
    MoveTo(Away());
    double t0 = NowMs();
    for (int i = 0; i < InstanceCount; ++i)
        Start(i);
    if (!Settle()) {
        std::string report;
        ChainsClosed(&report);
        std::printf("the chain never formed:\n%s", report.c_str());
        return 1;
    }
    // Each window opens once before the first figures: its panel, frames and trees are
    // created then, and from there on nothing should grow.
    for (int i = 0; i < InstanceCount; ++i)
        Hover(i);
    Settle();
    Sleep(500);
    for (int i = 0; i < InstanceCount; ++i)
        slots_[i].start = Measure(slots_[i].process->ProcessId());
    PrintFigures("start (after each window opened once):", slots_, false);
    std::fflush(stdout);

    const int edges[] = {edgeTop, edgeRight, edgeBottom};
    int step = 0;
    while (NowMs() - t0 < minutes_ * 60000.0) {
        // Five kinds of action over eight instances: every kind comes early, and in 40
        // steps every instance has had every kind.
        int i = step % InstanceCount;
        switch (step % 5) {
        case 0:
            Hover(i);
            break;
        case 1:
            if (i >= FirstRestartedSlot)
                i % 2 == 0 ? KillAndRestart(i) : CloseAndRestart(i);
            else
                Hover(i);
            break;
        case 2:
            ClickOpen(i);
            break;
        case 3:
            AddAndCloseFrame(i);
            break;
        case 4:
            Redock(i, edges[(step / 5) % 3]);
            Redock(i, edgeLeft);
            break;
        }
        Settle();
        CheckAlive();
        ++step;
        if (step % InstanceCount == 0) {
            // The long-lived instances' working sets along the way tell a climb from a
            // step that levels off, which the start and end figures alone cannot.
            std::printf("  %.1f min: %d steps; working set", (NowMs() - t0) / 60000.0, step);
            for (int k = 0; k < FirstRestartedSlot; ++k)
                std::printf(" %.1f", Measure(slots_[k].process->ProcessId()).workingSetMB);
            std::printf(" MB\n");
            std::fflush(stdout);
        }
    }

    bool alive = CheckAlive();
    Settle();
    Sleep(500);
    for (int i = 0; i < InstanceCount; ++i)
        slots_[i].end = Measure(slots_[i].process->ProcessId());
    std::string report;
    bool closed = ChainsClosed(&report);
    PrintFigures("end:", slots_, true);

    std::printf("steps: %d in %.1f min;", step, (NowMs() - t0) / 60000.0);
    for (const auto& [name, count] : actions_)
        std::printf(" %s %d,", name.c_str(), count);
    int crashes = 0;
    for (const Slot& s : slots_)
        crashes += s.crashes;
    std::printf(" crashes %d, hangs %d, missed waits %d\n", crashes, hangs_, misses_);
    std::printf("working set of the instances never restarted (start -> end):");
    for (int i = 0; i < FirstRestartedSlot; ++i)
        std::printf(" %.1f->%.1f", slots_[i].start.workingSetMB, slots_[i].end.workingSetMB);
    std::printf(" MB\nchains at the end:\n%s", report.c_str());
    std::printf("result: %s\n", alive && crashes == 0 && hangs_ == 0 && closed
                                    ? "no crash, no hang, chains closed"
                                    : "FAILED");

    for (int i = 0; i < InstanceCount; ++i)
        slots_[i].process->Close();
    return alive && crashes == 0 && hangs_ == 0 && closed ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    double minutes = argc > 1 ? std::atof(argv[1]) : 3.0;
    if (minutes <= 0)
        minutes = 3.0;
    std::setvbuf(stdout, nullptr, _IOLBF, 4096);
    std::printf("endurance: %d instances for %.1f minutes\n", InstanceCount, minutes);
    return Run(minutes).Go();
}
