#include "gui/Accessible.h"

#include <ole2.h>
#include <wrl/client.h>

namespace gui {
namespace {

// The accessibility library is loaded when a screen reader first asks, not at start-up.
using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

struct AccessibilityLibrary {
    LresultFromObjectFunction lresultFromObject = nullptr;
    CreateStdAccessibleObjectFunction createStdAccessibleObject = nullptr;
};

const AccessibilityLibrary& Library() {
    static const AccessibilityLibrary library = [] {
        AccessibilityLibrary loaded;
        if (HMODULE module = ::LoadLibraryW(L"oleacc.dll")) {
            loaded.lresultFromObject =
                reinterpret_cast<LresultFromObjectFunction>(::GetProcAddress(module, "LresultFromObject"));
            loaded.createStdAccessibleObject = reinterpret_cast<CreateStdAccessibleObjectFunction>(
                ::GetProcAddress(module, "CreateStdAccessibleObject"));
        }
        return loaded;
    }();
    return library;
}

// Posted to a window to run the default action of one of its objects (wParam: its id).
UINT DoDefaultActionMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"GuiAccessibleDoDefaultAction");
    return message;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT TextAnswer(const std::wstring& text, BSTR* answer) {
    *answer = nullptr;
    if (text.empty())
        return S_FALSE;
    *answer = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
}

} // namespace

// The object a screen reader holds. Unlike the program's other COM objects it counts
// its references: a client in another process may keep it after the window has gone,
// and then gets RPC_E_DISCONNECTED instead of reaching a freed window.
class AccessibleServer::Object final : public IAccessible, public IOleWindow {
public:
    Object(AccessibleServer& server, HWND window, LONG objectId)
        : server_(&server), window_(window), objectId_(objectId) {}
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HWND Window() const { return window_; }
    void Disconnect() {
        server_ = nullptr;
        standard_.Reset();
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible))
            *object = static_cast<IAccessible*>(this);
        else if (riid == IID_IOleWindow)
            *object = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&references_));
    }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = ::InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: no type information; clients use the IAccessible methods.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr)
            *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override {
        if (window == nullptr)
            return E_POINTER;
        *window = server_ != nullptr ? window_ : nullptr;
        return server_ != nullptr ? S_OK : RPC_E_DISCONNECTED;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible: what the window says itself.
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (name == nullptr)
            return E_POINTER;
        *name = nullptr;
        if (!IsSelf(child))
            return Delegate([&](IAccessible& standard) { return standard.get_accName(child, name); });
        return Answer([&] { return TextAnswer(server_->Facts().name, name); });
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr)
            return E_POINTER;
        ::VariantInit(role);
        long own = 0;
        if (IsSelf(child)) {
            HRESULT hr = Answer([&] {
                own = server_->Facts().role;
                return S_OK;
            });
            if (FAILED(hr))
                return hr;
        }
        if (own == 0)
            return Delegate([&](IAccessible& standard) { return standard.get_accRole(child, role); });
        role->vt = VT_I4;
        role->lVal = own;
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr)
            return E_POINTER;
        ::VariantInit(state);
        if (!IsSelf(child))
            return Delegate([&](IAccessible& standard) { return standard.get_accState(child, state); });
        return Answer([&] {
            long flags = server_->Facts().state;
            VARIANT shown;
            ::VariantInit(&shown);
            if (IAccessible* standard = Standard();
                standard != nullptr && SUCCEEDED(standard->get_accState(child, &shown)) && shown.vt == VT_I4)
                flags |= shown.lVal;
            ::VariantClear(&shown);
            state->vt = VT_I4;
            state->lVal = flags;
            return S_OK;
        });
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (action == nullptr)
            return E_POINTER;
        *action = nullptr;
        if (!IsSelf(child))
            return Delegate(
                [&](IAccessible& standard) { return standard.get_accDefaultAction(child, action); });
        return Answer([&] { return TextAnswer(server_->Facts().defaultAction, action); });
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child))
            return Delegate([&](IAccessible& standard) { return standard.accDoDefaultAction(child); });
        return Answer([&] {
            if (!server_->HasDefaultAction() || server_->Facts().defaultAction.empty())
                return DISP_E_MEMBERNOTFOUND;
            return ::PostMessageW(window_, DoDefaultActionMessage(), static_cast<WPARAM>(objectId_), 0)
                       ? S_OK
                       : E_FAIL;
        });
    }

    // IAccessible: the rest is the standard object's.
    STDMETHODIMP get_accParent(IDispatch** parent) override {
        return Delegate([&](IAccessible& s) { return s.get_accParent(parent); }, parent);
    }
    STDMETHODIMP get_accChildCount(long* count) override {
        return Delegate([&](IAccessible& s) { return s.get_accChildCount(count); });
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** dispatch) override {
        return Delegate([&](IAccessible& s) { return s.get_accChild(child, dispatch); }, dispatch);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        return Delegate([&](IAccessible& s) { return s.get_accValue(child, value); }, value);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override {
        return Delegate([&](IAccessible& s) { return s.get_accDescription(child, text); }, text);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* text) override {
        return Delegate([&](IAccessible& s) { return s.get_accHelp(child, text); }, text);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Delegate([&](IAccessible& s) { return s.get_accHelpTopic(file, child, topic); }, file);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Delegate([&](IAccessible& s) { return s.get_accKeyboardShortcut(child, text); }, text);
    }
    STDMETHODIMP get_accFocus(VARIANT* child) override {
        return Delegate([&](IAccessible& s) { return s.get_accFocus(child); });
    }
    STDMETHODIMP get_accSelection(VARIANT* children) override {
        return Delegate([&](IAccessible& s) { return s.get_accSelection(children); });
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override {
        return Delegate([&](IAccessible& s) { return s.accSelect(flags, child); });
    }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return Delegate([&](IAccessible& s) { return s.accLocation(left, top, width, height, child); });
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return Delegate([&](IAccessible& s) { return s.accNavigate(direction, start, end); });
    }
    STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override {
        return Delegate([&](IAccessible& s) { return s.accHitTest(left, top, child); });
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~Object() = default;

    IAccessible* Standard() {
        if (!standard_ && server_ != nullptr && Library().createStdAccessibleObject != nullptr)
            Library().createStdAccessibleObject(window_, objectId_, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(standard_.GetAddressOf()));
        return standard_.Get();
    }

    // Runs an answer of our own; no exception leaves a COM method.
    template <typename F> HRESULT Answer(F&& answer) {
        if (server_ == nullptr)
            return RPC_E_DISCONNECTED;
        try {
            return answer();
        } catch (...) {
            return E_FAIL;
        }
    }
    template <typename F, typename Out = void*> HRESULT Delegate(F&& call, Out* clear = nullptr) {
        if (clear != nullptr)
            *clear = nullptr;
        if (server_ == nullptr)
            return RPC_E_DISCONNECTED;
        IAccessible* standard = Standard();
        return standard != nullptr ? call(*standard) : E_NOTIMPL;
    }

    LONG references_ = 1;
    AccessibleServer* server_;
    HWND window_;
    LONG objectId_;
    Microsoft::WRL::ComPtr<IAccessible> standard_;
};

AccessibleServer::AccessibleServer(std::function<AccessibleFacts()> facts,
                                   std::function<void()> doDefaultAction, LONG objectId)
    : facts_(std::move(facts)), doDefaultAction_(std::move(doDefaultAction)), objectId_(objectId) {}

AccessibleServer::~AccessibleServer() {
    if (object_ == nullptr)
        return;
    object_->Disconnect();
    // Clients in other processes are cut off at once.
    ::CoDisconnectObject(static_cast<IAccessible*>(object_), 0);
    object_->Release();
}

bool AccessibleServer::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result) {
    if (message == DoDefaultActionMessage() && static_cast<LONG>(wParam) == objectId_) {
        if (doDefaultAction_)
            doDefaultAction_();
        result = 0;
        return true;
    }
    if (message != WM_GETOBJECT || static_cast<LONG>(static_cast<DWORD>(lParam)) != objectId_ ||
        Library().lresultFromObject == nullptr)
        return false;
    if (object_ != nullptr && object_->Window() != window) {
        // The window was made again: a new object for it.
        object_->Disconnect();
        object_->Release();
        object_ = nullptr;
    }
    if (object_ == nullptr)
        object_ = new Object(*this, window, objectId_);
    LRESULT answer =
        Library().lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_));
    if (answer < 0)
        return false;
    result = answer;
    return true;
}

void AccessibleServer::NotifyNameChange(HWND window) const {
    if (window != nullptr)
        ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, objectId_, CHILDID_SELF);
}

void AccessibleServer::NotifyStateChange(HWND window) const {
    if (window != nullptr)
        ::NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, objectId_, CHILDID_SELF);
}

} // namespace gui
