// Figures for the namespace tree control with the platform's Shell tree:
//  - creating the control with 20 roots (each a folder of 10 sub-folders) and showing it;
//  - expanding and then selecting 200 items one after another (200 sub-folders of one
//    root), through the control and, for comparison, on the platform's tree alone;
//  - the cost of one message to the subclassed tree view;
//  - the cost of one root besides its place in the tree: its hidden window and its
//    change-notification registration (committed memory, USER objects and time, over
//    500 roots).
// Times are the median and the best of several runs.
#include "gui/Window.h"
#include "shell/RootDesignation.h"
#include "shell/ShellModule.h"
#include "shellctrls/NameSpaceTreeControl.h"

#include <windows.h>

#include "support/BenchClock.h"
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
        CreateParams params;
        params.className = L"ShellCtrlsBenchHost";
        params.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        CreateHandle(params);
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

std::wstring FolderPath(const std::wstring& base, int index) {
    return base + L"\\folder" + std::to_wstring(1000 + index);
}

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

// The items below a root of a live tree, in order.
template <typename Tree>
std::vector<Microsoft::WRL::ComPtr<IShellItem>> ChildrenOf(Tree& tree, IShellItem* parent) {
    std::vector<Microsoft::WRL::ComPtr<IShellItem>> items;
    Microsoft::WRL::ComPtr<IShellItem> item;
    tree.GetNextItem(parent, NSTCGNI_CHILD, &item);
    while (item) {
        items.push_back(item);
        Microsoft::WRL::ComPtr<IShellItem> next;
        tree.GetNextItem(item.Get(), NSTCGNI_NEXT, &next);
        item = next;
    }
    return items;
}

// Expands and selects each item, one per turn of the message loop (as the frames
// restore remembered items); reports the whole and the first and last 20 items.
template <typename Tree> void ExpandAndSelectEach(const char* what, Tree& tree, IShellItem* root) {
    tree.SetItemState(root, NSTCIS_EXPANDED, NSTCIS_EXPANDED);
    auto items = ChildrenOf(tree, root);
    if (items.size() != 200)
        std::printf("  (the root shows %zu items, not 200)\n", items.size());
    std::vector<double> each;
    double start = NowMs();
    for (auto& item : items) {
        double itemStart = NowMs();
        tree.SetItemState(item.Get(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
        tree.SetItemState(item.Get(), NSTCIS_SELECTED, NSTCIS_SELECTED);
        Pump();
        each.push_back(NowMs() - itemStart);
    }
    double total = NowMs() - start;
    double first = 0, last = 0;
    for (size_t i = 0; i < 20 && i < each.size(); ++i) {
        first += each[i];
        last += each[each.size() - 1 - i];
    }
    std::printf("%-52s total %9.1f ms   first 20: %.1f ms per item, last 20: %.1f ms per item\n", what, total,
                first / 20, last / 20);
}

// The same calls on the platform's tree without the control (advised with sinks that
// answer nothing, as the control's do without handlers), for comparison.
class BareTree {
public:
    explicit BareTree(HWND parent) {
        CreateShellTree(&tree_);
        RECT rect{0, 0, 340, 560};
        if (tree_ && SUCCEEDED(tree_->Initialize(parent, &rect, NSTCS_HASEXPANDOS)))
            tree_->TreeAdvise(sinks_.AdviseObject(), &cookie_);
    }
    ~BareTree() {
        if (tree_ && cookie_ != 0)
            tree_->TreeUnadvise(cookie_);
    }
    bool Ok() const { return tree_ != nullptr && cookie_ != 0; }
    INameSpaceTreeControl* operator->() const { return tree_.Get(); }
    HRESULT SetItemState(IShellItem* item, NSTCITEMSTATE mask, NSTCITEMSTATE flags) {
        return tree_->SetItemState(item, mask, flags);
    }
    HRESULT GetNextItem(IShellItem* item, NSTCGNI which, IShellItem** next) {
        return tree_->GetNextItem(item, which, next);
    }

private:
    TNameSpaceTreeEvents events_;
    TNameSpaceTreeSinks sinks_{events_};
    Microsoft::WRL::ComPtr<INameSpaceTreeControl> tree_;
    DWORD cookie_ = 0;
};

void ExpandAndSelect(const std::wstring& base) {
    std::wstring big = base + L"\\big";
    {
        Host host;
        TNameSpaceTreeControl tree(host);
        tree.SetAlign(gui::alClient);
        TNamespaceTreeRoot& root = tree.Roots().Add();
        root.SetFilters(kFilters);
        root.SetPath(big);
        tree.CreateHandle();
        host.Realign();
        ExpandAndSelectEach("expand and select 200 items, through the control", tree, root.SHItem());
        double start = NowMs();
        tree.DestroyHandle();
        std::printf("%-52s %9.1f ms\n", "release the tree with 400 items", NowMs() - start);
    }
    {
        Host host;
        BareTree tree(host.Handle());
        auto item = shell::RootToShellItem(big);
        if (!tree.Ok() || !item ||
            FAILED(tree->AppendRoot(item.Get(), FiltersToFlags(kFilters), 0, nullptr))) {
            std::printf("  (no bare tree)\n");
            return;
        }
        ExpandAndSelectEach("the same on the platform's tree alone, advised", tree, item.Get());
    }
}

// The cost of one message to the tree view with the control's subclass in place and,
// for comparison, to a plain tree view: the Shell's tree sends its view several
// messages per item whenever it looks an item up.
void MessageCost() {
    constexpr int kMessages = 20000;
    auto perMessage = [](HWND view) {
        double start = NowMs();
        for (int i = 0; i < kMessages; ++i)
            ::SendMessageW(view, TVM_GETNEXTITEM, TVGN_ROOT, 0);
        return (NowMs() - start) * 1000.0 / kMessages;
    };
    Host host;
    TNameSpaceTreeControl tree(host);
    tree.CreateHandle();
    HWND plain = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD, 0, 0, 100, 100, host.Handle(), nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    double subclassed = perMessage(tree.TreeViewHandle());
    double bare = perMessage(plain);
    std::printf("%-52s %8.2f us subclassed, %.2f us plain\n", "one message to the tree view", subclassed,
                bare);
    ::DestroyWindow(plain);
}

// The process's committed memory (Wine reports no private bytes, but this).
SIZE_T CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
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
    SIZE_T bytesBefore = CommittedBytes();
    DWORD userBefore = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    double start = NowMs();
    int registered = 0;
    for (int i = 0; i < kRoots; ++i) {
        TNamespaceTreeRoot& root = tree.Roots().Add();
        root.SetPath(FolderPath(base, i % 20));
        registered += root.RegistID() != 0 ? 1 : 0;
    }
    double elapsed = NowMs() - start;
    SIZE_T bytesAfter = CommittedBytes();
    DWORD userAfter = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    start = NowMs();
    tree.Roots().Clear();
    double freed = NowMs() - start;
    std::printf("%-52s %8.2f KB committed", "per root: hidden window + notification registration",
                (static_cast<double>(bytesAfter) - static_cast<double>(bytesBefore)) / 1024.0 / kRoots);
    if (userAfter != 0)
        std::printf(", %.2f USER objects", static_cast<double>(userAfter - userBefore) / kRoots);
    else
        std::printf(", USER objects not reported here");
    std::printf("\n%-52s %8.3f ms to add, %.3f ms to free   (%d of %d registered)\n", "", elapsed / kRoots,
                freed / kRoots, registered, kRoots);
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

    CreateWithTwentyRoots(base);
    MessageCost();
    ExpandAndSelect(base);
    MemoryPerRoot(base);

    RemoveTree(base);
    return 0;
}
