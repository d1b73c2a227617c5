#pragma once
// A link object that records the calls it receives, answers with preset HRESULTs and
// keeps its properties in memory, so that TShellLink's use of the Shell's link object
// can be checked call by call.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

class FakeShellLink final : public IShellLinkW, public IPersistFile {
public:
    // Calls in order, such as "Load(a.lnk,0)" or "Resolve(0x0,1)".
    std::vector<std::wstring> calls;
    HRESULT loadResult = S_OK;
    HRESULT saveResult = S_OK;
    HRESULT resolveResult = S_OK;
    bool offersPersistFile = true;
    // The ID list GetIDList hands out (a copy each time); none when empty.
    std::vector<BYTE> idList;
    // Getters write the whole text, without a terminator when it fills the buffer.
    std::wstring path, description, workingDirectory, arguments, iconPath;
    int iconIndex = 0, showCmd = SW_SHOWNORMAL;
    WORD hotkey = 0;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IShellLinkW) {
            *object = static_cast<IShellLinkW*>(this);
        } else if ((riid == IID_IPersistFile || riid == IID_IPersist) && offersPersistFile) {
            *object = static_cast<IPersistFile*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IShellLinkW
    STDMETHODIMP GetPath(LPWSTR buffer, int size, WIN32_FIND_DATAW*, DWORD flags) override {
        calls.push_back(L"GetPath(" + std::to_wstring(flags) + L")");
        return Write(path, buffer, size);
    }
    STDMETHODIMP GetIDList(PIDLIST_ABSOLUTE* result) override {
        *result = nullptr;
        if (idList.empty())
            return S_FALSE;
        *result = static_cast<PIDLIST_ABSOLUTE>(::CoTaskMemAlloc(idList.size()));
        std::memcpy(*result, idList.data(), idList.size());
        return S_OK;
    }
    STDMETHODIMP SetIDList(PCIDLIST_ABSOLUTE) override { return S_OK; }
    STDMETHODIMP GetDescription(LPWSTR buffer, int size) override { return Write(description, buffer, size); }
    STDMETHODIMP SetDescription(LPCWSTR text) override { return Store(description, text); }
    STDMETHODIMP GetWorkingDirectory(LPWSTR buffer, int size) override {
        return Write(workingDirectory, buffer, size);
    }
    STDMETHODIMP SetWorkingDirectory(LPCWSTR text) override { return Store(workingDirectory, text); }
    STDMETHODIMP GetArguments(LPWSTR buffer, int size) override { return Write(arguments, buffer, size); }
    STDMETHODIMP SetArguments(LPCWSTR text) override { return Store(arguments, text); }
    STDMETHODIMP GetHotkey(WORD* value) override {
        *value = hotkey;
        return S_OK;
    }
    STDMETHODIMP SetHotkey(WORD value) override {
        hotkey = value;
        return S_OK;
    }
    STDMETHODIMP GetShowCmd(int* value) override {
        *value = showCmd;
        return S_OK;
    }
    STDMETHODIMP SetShowCmd(int value) override {
        showCmd = value;
        return S_OK;
    }
    STDMETHODIMP GetIconLocation(LPWSTR buffer, int size, int* index) override {
        *index = iconIndex;
        return Write(iconPath, buffer, size);
    }
    STDMETHODIMP SetIconLocation(LPCWSTR text, int index) override {
        iconIndex = index;
        return Store(iconPath, text);
    }
    STDMETHODIMP SetRelativePath(LPCWSTR, DWORD) override { return S_OK; }
    STDMETHODIMP Resolve(HWND window, DWORD flags) override {
        calls.push_back(L"Resolve(0x" + Hex(reinterpret_cast<UINT_PTR>(window)) + L"," +
                        std::to_wstring(flags) + L")");
        return resolveResult;
    }
    STDMETHODIMP SetPath(LPCWSTR text) override { return Store(path, text); }

    // IPersistFile
    STDMETHODIMP GetClassID(CLSID* id) override {
        *id = CLSID_ShellLink;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPCOLESTR fileName, DWORD mode) override {
        calls.push_back(L"Load(" + Name(fileName) + L"," + std::to_wstring(mode) + L")");
        return loadResult;
    }
    STDMETHODIMP Save(LPCOLESTR fileName, BOOL remember) override {
        calls.push_back(L"Save(" + Name(fileName) + L"," + std::to_wstring(remember) + L")");
        return saveResult;
    }
    STDMETHODIMP SaveCompleted(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP GetCurFile(LPOLESTR* fileName) override {
        *fileName = nullptr;
        return E_NOTIMPL;
    }

private:
    static HRESULT Write(const std::wstring& text, LPWSTR buffer, int size) {
        if (size <= 0)
            return E_INVALIDARG;
        const size_t count = std::min(text.size(), static_cast<size_t>(size));
        std::copy_n(text.begin(), count, buffer);
        if (count < static_cast<size_t>(size))
            buffer[count] = L'\0';
        return S_OK;
    }
    static HRESULT Store(std::wstring& field, LPCWSTR text) {
        field = text != nullptr ? text : L"";
        return S_OK;
    }
    static std::wstring Name(LPCOLESTR fileName) { return fileName != nullptr ? fileName : L"<null>"; }
    static std::wstring Hex(UINT_PTR value) {
        wchar_t text[32];
        std::swprintf(text, 32, L"%llx", static_cast<unsigned long long>(value));
        return text;
    }

    ULONG references_ = 1;
};
