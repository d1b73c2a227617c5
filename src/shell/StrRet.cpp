#include "shell/StrRet.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "gui/Handles.h"

namespace shell {
namespace {

std::wstring AnsiToWide(const char* text, size_t length) {
    if (length == 0)
        return {};
    int size = static_cast<int>(std::min<size_t>(length, INT_MAX));
    int wideLength = ::MultiByteToWideChar(CP_ACP, 0, text, size, nullptr, 0);
    if (wideLength <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, size, wide.data(), wideLength);
    return wide;
}

// The ANSI text inside an item: from offset to the item's end or its first NUL.
std::wstring OffsetText(PCUIDLIST_RELATIVE idList, UINT offset) {
    if (idList == nullptr)
        return {};
    const UINT itemSize = idList->mkid.cb;
    if (offset >= itemSize)
        return {};
    const char* text = reinterpret_cast<const char*>(idList) + offset;
    const size_t limit = itemSize - offset;
    const void* end = std::memchr(text, '\0', limit);
    return AnsiToWide(text, end != nullptr ? static_cast<const char*>(end) - text : limit);
}

std::wstring BufferText(const STRRET& strRet) {
    const void* end = std::memchr(strRet.cStr, '\0', sizeof(strRet.cStr));
    if (end == nullptr)
        return {};
    return AnsiToWide(strRet.cStr, static_cast<const char*>(end) - strRet.cStr);
}

// Some folders put a question mark before a number in their display names; such a
// text is shown without any of its question marks.
void RemoveNumberMarks(std::wstring& text) {
    if (text.size() >= 2 && text[0] == L'?' && text[1] >= L'0' && text[1] <= L'9')
        text.erase(std::remove(text.begin(), text.end(), L'?'), text.end());
}

} // namespace

std::wstring StrRetToText(PCUIDLIST_RELATIVE idList, STRRET& strRet) {
    std::wstring text;
    switch (strRet.uType) {
    case STRRET_WSTR: {
        gui::unique_cotaskmem<wchar_t> owned(std::exchange(strRet.pOleStr, nullptr));
        if (owned)
            text = owned.get();
        break;
    }
    case STRRET_OFFSET:
        text = OffsetText(idList, strRet.uOffset);
        break;
    case STRRET_CSTR:
        text = BufferText(strRet);
        break;
    default:
        break;
    }
    RemoveNumberMarks(text);
    return text;
}

} // namespace shell
