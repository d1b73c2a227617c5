#include "oledrag/DroppedFiles.h"

#include "oledrag/FormatEtc.h"

#include <shlobj.h>

#include <cstring>

namespace oledrag {
namespace {

// Releases a medium handed out by GetData when it goes, also when reading throws.
class OwnedMedium {
public:
    OwnedMedium() = default;
    OwnedMedium(const OwnedMedium&) = delete;
    OwnedMedium& operator=(const OwnedMedium&) = delete;
    ~OwnedMedium() {
        if (owned_)
            ::ReleaseStgMedium(&medium_);
    }
    STGMEDIUM* Put() { return &medium_; }
    void Own() { owned_ = true; }
    const STGMEDIUM& Get() const { return medium_; }

private:
    STGMEDIUM medium_{};
    bool owned_ = false;
};

class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL global) : global_(global), data_(::GlobalLock(global)) {}
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    ~LockedGlobal() {
        if (data_ != nullptr)
            ::GlobalUnlock(global_);
    }
    const void* Data() const { return data_; }

private:
    HGLOBAL global_;
    void* data_;
};

std::vector<std::wstring> WideNames(const unsigned char* begin, const unsigned char* end) {
    std::vector<std::wstring> names;
    std::wstring name;
    // The block may place the names at an odd offset, so characters are copied out.
    for (const unsigned char* p = begin; end - p >= static_cast<std::ptrdiff_t>(sizeof(wchar_t));
         p += sizeof(wchar_t)) {
        wchar_t c;
        std::memcpy(&c, p, sizeof(c));
        if (c != L'\0') {
            name.push_back(c);
            continue;
        }
        if (name.empty())
            break; // the empty name that ends the list
        names.push_back(std::move(name));
        name.clear();
    }
    return names;
}

std::wstring FromAnsi(const char* text, int length) {
    int wide = ::MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    std::wstring result(static_cast<size_t>(wide), L'\0');
    if (wide > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text, length, result.data(), wide);
    return result;
}

std::vector<std::wstring> AnsiNames(const unsigned char* begin, const unsigned char* end) {
    std::vector<std::wstring> names;
    const char* p = reinterpret_cast<const char*>(begin);
    const char* last = reinterpret_cast<const char*>(end);
    while (p < last) {
        const void* nul = std::memchr(p, '\0', static_cast<size_t>(last - p));
        if (nul == nullptr || nul == p)
            break; // unterminated, or the empty name that ends the list
        const char* stop = static_cast<const char*>(nul);
        names.push_back(FromAnsi(p, static_cast<int>(stop - p)));
        p = stop + 1;
    }
    return names;
}

} // namespace

std::optional<std::vector<std::wstring>> ParseDropFiles(const void* block, size_t size) {
    if (block == nullptr || size < sizeof(DROPFILES))
        return std::nullopt;
    DROPFILES header;
    std::memcpy(&header, block, sizeof(header));
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles > size)
        return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(block);
    return header.fWide ? WideNames(bytes + header.pFiles, bytes + size)
                        : AnsiNames(bytes + header.pFiles, bytes + size);
}

std::optional<std::vector<std::wstring>> DroppedFileNames(IDataObject* data) {
    if (data == nullptr)
        return std::nullopt;
    FORMATETC format = MakeContentFormatEtc(CF_HDROP, -1, TYMED_HGLOBAL);
    OwnedMedium medium;
    if (FAILED(data->GetData(&format, medium.Put())))
        return std::nullopt;
    medium.Own();
    if (medium.Get().tymed != TYMED_HGLOBAL || medium.Get().hGlobal == nullptr)
        return std::nullopt;
    size_t size = ::GlobalSize(medium.Get().hGlobal);
    LockedGlobal locked(medium.Get().hGlobal);
    if (locked.Data() == nullptr)
        return std::nullopt;
    return ParseDropFiles(locked.Data(), size);
}

DWORD ReferenceDropEffect(DWORD offered) {
    if (offered & DROPEFFECT_LINK)
        return DROPEFFECT_LINK;
    if (offered & DROPEFFECT_COPY)
        return DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
}

} // namespace oledrag
