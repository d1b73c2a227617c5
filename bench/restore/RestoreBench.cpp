// Start-up with a large snapshot: 10 frames, 50 roots and 2,000 remembered expanded
// items in local folders. Prints the time to the first visible window, the time until
// every frame has restored its items, the longest stretch the message loop was busy
// without taking the next message or idle turn during the restore, and the save time.
#include "app/DataFile.h"
#include "app/MainForm.h"
#include "appdata/XMLRegFile.h"
#include "gui/Application.h"
#include "shell/DelimitedText.h"
#include "shell/ItemPath.h"
#include "shell/ShellModule.h"

#include "support/BenchClock.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 10;
constexpr int kRootsPerFrame = 5;
constexpr int kFoldersPerRoot = 39; // with the root itself, 40 expanded items per root
constexpr double kRestoreLimitMs = 120000;

std::wstring MakeTempBase() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base =
        std::wstring(temp) + L"kestrav-restore-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(base.c_str(), nullptr);
    return base;
}

std::wstring ItemPathOf(const std::wstring& path) {
    Microsoft::WRL::ComPtr<IShellItem> item;
    SHCreateItemFromParsingName(path.c_str(), nullptr, IID_PPV_ARGS(&item));
    return shell::GetItemPath(item.Get());
}

void RemoveTree(const std::wstring& path) {
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

bool AllRestored(app::TMainForm& form) {
    for (nav::TNavFrame* frame : form.OrderedFrames())
        if (frame->RestoreState() != nav::TNavFrame::TRestoreState::None)
            return false;
    return true;
}

} // namespace

// Each figure goes to the console and to a file beside the executable, which can be
// read while the program still runs.
FILE* gFigures = nullptr;

template <typename... Args> void Figure(const char* format, Args... args) {
    std::printf(format, args...);
    if (gFigures != nullptr) {
        std::fprintf(gFigures, format, args...);
        std::fflush(gFigures);
    }
}

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    std::string figures = argc > 0 ? std::string(argv[0]) : std::string("bench_restore");
    gFigures = std::fopen((figures.substr(0, figures.find_last_of("\\/") + 1) + "bench_restore.txt").c_str(), "w");
    if (FAILED(OleInitialize(nullptr)))
        return 2;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int result = 0;
    {
        shell::ShellModule shellModule;
        std::wstring base = MakeTempBase();
        app::SetDataFileName(base + L"\\Kestrav.xml");
        gui::Application::Instance().SetReporter(
            [](const std::wstring& text) { std::printf("reported: %ls\n", text.c_str()); });

        // The folders and the data file that remembers them all expanded.
        int expandedItems = 0;
        {
            appdata::TXMLRegFile reg(app::DataFileName());
            reg.OpenNode(L"\\Configuration", true);
            reg.WriteInteger(L"ExpandWidth", 600);
            reg.WriteInteger(L"Maintains", 14);
            reg.OpenNode(L"\\Snapshot", true);
            reg.WriteInteger(L"Layout", 3);
            for (int f = 0; f < kFrames; ++f) {
                for (int r = 0; r < kRootsPerFrame; ++r) {
                    std::wstring root = base + L"\\F" + std::to_wstring(f) + L"R" + std::to_wstring(r);
                    CreateDirectoryW(root.c_str(), nullptr);
                    std::vector<std::wstring> expands{ItemPathOf(root)};
                    for (int i = 0; i < kFoldersPerRoot; ++i) {
                        std::wstring sub = root + L"\\folder " + std::to_wstring(i);
                        CreateDirectoryW(sub.c_str(), nullptr);
                        CreateDirectoryW((sub + L"\\inner").c_str(), nullptr);
                        expands.push_back(ItemPathOf(sub));
                    }
                    expandedItems += static_cast<int>(expands.size());
                    reg.OpenNode(L"\\Snapshot\\Frames\\Id." + std::to_wstring(f) + L"\\Tree\\Roots\\No." +
                                     std::to_wstring(r),
                                 true);
                    reg.WriteString(L"Path", root);
                    reg.WriteString(L"Expands", shell::EncodeDelimitedText(expands, L','));
                }
            }
        }

        Figure("snapshot: %d frames, %d roots, %d remembered expanded items (local folders)\n", kFrames,
                    kFrames * kRootsPerFrame, expandedItems);
        double start = NowMs();
        auto form = std::make_unique<app::TMainForm>();
        form->Show();
        form->Update();
        double visible = NowMs() - start;

        // The program's loop, timed: every message and every idle turn is one step.
        double longestGap = 0, last = NowMs();
        int idleTurns = 0;
        MSG msg;
        double nextReport = start + 30000;
        while (!AllRestored(*form) && NowMs() - start < kRestoreLimitMs) {
            if (NowMs() > nextReport) {
                size_t left = 0;
                for (nav::TNavFrame* frame : form->OrderedFrames())
                    left += frame->ExpandingReserves.size();
                Figure("  after %.0f s: %zu items still to expand, longest gap so far %.1f ms\n",
                            (NowMs() - start) / 1000, left, longestGap);
                nextReport += 30000;
            }
            if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message != WM_QUIT) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            } else {
                gui::Application::Instance().RaiseIdle();
                ++idleTurns;
            }
            double now = NowMs();
            longestGap = std::max(longestGap, now - last);
            last = now;
        }
        double restored = NowMs() - start;
        bool finished = AllRestored(*form);

        int expandedNow = 0;
        for (nav::TNavFrame* frame : form->OrderedFrames()) {
            shellctrls::TNamespaceTreeRoots& roots = frame->NameSpaceTree().Roots();
            for (int r = 0; r < roots.Count(); ++r) {
                frame->StoreReserves(roots[r].SHItem(), nullptr, nullptr);
                // Each root's list runs to the end of the tree; count only its own items.
                if (r + 1 < roots.Count()) {
                    frame->StoreReserves(roots[r].SHItem(), nullptr, nullptr);
                    std::vector<std::wstring> own = frame->ExpandingReserves;
                    frame->StoreReserves(roots[r + 1].SHItem(), nullptr, nullptr);
                    expandedNow += static_cast<int>(own.size() - frame->ExpandingReserves.size());
                } else {
                    expandedNow += static_cast<int>(frame->ExpandingReserves.size());
                }
            }
            frame->ExpandingReserves.clear();
        }

        double saveStart = NowMs();
        form->SaveOnOptionsOK({});
        double save = NowMs() - saveStart;

        Figure("first visible window:        %.1f ms\n", visible);
        std::printf(
            "every restore finished:      %.1f ms (%s, %d idle turns, %d items expanded afterwards)\n",
            restored, finished ? "done" : "NOT finished", idleTurns, expandedNow);
        Figure("longest gap in the loop:     %.1f ms during the restore\n", longestGap);
        Figure("save of the same state:      %.1f ms\n", save);
        form.reset();
        RemoveTree(base);
        result = finished ? 0 : 1;
    }
    OleUninitialize();
    return result;
}
