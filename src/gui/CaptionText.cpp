#include "gui/CaptionText.h"

namespace gui {
namespace {

// Removes the first folder of a directory part, leaving "...\" in its place.
std::wstring CutFirstDirectory(std::wstring s) {
    if (s == L"\\")
        return L"";
    bool root = !s.empty() && s.front() == L'\\';
    if (root)
        s.erase(0, 1);
    if (!s.empty() && s.front() == L'.')
        s.erase(0, std::min<size_t>(4, s.size()));
    size_t slash = s.find(L'\\');
    s = slash != std::wstring::npos ? L"...\\" + s.substr(slash + 1) : std::wstring();
    if (root)
        s.insert(0, L"\\");
    return s;
}

} // namespace

std::wstring ShortenCaptionPath(const std::wstring& name, int room, const TextMeasure& measure) {
    std::wstring result = name;
    size_t cut = name.find_last_of(L"\\:");
    std::wstring dir = cut == std::wstring::npos ? std::wstring() : name.substr(0, cut + 1);
    std::wstring file = cut == std::wstring::npos ? name : name.substr(cut + 1);
    std::wstring drive;
    if (dir.size() >= 2 && dir[1] == L':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    while ((!dir.empty() || !drive.empty()) && measure(result) > room) {
        if (dir == L"\\...\\") {
            drive.clear();
            dir = L"...\\";
        } else if (dir.empty()) {
            drive.clear();
        } else {
            dir = CutFirstDirectory(dir);
        }
        result = drive + dir + file;
    }
    return result;
}

std::wstring FitCaption(const std::wstring& caption, int room, const TextMeasure& measure) {
    std::wstring text = ShortenCaptionPath(caption, room, measure);
    while (!text.empty() && measure(text) > room)
        text.pop_back();
    return text;
}

} // namespace gui
