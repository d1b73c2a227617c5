#pragma once
// A data object as a drag source hands it over, told what to offer and how to lie, that
// counts how often the medium it hands out is released.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace testing_support {

// A CF_HDROP block: the DROPFILES header, the names each ending in a nul, and the
// empty name that ends the list. ANSI names are given as their bytes.
inline std::vector<unsigned char> DropBlock(const std::vector<std::wstring>& names) {
    std::vector<unsigned char> block(sizeof(DROPFILES));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof(header));
    auto append = [&block](const std::wstring& text) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
        block.insert(block.end(), bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    };
    for (const std::wstring& name : names)
        append(name);
    append(L"");
    return block;
}

inline std::vector<unsigned char> AnsiDropBlock(const std::vector<std::string>& names) {
    std::vector<unsigned char> block(sizeof(DROPFILES));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = FALSE;
    std::memcpy(block.data(), &header, sizeof(header));
    for (const std::string& name : names)
        block.insert(block.end(), name.c_str(), name.c_str() + name.size() + 1);
    block.push_back(0);
    return block;
}

class FakeDataObject final : public IDataObject {
public:
    enum class Medium { Global, NullGlobal, Stream };

    // What QueryGetData answers for CF_HDROP and what GetData does.
    bool claimsFiles = true;
    bool givesFiles = true;
    Medium medium = Medium::Global;
    std::vector<unsigned char> block;
    // Hands the memory over to the receiver, as a data object in another process must;
    // releases are then not counted.
    bool handsOverMemory = false;

    // How often GetData handed out a medium, and how often one was released.
    int handedOut = 0;
    int released = 0;

    FakeDataObject() = default;
    explicit FakeDataObject(std::vector<unsigned char> files) : block(std::move(files)) {}
    FakeDataObject(const FakeDataObject&) = delete;
    FakeDataObject& operator=(const FakeDataObject&) = delete;
    ~FakeDataObject() {
        for (HGLOBAL global : globals_)
            ::GlobalFree(global);
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *ppv = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* out) override {
        if (format == nullptr || out == nullptr)
            return E_INVALIDARG;
        if (format->cfFormat != CF_HDROP || !givesFiles)
            return DV_E_FORMATETC;
        *out = STGMEDIUM{};
        switch (medium) {
        case Medium::Global: {
            HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
            if (global == nullptr)
                return E_OUTOFMEMORY;
            std::memcpy(::GlobalLock(global), block.data(), block.size());
            ::GlobalUnlock(global);
            out->tymed = TYMED_HGLOBAL;
            out->hGlobal = global;
            if (handsOverMemory) {
                ++handedOut;
                return S_OK;
            }
            // The fake keeps the memory; the receiver's release reaches the counter.
            globals_.push_back(global);
            break;
        }
        case Medium::NullGlobal:
            out->tymed = TYMED_HGLOBAL;
            break;
        case Medium::Stream:
            out->tymed = TYMED_ISTREAM;
            ::CreateStreamOnHGlobal(nullptr, TRUE, &out->pstm);
            break;
        }
        out->pUnkForRelease = &counter_;
        ++handedOut;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override {
        return format != nullptr && format->cfFormat == CF_HDROP && claimsFiles ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out != nullptr)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    // Stands in as the medium's pUnkForRelease: ReleaseStgMedium releases it instead of
    // freeing the memory, so every release is counted.
    class ReleaseCounter final : public IUnknown {
    public:
        explicit ReleaseCounter(int& released) : released_(released) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
            *ppv = riid == IID_IUnknown ? this : nullptr;
            return *ppv != nullptr ? S_OK : E_NOINTERFACE;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override {
            ++released_;
            return 1;
        }

    private:
        int& released_;
    };

    ReleaseCounter counter_{released};
    std::vector<HGLOBAL> globals_;
};

} // namespace testing_support
