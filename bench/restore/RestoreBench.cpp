// Start-up with a large snapshot: 10 frames, 50 roots and 2,000 remembered expanded
// items in local folders, stored as the program stores them (each root's list holds the
// expanded items from that root to the end of its tree). Prints the time to the first
// visible window, the restore steps per distinct remembered item, the time until every
// frame has restored its items, the longest stretch the message loop was busy without
// taking the next message or idle turn during the restore, and the save time; then what
// a turn costs apart: resolving an item path (ours) and the Shell tree's own calls
// (walking and expanding), measured on the restored trees.
//   bench_restore                 all of it, then the large files
//   bench_restore --large-files   only the large files: many frames, many roots, and a
//                                 frame of 100 roots with 30 remembered items each
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
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kFrames = 10;
constexpr int kRootsPerFrame = 5;
constexpr int kFoldersPerRoot = 39; // with the root itself, 40 expanded items per root
constexpr double kRestoreLimitMs = 240000;
constexpr int kWalkSample = 30;

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

bool AllRead(app::TMainForm& form) {
    for (nav::TNavFrame* frame : form.OrderedFrames())
        if (frame->RestoreState() == nav::TNavFrame::TRestoreState::CreatePending)
            return false;
    return true;
}

// Counts the steps each frame's restore is to take: what its reserve lists hold right
// after the turn in which it read them (that turn takes nothing out of them).
class StepCount {
public:
    void After(app::TMainForm& form) {
        for (nav::TNavFrame* frame : form.OrderedFrames()) {
            if (frame->RestoreState() == nav::TNavFrame::TRestoreState::CreatePending ||
                !counted_.insert(frame->ID()).second)
                continue;
            steps_ += frame->ExpandingReserves.size() + frame->MarkingReserves.size();
        }
    }
    size_t Steps() const { return steps_; }

private:
    std::set<int> counted_;
    size_t steps_ = 0;
};

// The lists of one frame's roots as the program writes them: each root's list is the
// expanded items of its own and of every root after it, in display order.
std::vector<std::vector<std::wstring>> Tails(const std::vector<std::vector<std::wstring>>& ownItems) {
    std::vector<std::vector<std::wstring>> tails(ownItems.size());
    for (size_t r = 0; r < ownItems.size(); ++r)
        for (size_t after = r; after < ownItems.size(); ++after)
            tails[r].insert(tails[r].end(), ownItems[after].begin(), ownItems[after].end());
    return tails;
}

// The options dialog's OK: every part counts as changed and all are written.
double TimedSave(app::TMainForm& form) {
    double start = NowMs();
    form.SetModifies(app::AllChangeParts);
    form.SaveSettings(app::AllChangeParts);
    return NowMs() - start;
}

long long FileSize(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

} // namespace

// Start-up with many frames or many roots (the sizes of the hostile-file table): the
// time to create the window over the file, for growing sizes so that the growth shows.
void BenchLargeFiles(const std::wstring& base);

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
    gFigures =
        std::fopen((figures.substr(0, figures.find_last_of("\\/") + 1) + "bench_restore.txt").c_str(), "w");
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

        // Only the large files: bench_restore --large-files.
        if (argc > 1 && std::string(argv[1]) == "--large-files") {
            BenchLargeFiles(base);
            RemoveTree(base);
            OleUninitialize();
            return 0;
        }
        // The folders and the data file that remembers them all expanded.
        int expandedItems = 0;
        // What each frame is to restore, each item once, for the figures of path resolution.
        std::vector<std::vector<std::wstring>> remembered;
        {
            appdata::TXMLRegFile reg(app::DataFileName());
            reg.OpenNode(L"\\Configuration", true);
            reg.WriteInteger(L"ExpandWidth", 600);
            reg.WriteInteger(L"Maintains", 14);
            reg.OpenNode(L"\\Snapshot", true);
            reg.WriteInteger(L"Layout", 3);
            for (int f = 0; f < kFrames; ++f) {
                std::vector<std::vector<std::wstring>> ownItems;
                remembered.emplace_back();
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
                    remembered.back().insert(remembered.back().end(), expands.begin(), expands.end());
                    ownItems.push_back(std::move(expands));
                    reg.OpenNode(L"\\Snapshot\\Frames\\Id." + std::to_wstring(f) + L"\\Tree\\Roots\\No." +
                                     std::to_wstring(r),
                                 true);
                    reg.WriteString(L"Path", root);
                }
                std::vector<std::vector<std::wstring>> tails = Tails(ownItems);
                for (int r = 0; r < kRootsPerFrame; ++r) {
                    reg.OpenNode(L"\\Snapshot\\Frames\\Id." + std::to_wstring(f) + L"\\Tree\\Roots\\No." +
                                     std::to_wstring(r),
                                 true);
                    reg.WriteString(L"Expands", shell::EncodeDelimitedText(tails[r], L','));
                }
            }
        }

        Figure("snapshot: %d frames, %d roots, %d remembered expanded items (local folders), %lld bytes\n",
               kFrames, kFrames * kRootsPerFrame, expandedItems, FileSize(app::DataFileName()));

        double start = NowMs();
        auto form = std::make_unique<app::TMainForm>();
        form->Show();
        form->Update();
        double visible = NowMs() - start;

        // The program's loop, timed: the queue is emptied, idle is raised once, then the
        // loop waits for the next message. Every message and every idle turn is one step;
        // the longest step is the longest time the window could not answer.
        double longestGap = 0, longestTurn = 0, inTurns = 0;
        int idleTurns = 0;
        StepCount steps;
        MSG msg;
        double nextReport = start + 30000;
        gui::Application& application = gui::Application::Instance();
        while (!AllRestored(*form) && NowMs() - start < kRestoreLimitMs) {
            if (NowMs() > nextReport) {
                size_t left = 0;
                for (nav::TNavFrame* frame : form->OrderedFrames())
                    left += frame->ExpandingReserves.size();
                Figure("  after %.0f s: %zu items still to expand, longest gap so far %.1f ms\n",
                       (NowMs() - start) / 1000, left, longestGap);
                nextReport += 30000;
            }
            double before = NowMs();
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message != WM_QUIT) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
                double now = NowMs();
                longestGap = std::max(longestGap, now - before);
                before = now;
            }
            application.RaiseIdle();
            steps.After(*form);
            ++idleTurns;
            double turn = NowMs() - before;
            inTurns += turn;
            longestTurn = std::max(longestTurn, turn);
            longestGap = std::max(longestGap, turn);
            // Bounded, as the program's WaitMessage is not: a stalled restore shows as time.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        }
        double restored = NowMs() - start;
        bool finished = AllRestored(*form);
        size_t left = 0;
        for (nav::TNavFrame* frame : form->OrderedFrames())
            left += frame->ExpandingReserves.size();

        Figure("first visible window:        %.1f ms\n", visible);
        Figure("restore steps:               %zu for %d distinct remembered items (%.2f steps per item)\n",
               steps.Steps(), expandedItems, double(steps.Steps()) / expandedItems);
        Figure("every restore finished:      %.1f ms (%s, %d idle turns, %zu items left)\n", restored,
               finished ? "done" : "NOT finished", idleTurns, left);
        Figure("longest gap in the loop:     %.1f ms during the restore\n", longestGap);
        Figure("idle turns:                  %.1f ms in all, longest %.1f ms\n", inTurns, longestTurn);

        // Our part of a turn: resolving the item path, one resolver per frame as in the
        // restore, against the old way from the desktop for every path.
        {
            double total = 0, longest = 0;
            size_t count = 0;
            for (const std::vector<std::wstring>& paths : remembered) {
                shell::ItemPathResolver resolver;
                for (const std::wstring& path : paths) {
                    Microsoft::WRL::ComPtr<IShellItem> item;
                    double t = NowMs();
                    resolver.Find(nullptr, path, item);
                    double d = NowMs() - t;
                    total += d;
                    longest = std::max(longest, d);
                    ++count;
                }
            }
            Figure("ours, path resolution:       %.2f ms per item, longest %.1f ms (%zu items)\n",
                   total / double(count), longest, count);
            double fromDesktop = 0;
            int sample = 0;
            for (size_t i = 0; i < remembered.back().size(); i += 10, ++sample) {
                Microsoft::WRL::ComPtr<IShellItem> item;
                double t = NowMs();
                shell::FindItemByPath(nullptr, remembered.back()[i], item);
                fromDesktop += NowMs() - t;
            }
            Figure("  the same from the desktop: %.2f ms per item (%d items)\n", fromDesktop / sample,
                   sample);
        }

        // The Shell's part: its tree's calls on the restored trees, which grow with them.
        double perVisibleItem = 0;
        {
            nav::TNavFrame* frame = form->OrderedFrames().back();
            shellctrls::TNameSpaceTreeControl& tree = frame->NameSpaceTree();
            // The first items of the walk the save makes; each call looks the item up.
            int walked = 0;
            double inState = 0, inNext = 0;
            for (Microsoft::WRL::ComPtr<IShellItem> item(tree.Roots()[0].SHItem());
                 item && walked < kWalkSample; ++walked) {
                NSTCITEMSTATE state = 0;
                double t = NowMs();
                tree.GetItemState(item.Get(), NSTCIS_EXPANDED, &state);
                inState += NowMs() - t;
                Microsoft::WRL::ComPtr<IShellItem> next;
                t = NowMs();
                HRESULT hr = tree.GetNextItem(item.Get(), NSTCGNI_NEXTVISIBLE, &next);
                inNext += NowMs() - t;
                if (FAILED(hr))
                    break;
                item = next;
            }
            perVisibleItem = (inState + inNext) / std::max(walked, 1);
            Figure("Shell, the first %d items of the walk through a restored tree: GetItemState %.1f ms, "
                   "GetNextItem %.1f ms per item\n",
                   walked, inState / std::max(walked, 1), inNext / std::max(walked, 1));
            double expand = 0, longest = 0;
            int count = 0;
            shell::ItemPathResolver resolver;
            for (size_t i = 1; i < remembered.back().size(); i += 8, ++count) {
                Microsoft::WRL::ComPtr<IShellItem> item;
                resolver.Find(nullptr, remembered.back()[i], item);
                tree.SetItemState(item.Get(), NSTCIS_EXPANDED, 0);
                double e = NowMs();
                tree.SetItemState(item.Get(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
                double d = NowMs() - e;
                expand += d;
                longest = std::max(longest, d);
            }
            Figure("Shell, one expansion in that tree: %.1f ms on average, longest %.1f ms (%d items)\n",
                   expand / std::max(count, 1), longest, count);
        }

        // The save walks every tree once, item by item through the Shell's tree.
        int visibleItems = 0;
        for (nav::TNavFrame* frame : form->OrderedFrames()) {
            HWND view = frame->NameSpaceTree().TreeViewHandle();
            for (HTREEITEM item = TreeView_GetRoot(view); item != nullptr;
                 item = TreeView_GetNextVisible(view, item))
                ++visibleItems;
        }
        double save = TimedSave(*form);
        Figure("save of the same state:      %.1f ms (%d visible items in the trees; the first items' walk "
               "alone predicts %.0f s)\n",
               save, visibleItems, visibleItems * perVisibleItem / 1000);
        form.reset();
        BenchLargeFiles(base);
        RemoveTree(base);
        result = finished ? 0 : 1;
    }
    OleUninitialize();
    return result;
}

namespace {

// A data file of frames (ids 0 to frames - 1), each with rootsEach roots at path; with
// itemsEach, each root remembers that many expanded items of its own, written as the
// program writes them (the list of a root runs on to the end of its frame).
void WriteFrames(const std::wstring& file, int frames, int rootsEach, const std::string& path,
                 int itemsEach = 0) {
    std::string body = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<Kestrav><Snapshot><Layout>3</Layout><Frames>";
    std::vector<std::vector<std::wstring>> own(static_cast<size_t>(rootsEach));
    for (int j = 0; j < rootsEach; ++j)
        for (int i = 0; i < itemsEach; ++i)
            own[static_cast<size_t>(j)].push_back(shell::EncodeDelimitedText(
                {L"kestrav-no-such-folder", L"root " + std::to_wstring(j), L"folder " + std::to_wstring(i)},
                L'\\'));
    std::vector<std::vector<std::wstring>> tails = Tails(own);
    for (int f = 0; f < frames; ++f) {
        body += "<Id." + std::to_string(f) + "><Tree><Roots>";
        for (int j = 0; j < rootsEach; ++j) {
            body += "<No." + std::to_string(j) + "><Path>" + path + "</Path>";
            if (itemsEach > 0) {
                // The text is ASCII: the characters are the bytes.
                std::wstring expands = shell::EncodeDelimitedText(tails[static_cast<size_t>(j)], L',');
                body += "<Expands>" + std::string(expands.begin(), expands.end()) + "</Expands>";
            }
            body += "</No." + std::to_string(j) + ">";
        }
        body += "</Roots></Tree></Id." + std::to_string(f) + ">";
    }
    body += "</Frames></Snapshot></Kestrav>\r\n";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
    CloseHandle(h);
}

} // namespace

void BenchLargeFiles(const std::wstring& base) {
    struct Size {
        int frames;
        int rootsEach;
        int itemsEach;
    };
    const std::wstring file = base + L"\\Large.xml";
    app::SetDataFileName(file);
    const double limitMs = 90000;
    bool tooLong[2] = {false, false}; // for frames, for roots
    for (Size size : {Size{100, 0, 0}, Size{250, 0, 0}, Size{500, 0, 0}, Size{1000, 0, 0}, Size{1, 1000, 0},
                      Size{1, 2500, 0}, Size{1, 5000, 0}, Size{1, 10000, 0}, Size{1, 100, 30}}) {
        bool& skip = tooLong[size.rootsEach > 0 ? 1 : 0];
        if (skip && size.itemsEach == 0) {
            Figure("large file, %d frames with %d roots each: skipped, a smaller size took over %.0f s\n",
                   size.frames, size.rootsEach, limitMs / 1000);
            continue;
        }
        WriteFrames(file, size.frames, size.rootsEach, "C:\\kestrav-no-such-folder", size.itemsEach);
        long long bytes = FileSize(file);
        double t = NowMs();
        auto form = std::make_unique<app::TMainForm>();
        double created = NowMs() - t;
        // Each frame's first idle turn reads what it is to restore from the file. The
        // folders are not there, so the restore itself is not waited for.
        t = NowMs();
        StepCount steps;
        MSG msg;
        while (!AllRead(*form) && NowMs() - t < limitMs) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            gui::Application::Instance().RaiseIdle();
            steps.After(*form);
        }
        double read = NowMs() - t;
        double save = TimedSave(*form);
        long long saved = FileSize(file);
        t = NowMs();
        form.reset();
        double freed = NowMs() - t;
        Figure(
            "large file, %d frames with %d roots each: window made in %.0f ms (%.2f ms per %s), "
            "start-up reads done in %.0f ms, made and read in %.1f s; saved in %.0f ms; freed in %.0f ms\n",
            size.frames, size.rootsEach, created,
            created / (size.rootsEach > 0 ? size.rootsEach : size.frames),
            size.rootsEach > 0 ? "root" : "frame", read, (created + read) / 1000, save, freed);
        if (size.itemsEach > 0) {
            int distinct = size.rootsEach * size.itemsEach;
            Figure("  %d remembered items each (stored as tails): file %lld bytes, saved %lld bytes; restore "
                   "steps %zu for %d distinct items (%.2f per item)\n",
                   size.itemsEach, bytes, saved, steps.Steps(), distinct, double(steps.Steps()) / distinct);
        }
        skip = created + read + save + freed > limitMs;
    }
}
