#include "fuzz/Seeds.h"

#include "appdata/XMLRegFile.h"
#include "support/TestFiles.h"

#include <windows.h>

namespace fuzz {
namespace {

// One value of a seed: node path, value name, text.
struct Entry {
    const wchar_t* node;
    const wchar_t* name;
    const wchar_t* text;
};

const std::vector<Entry> kFull = {
    {L"\\Configuration", L"CollapseSize", L"4"},
    {L"\\Configuration", L"ExpandWidth", L"300"},
    {L"\\Configuration", L"ExpandHeight", L"225"},
    {L"\\Configuration", L"BaseColor", L"-16777201"},
    {L"\\Configuration", L"ColorShift", L"-1"},
    {L"\\Configuration", L"AlphaBlendValue", L"64"},
    {L"\\Configuration", L"DefaultStyles", L"65633"},
    {L"\\Configuration", L"DefaultFilters", L"6"},
    {L"\\Configuration", L"Maintains", L"0"},
    {L"\\Snapshot", L"Left", L"0"},
    {L"\\Snapshot", L"Top", L"0"},
    {L"\\Snapshot", L"Width", L"300"},
    {L"\\Snapshot", L"Height", L"600"},
    {L"\\Snapshot", L"SnapEdge", L"3"},
    {L"\\Snapshot", L"Layout", L"0"},
    {L"\\Snapshot", L"Topmost", L"0"},
    {L"\\Snapshot", L"ActiveFrame", L"0"},
    {L"\\Snapshot\\Frames\\Id.0", L"ExpandWidth", L"300"},
    {L"\\Snapshot\\Frames\\Id.0", L"ExpandHeight", L"225"},
    {L"\\Snapshot\\Frames\\Id.0", L"Styles", L"65633"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree", L"Width", L"300"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree", L"Height", L"225"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree", L"Collapsed", L"0"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Path", L"rfDesktop"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Filters", L"6"},
};

// Three frames kept at every exit, with folders that exist, one that does not,
// remembered expanded items and a selection.
const std::vector<Entry> kFrames = {
    {L"\\Configuration", L"Maintains", L"14"},
    {L"\\Configuration", L"ExpandWidth", L"420"},
    {L"\\Snapshot", L"SnapEdge", L"4"},
    {L"\\Snapshot", L"Layout", L"2"},
    {L"\\Snapshot", L"ActiveFrame", L"5"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree", L"Collapsed", L"-1"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.0", L"Path", L"rfMyComputer"},
    {L"\\Snapshot\\Frames\\Id.0\\Tree\\Roots\\No.1", L"Path", L"rfPersonal"},
    {L"\\Snapshot\\Frames\\Id.5", L"ExpandWidth", L"250"},
    {L"\\Snapshot\\Frames\\Id.5\\Tree", L"Height", L"180"},
    {L"\\Snapshot\\Frames\\Id.5\\Tree\\Roots\\No.0", L"Path", L"C:\\users"},
    {L"\\Snapshot\\Frames\\Id.5\\Tree\\Roots\\No.0", L"Filters", L"2"},
    {L"\\Snapshot\\Frames\\Id.5\\Tree\\Roots\\No.0", L"Expands", L"C:\\users,C:\\users\\Public"},
    {L"\\Snapshot\\Frames\\Id.5\\Tree\\Roots\\No.0", L"Selected", L"C:\\users\\Public"},
    {L"\\Snapshot\\Frames\\Id.12\\Tree\\Roots\\No.0", L"Path", L"C:\\kestrav-fuzz-no-such-folder"},
    {L"\\Snapshot\\Frames\\Id.12\\Tree\\Roots\\No.1", L"Path", L"C:\\ProgramData"},
    {L"\\Snapshot\\Frames\\Id.12\\Tree\\Roots\\No.1", L"Expands", L"\"C:\\ProgramData\""},
};

// Text beyond ASCII, values with spaces, a top edge.
const std::vector<Entry> kText = {
    {L"\\Snapshot", L"SnapEdge", L"1"},
    {L"\\Snapshot", L"Layout", L"1"},
    {L"\\Snapshot", L"Topmost", L"True"},
    {L"\\Snapshot\\Frames\\Id.3\\Tree\\Roots\\No.0", L"Path",
     L"C:\\\u30c6\u30b9\u30c8 \u30d5\u30a9\u30eb\u30c0"},
    {L"\\Snapshot\\Frames\\Id.3\\Tree\\Roots\\No.0", L"Selected", L" C:\\a b "},
    {L"\\Snapshot\\Frames\\Id.7\\Tree\\Roots\\No.0", L"Path", L"rfControlPanel"},
};

const std::vector<Entry> kConfiguration = {
    {L"\\Configuration", L"CollapseSize", L"8"},
    {L"\\Configuration", L"AlphaBlendValue", L"200"},
    {L"\\Configuration", L"ColorShift", L"0"},
};

std::string Written(const std::wstring& fileName, const std::vector<Entry>& entries) {
    ::DeleteFileW(fileName.c_str());
    {
        appdata::TXMLRegFile reg(fileName);
        for (const Entry& e : entries) {
            reg.OpenNode(e.node, true);
            reg.WriteString(e.name, e.text);
        }
    }
    std::string bytes = testing_support::ReadBytes(fileName);
    ::DeleteFileW(fileName.c_str());
    return bytes;
}

} // namespace

std::vector<SeedFile> MakeSeeds(const std::wstring& fileName) {
    return {{"full", Written(fileName, kFull)},
            {"frames", Written(fileName, kFrames)},
            {"text", Written(fileName, kText)},
            {"configuration", Written(fileName, kConfiguration)}};
}

} // namespace fuzz
