// Figures for TXMLRegFile on a data file of realistic size: 10 frames, 50 roots and
// 2,000 remembered items (40 expanded item paths per root). Times to create the file
// from nothing, to parse it, to read every value the way the program loads its
// settings, and to write it back. Each figure is the median and the best of 20 runs.
#include <windows.h>

#include "support/BenchClock.h"
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "appdata/XMLRegFile.h"

namespace {

using appdata::TXMLRegFile;

void Report(const char* what, int runs, const std::function<void()>& body) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = NowMs();
        body();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %7.2f ms   best %7.2f ms\n", what, times[times.size() / 2], times.front());
}

constexpr int kFrames = 10, kRootsPerFrame = 5, kItemsPerRoot = 40;

std::wstring ItemPath(int frame, int root, int item) {
    return L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\C:\\\\Users\\ユーザー\\Documents\\Projects\\Frame" +
           std::to_wstring(frame) + L"\\Root" + std::to_wstring(root) + L"\\フォルダー " +
           std::to_wstring(item);
}

void WriteSettings(TXMLRegFile& reg) {
    reg.OpenNode(L"\\Configuration", true);
    const wchar_t* configuration[] = {L"CollapseSize",  L"ExpandWidth",    L"ExpandHeight",
                                      L"BaseColor",     L"ColorShift",     L"AlphaBlendValue",
                                      L"DefaultStyles", L"DefaultFilters", L"Maintains"};
    for (const wchar_t* name : configuration)
        reg.WriteInteger(name, 64);
    reg.OpenNode(L"\\Snapshot", true);
    const wchar_t* snapshot[] = {L"Left",     L"Top",    L"Width",   L"Height",
                                 L"SnapEdge", L"Layout", L"Topmost", L"ActiveFrame"};
    for (const wchar_t* name : snapshot)
        reg.WriteInteger(name, 1);
    for (int frame = 1; frame <= kFrames; ++frame) {
        std::wstring node = L"\\Snapshot\\Frames\\Id." + std::to_wstring(frame);
        reg.OpenNode(node, true);
        reg.WriteInteger(L"ExpandWidth", 300);
        reg.WriteInteger(L"ExpandHeight", 400);
        reg.WriteInteger(L"Styles", 123456);
        reg.OpenNode(node + L"\\Tree", true);
        reg.WriteInteger(L"Width", 300);
        reg.WriteInteger(L"Height", 400);
        reg.WriteBool(L"Collapsed", false);
        for (int root = 0; root < kRootsPerFrame; ++root) {
            reg.OpenNode(node + L"\\Tree\\Roots\\No." + std::to_wstring(root), true);
            reg.WriteInteger(L"Filters", 4102);
            reg.WriteString(L"Path", L"rfDesktop");
            std::wstring expands;
            for (int item = 0; item < kItemsPerRoot; ++item) {
                if (item)
                    expands += L',';
                expands += L'"' + ItemPath(frame, root, item) + L'"';
            }
            reg.WriteString(L"Expands", expands);
            if (root == 0)
                reg.WriteString(L"Selected", ItemPath(frame, root, 0));
        }
    }
}

// Everything the program reads at start-up and when it restores the trees.
size_t ReadSettings(TXMLRegFile& reg) {
    size_t characters = 0;
    reg.OpenNode(L"\\Configuration", true);
    for (const wchar_t* name : {L"CollapseSize", L"ExpandWidth", L"ExpandHeight", L"BaseColor", L"ColorShift",
                                L"AlphaBlendValue", L"DefaultStyles", L"DefaultFilters", L"Maintains"})
        characters += static_cast<size_t>(reg.ReadIntDef(name, 0));
    reg.OpenNode(L"\\Snapshot", true);
    for (const wchar_t* name : {L"Left", L"Top", L"Width", L"Height", L"SnapEdge", L"Layout", L"Topmost"})
        characters += static_cast<size_t>(reg.ReadIntDef(name, 0));
    reg.OpenNode(L"\\Snapshot\\Frames", true);
    std::vector<std::wstring> frames;
    reg.GetNodeNames(frames);
    for (const std::wstring& frame : frames) {
        std::wstring node = L"\\Snapshot\\Frames\\" + frame;
        reg.OpenNode(node, true);
        characters += static_cast<size_t>(reg.ReadIntDef(L"ExpandWidth", 0) + reg.ReadIntDef(L"Styles", 0));
        reg.OpenNode(node + L"\\Tree", true);
        characters += static_cast<size_t>(reg.ReadIntDef(L"Width", 0)) + reg.ReadBoolDef(L"Collapsed", false);
        reg.OpenNode(node + L"\\Tree\\Roots", true);
        std::vector<std::wstring> roots;
        reg.GetNodeNames(roots);
        for (const std::wstring& root : roots) {
            reg.OpenNode(node + L"\\Tree\\Roots\\" + root, true);
            characters += static_cast<size_t>(reg.ReadIntDef(L"Filters", 0));
            characters += reg.ReadStrDef(L"Path", L"").size() + reg.ReadStrDef(L"Expands", L"").size() +
                          reg.ReadStrDef(L"Selected", L"").size();
        }
    }
    return characters;
}

std::wstring TempFile() {
    wchar_t folder[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder) + L"Kestrav-bench.xml";
}

} // namespace

int main() {
    if (FAILED(::CoInitialize(nullptr)))
        return 2;
    const std::wstring file = TempFile();
    const int runs = 20;
    {
        ::DeleteFileW(file.c_str());
        TXMLRegFile reg(file);
        WriteSettings(reg);
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
    std::printf("data file: %d frames, %d roots, %d remembered items, %lu bytes\n", kFrames,
                kFrames * kRootsPerFrame, kFrames * kRootsPerFrame * kItemsPerRoot, data.nFileSizeLow);

    Report("create the document from nothing (no write)", runs, [&] {
        TXMLRegFile reg(file + L".new");
        WriteSettings(reg);
        reg.SetFileName(L"");
    });
    Report("parse the file (create the object)", runs, [&] { TXMLRegFile reg(file); });
    TXMLRegFile loaded(file);
    size_t sum = 0;
    Report("read all values", runs, [&] { sum += ReadSettings(loaded); });
    Report("write it back (layout and safe replace)", runs, [&] { loaded.UpdateFile(); });
    Report("whole load: parse and read all", runs, [&] {
        TXMLRegFile reg(file);
        sum += ReadSettings(reg);
    });
    Report("whole save: parse, write all values, free", runs, [&] {
        TXMLRegFile reg(file);
        WriteSettings(reg);
    });
    std::printf("(checksum %zu)\n", sum);
    ::DeleteFileW(file.c_str());
    ::CoUninitialize();
    return 0;
}
