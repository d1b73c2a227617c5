// Figures for the shell helpers: what IDListToRoot costs per call, and how long
// FindItemByPath takes for a path 8 levels deep in folders of 1,000 entries each.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "shell/ItemPath.h"
#include "shell/RootDesignation.h"
#include "shell/RootFolder.h"
#include "shell/RootFolderBatch.h"
#include "shell/ShellItems.h"
#include "shell/ShellModule.h"
#include "support/BenchClock.h"
#include "shell/StrRet.h"

namespace {

using Microsoft::WRL::ComPtr;

struct Timing {
    double mean;
    double best;
};

Timing Measure(int runs, const std::function<void()>& body) {
    double total = 0, best = 1e300;
    for (int i = 0; i < runs; ++i) {
        double start = NowMs();
        body();
        double elapsed = NowMs() - start;
        total += elapsed;
        best = std::min(best, elapsed);
    }
    return {total / runs, best};
}

void Print(const char* what, const Timing& timing) {
    std::printf("%-58s mean %9.3f ms   best %9.3f ms\n", what, timing.mean, timing.best);
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, buffer);
    std::wstring folder = buffer;
    folder += L"kestrav-shell-bench-" + std::to_wstring(::GetCurrentProcessId());
    return folder;
}

bool MakeFile(const std::wstring& name) {
    HANDLE file =
        ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// Eight nested folders; each holds 999 files and the next folder, whose name sorts last.
std::wstring MakeDeepTree(const std::wstring& root, int levels, int entries) {
    std::wstring folder = root;
    for (int level = 1; level <= levels; ++level) {
        for (int i = 0; i < entries - 1; ++i) {
            wchar_t name[32];
            std::swprintf(name, 32, L"\\entry%04d.txt", i);
            if (!MakeFile(folder + name))
                return {};
        }
        folder += L"\\zz-level" + std::to_wstring(level);
        if (!::CreateDirectoryW(folder.c_str(), nullptr))
            return {};
    }
    return folder;
}

void BenchIDListToRoot(const std::wstring& plainFolder) {
    std::printf("IDListToRoot (%d known folders per call when none matches)\n", shell::kRootFolderCount);
    shell::unique_pidl plain = shell::RootToIDList(plainFolder);
    shell::unique_pidl desktop = shell::GetDesktopIDList();
    shell::unique_pidl documents = shell::RootToIDList(L"rfPersonal");
    if (!plain) {
        std::printf("  the plain folder does not parse\n");
        return;
    }
    Print("  plain folder (no known folder matches)", Measure(10, [&] { shell::IDListToRoot(plain.get()); }));
    Print("  desktop (the first known folder)", Measure(10, [&] { shell::IDListToRoot(desktop.get()); }));
    if (documents)
        Print("  rfPersonal (ordinal 5)", Measure(10, [&] { shell::IDListToRoot(documents.get()); }));

    {
        shell::TRootFolderBatch batch;
        Print("  plain folder, first call in a batch", Measure(1, [&] { shell::IDListToRoot(plain.get()); }));
        Print("  plain folder, later calls in the same batch",
              Measure(10, [&] { shell::IDListToRoot(plain.get()); }));
    }

    // Where the time goes: resolving each known folder once.
    double csidlTotal = 0, knownTotal = 0;
    int resolved = 0;
    for (int i = 0; i < shell::kRootFolderCount; ++i) {
        double start = NowMs();
        shell::unique_pidl idList = shell::RootFolderToIDList(static_cast<shell::TRootFolder>(i));
        double elapsed = NowMs() - start;
        (i < shell::kFirstKnownFolderID ? csidlTotal : knownTotal) += elapsed;
        if (idList)
            ++resolved;
    }
    std::printf(
        "  resolving all folders once: CSIDL half %.3f ms, KNOWNFOLDERID half %.3f ms, %d of %d exist\n",
        csidlTotal, knownTotal, resolved, shell::kRootFolderCount);
}

// One level of the walk, both ways of reading the children's names: through a shell
// item per child (which binds to the folder anew from the desktop each time), and
// through the folder itself, as FindItemByPath does.
void BenchNameScan(const std::wstring& folderPath) {
    ComPtr<IShellItem> folderItem = shell::RootToShellItem(folderPath);
    ComPtr<IShellFolder> folder;
    if (!folderItem || FAILED(folderItem->BindToHandler(nullptr, BHID_SFObject, IID_PPV_ARGS(&folder))))
        return;
    auto scan = [&](bool throughItems) {
        ComPtr<IEnumIDList> children;
        if (FAILED(folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &children)) ||
            !children)
            return;
        for (;;) {
            shell::unique_child_pidl child;
            if (children->Next(1, child.put(), nullptr) != S_OK)
                break;
            if (throughItems) {
                ComPtr<IShellItem> item;
                if (SUCCEEDED(::SHCreateShellItem(nullptr, folder.Get(), child.get(), &item)))
                    shell::GetItemName(item.Get(), SIGDN_PARENTRELATIVEPARSING);
            } else {
                STRRET name{};
                if (SUCCEEDED(
                        folder->GetDisplayNameOf(child.get(), SHGDN_INFOLDER | SHGDN_FORPARSING, &name)))
                    shell::StrRetToText(child.get(), name);
            }
        }
    };
    Print("  names of one level's 1,000 children through shell items", Measure(2, [&] { scan(true); }));
    Print("  names of one level's 1,000 children through the folder", Measure(2, [&] { scan(false); }));
}

void BenchFindItemByPath(const std::wstring& root) {
    constexpr int kLevels = 8, kEntries = 1000;
    std::printf("FindItemByPath (%d levels of %d entries each)\n", kLevels, kEntries);
    double start = NowMs();
    std::wstring deepest = MakeDeepTree(root, kLevels, kEntries);
    std::printf("  creating the tree took %.0f ms\n", NowMs() - start);
    if (deepest.empty()) {
        std::printf("  the tree could not be created\n");
        return;
    }
    ComPtr<IShellItem> item = shell::RootToShellItem(deepest);
    std::wstring path = shell::GetItemPath(item.Get());
    Print("  GetItemPath of the deepest folder", Measure(5, [&] { shell::GetItemPath(item.Get()); }));
    bool found = false;
    Print("  FindItemByPath of the deepest folder", Measure(5, [&] {
              ComPtr<IShellItem> result;
              found = shell::FindItemByPath(nullptr, path, result) &&
                      shell::SameShellItem(result.Get(), item.Get());
          }));
    std::printf("  found: %s\n", found ? "yes" : "NO");
    BenchNameScan(root);
}

} // namespace

int main() {
    shell::ShellModule shellModule;
    const std::wstring root = TempFolder();
    RemoveTree(root);
    if (!::CreateDirectoryW(root.c_str(), nullptr)) {
        std::printf("cannot create %ls\n", root.c_str());
        return 1;
    }
    const std::wstring plain = root + L"\\plain";
    ::CreateDirectoryW(plain.c_str(), nullptr);
    BenchIDListToRoot(plain);
    BenchFindItemByPath(root);
    RemoveTree(root);
    return 0;
}
