// Figures for the namespace tree control with the platform's Shell tree:
//  - creating the control with 20 roots (each a folder of 10 sub-folders) and showing it;
//  - expanding and then selecting 200 items one after another (200 sub-folders of one root);
//  - the cost of one root besides its place in the tree: its hidden window and its
//    change-notification registration (private bytes, USER objects and time, over 500 roots).
// Times are the median and the best of several runs.
#include "gui/Window.h"
#include "shell/ShellModule.h"
#include "shellctrls/NameSpaceTreeControl.h"

#include <windows.h>
// The kernel32 form of the memory counters; the bench needs no psapi import library.
#define PSAPI_VERSION 2
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace shellctrls;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> times, int items = 0) {
    std::sort(times.begin(), times.end());
    double median = times[times.size() / 2];
    std::printf("%-52s median %8.2f ms   best %8.2f ms", what, median, times.front());
    if (items > 0)
        std::printf("   (%.3f ms per item)", median / items);
    std::printf("\n");
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class Host : public gui::Window {
public:
    Host() : gui::Window(nullptr) {
        SetBounds(gui::MakeRect(20, 20, 360, 600));
        CreateSpec spec;
        spec.className = L"ShellCtrlsBenchHost";
        spec.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        CreateHandle(spec);
        Show();
    }
};

std::wstring TempBase() {
    wchar_t temp[MAX_PATH];
    DWORD length = ::GetTempPathW(MAX_PATH, temp);
    std::wstring base(temp, length);
    wchar_t longBase[MAX_PATH];
    if (::GetLongPathNameW(base.c_str(), longBase, MAX_PATH) != 0)
        base = longBase;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    return base + L"\\kestrav-shellctrls-bench-" + std::to_wstring(::GetCurrentProcessId());
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}

std::wstring FolderPath(const std::wstring& base, int index) { return base + L"\\folder" + std::to_wstring(1000 + index); }

const TShellContactFilters kFilters{shcontfFolders, shcontfNonFolders};

void CreateWithTwentyRoots(const std::wstring& base) {
    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        double start = NowMs();
        Host host;
        TNameSpaceTreeControl tree(host);
        tree.SetAlign(gui::alClient);
        for (int i = 0; i < 20; ++i) {
            TNamespaceTreeRoot& root = tree.Roots().Add();
            root.SetFilters(kFilters);
            root.SetPath(FolderPath(base, i));
        }
        tree.CreateHandle();
        host.Realign();
        ::UpdateWindow(host.Handle());
        Pump();
        times.push_back(NowMs() - start);
        if (!tree.Actuated() || tree.Roots()[19].SHItem() == nullptr)
            std::printf("  (the tree did not take every root)\n");
    }
    Report("create control with 20 roots and show it", times);
}

void ExpandAndSelect(const std::wstring& base) {
    std::wstring big = base + L"\\big";
    Host host;
    TNameSpaceTreeControl tree(host);
    tree.SetAlign(gui::alClient);
    TNamespaceTreeRoot& root = tree.Roots().Add();
    root.SetFilters(kFilters);
    root.SetPath(big);
    tree.CreateHandle();
    host.Realign();
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        tree.RecreateHandle();
        tree.SetItemState(root.SHItem(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
        std::vector<Microsoft::WRL::ComPtr<IShellItem>> items;
        Microsoft::WRL::ComPtr<IShellItem> item;
        tree.GetNextItem(root.SHItem(), NSTCGNI_CHILD, &item);
        while (item) {
            items.push_back(item);
            Microsoft::WRL::ComPtr<IShellItem> next;
            tree.GetNextItem(item.Get(), NSTCGNI_NEXT, &next);
            item = next;
        }
        if (items.size() != 200)
            std::printf("  (the root shows %zu items, not 200)\n", items.size());
        double start = NowMs();
        double te = 0, ts = 0, tv = 0, tp = 0;
        int n = 0;
        for (auto& each : items) {
            double a = NowMs();
            tree.SetItemState(each.Get(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
            double b = NowMs();
            tree.SetItemState(each.Get(), NSTCIS_SELECTED, NSTCIS_SELECTED);
            double c = NowMs();
            tree.EnsureItemVisible(each.Get());
            double d = NowMs();
            Pump();
            double e = NowMs();
            te += b - a; ts += c - b; tv += d - c; tp += e - d;
            if (++n == 20) break;
        }
        std::printf("expand %.1f select %.1f visible %.1f pump %.1f\n", te / n, ts / n, tv / n, tp / n);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
        std::printf("private %zu ws %zu pagefile %zu\n", (size_t)counters.PrivateUsage, (size_t)counters.WorkingSetSize, (size_t)counters.PagefileUsage);
        break;
        times.push_back(NowMs() - start);
    }
    Report("expand and select 200 items one after another", times, 200);
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters));
    return counters.PrivateUsage;
}

void MemoryPerRoot(const std::wstring& base) {
    constexpr int kRoots = 500;
    Host host;
    // Without a window there is no tree: what is measured is the root itself, its
    // hidden window and its registration.
    TNameSpaceTreeControl tree(host);
    {
        // Warm up the window class, the message registration and the Shell's parsing.
        TNamespaceTreeRoot& warm = tree.Roots().Add();
        warm.SetPath(FolderPath(base, 0));
        tree.Roots().Clear();
    }
    SIZE_T bytesBefore = PrivateBytes();
    DWORD userBefore = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    double start = NowMs();
    int registered = 0;
    for (int i = 0; i < kRoots; ++i) {
        TNamespaceTreeRoot& root = tree.Roots().Add();
        root.SetPath(FolderPath(base, i % 20));
        registered += root.RegistID() != 0 ? 1 : 0;
    }
    double elapsed = NowMs() - start;
    SIZE_T bytesAfter = PrivateBytes();
    DWORD userAfter = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    start = NowMs();
    tree.Roots().Clear();
    double freed = NowMs() - start;
    std::printf("%-52s %8.1f KB   %.2f USER objects   %.3f ms to add, %.3f ms to free   (%d of %d registered)\n",
                "per root: hidden window + notification registration",
                static_cast<double>(bytesAfter - bytesBefore) / 1024.0 / kRoots,
                static_cast<double>(userAfter - userBefore) / kRoots, elapsed / kRoots, freed / kRoots, registered,
                kRoots);
}

} // namespace

int main() {
    shell::ShellModule shellModule;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    std::wstring base = TempBase();
    RemoveTree(base);
    ::CreateDirectoryW(base.c_str(), nullptr);
    for (int i = 0; i < 20; ++i) {
        std::wstring folder = FolderPath(base, i);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        for (int j = 0; j < 10; ++j)
            ::CreateDirectoryW((folder + L"\\sub" + std::to_wstring(j)).c_str(), nullptr);
    }
    std::wstring big = base + L"\\big";
    ::CreateDirectoryW(big.c_str(), nullptr);
    for (int i = 0; i < 200; ++i) {
        std::wstring folder = FolderPath(big, i);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ::CreateDirectoryW((folder + L"\\inner").c_str(), nullptr);
    }

    ExpandAndSelect(base);

    RemoveTree(base);
    return 0;
}
