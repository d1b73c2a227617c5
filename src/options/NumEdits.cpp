#include "options/NumEdits.h"

#include "appdata/XMLRegFileErrors.h"

#include <algorithm>

namespace options {
namespace {

std::optional<std::wstring> SystemClipboardText() {
    if (!::IsClipboardFormatAvailable(CF_TEXT) && !::IsClipboardFormatAvailable(CF_UNICODETEXT))
        return std::nullopt;
    if (!::OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = std::wstring(chars, wcsnlen(chars, ::GlobalSize(data) / sizeof(wchar_t)));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

} // namespace

TCustomNumEdit::TCustomNumEdit(gui::Window& parent, const RECT& bounds)
    : gui::Edit(parent, bounds), ClipboardText(SystemClipboardText) {}

void TCustomNumEdit::KeyPress(wchar_t& key) {
    gui::Edit::KeyPress(key);
    if (key != 0 && !IsFilterChar(key, FFilters)) {
        ::MessageBeep(0);
        key = 0;
    }
}

LRESULT TCustomNumEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PASTE && !FFilters.Empty()) {
        Paste();
        return 0;
    }
    return gui::Edit::HandleMessage(message, wParam, lParam);
}

void TCustomNumEdit::Paste() {
    PasteAction action = DecidePaste(ClipboardText ? ClipboardText() : std::nullopt, FFilters);
    if (action.beep)
        ::MessageBeep(0);
    if (action.text)
        Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(action.text->c_str()));
}

TInternalUpDown::TInternalUpDown(TUpDownEdit& owner, gui::Window& parent)
    : gui::UpDown(parent), FOwner(owner) {}

int TInternalUpDown::Position() {
    if (std::optional<int> typed = WholeNumber(FOwner.Text())) {
        int low = std::min(Min(), Max());
        int high = std::max(Min(), Max());
        if (*typed >= low && *typed <= high && *typed != StoredPosition())
            Send(UDM_SETPOS32, 0, *typed);
    }
    return StoredPosition();
}

void TInternalUpDown::SetPosition(int position) {
    gui::UpDown::SetPosition(position);
    FOwner.Count(*this);
    FOwner.EndUpdate();
}

bool TInternalUpDown::CanChange(int newPosition, int delta) {
    bool allow = gui::UpDown::CanChange(newPosition, delta);
    if (allow)
        FOwner.BeginUpdate();
    return allow;
}

void TInternalUpDown::Stepped() {
    gui::UpDown::Stepped();
    FOwner.Count(*this);
    FOwner.EndUpdate();
}

TUpDownEdit::TUpDownEdit(gui::Window& parent, const RECT& bounds) : TCustomNumEdit(parent, bounds) {
    FUpDown = std::make_unique<TInternalUpDown>(*this, parent);
    FUpDown->SetBuddy(Handle());
    SetBounds(bounds);
    SetText(L"0");
}

TUpDownEdit::~TUpDownEdit() = default;

TInternalUpDown* TUpDownEdit::UpDown() const {
    return FUpDown != nullptr && FUpDown->Handle() != nullptr ? FUpDown.get() : nullptr;
}

void TUpDownEdit::EndUpdate() {
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0)
        DoVerify();
}

TNumericallyRelationship TUpDownEdit::Relation() {
    TInternalUpDown* upDown = UpDown();
    return GetRelation(Text(), upDown != nullptr ? upDown->Position() : 0);
}

int TUpDownEdit::Value() {
    if (TInternalUpDown* upDown = UpDown())
        return upDown->Position();
    std::wstring text = Text();
    std::optional<int> value = WholeNumber(text);
    if (!value)
        throw appdata::EConvertError(appdata::FormatText(appdata::messages::kNotInteger, {text}));
    return *value;
}

void TUpDownEdit::SetValue(int value) {
    BeginUpdate();
    try {
        if (TInternalUpDown* upDown = UpDown())
            upDown->SetPosition(value);
        SetText(std::to_wstring(value));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TUpDownEdit::SetBounds(const RECT& bounds) {
    TCustomNumEdit::SetBounds(bounds);
    if (TInternalUpDown* upDown = UpDown())
        upDown->SetBounds(gui::MakeRect(bounds.right, bounds.top, upDown->Width(), gui::Height(bounds)));
}

void TUpDownEdit::SetEnabled(bool enabled) {
    TCustomNumEdit::SetEnabled(enabled);
    if (TInternalUpDown* upDown = UpDown())
        upDown->SetEnabled(enabled);
}

void TUpDownEdit::SetVisible(bool visible) {
    TCustomNumEdit::SetVisible(visible);
    if (TInternalUpDown* upDown = UpDown())
        upDown->SetVisible(visible);
}

void TUpDownEdit::Count(gui::Window& sender) {
    if (OnCount)
        OnCount(sender);
}

void TUpDownEdit::Change() {
    if (FUpdateCount != 0)
        return;
    BeginUpdate();
    try {
        TCustomNumEdit::Change();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TUpDownEdit::DoVerify() {
    TInternalUpDown* upDown = UpDown();
    if (upDown == nullptr || !OnVerify)
        return;
    ++FUpdateCount;
    try {
        std::wstring text = Text();
        int position = upDown->Position();
        OnVerify(*this, text, position, GetRelation(text, position));
        if (text != Text() || position != upDown->Position()) {
            // Without its buddy the button cannot rewrite the text while both are set.
            upDown->SetBuddy(nullptr);
            try {
                SetText(text);
                upDown->SetPosition(position);
            } catch (...) {
                upDown->SetBuddy(Handle());
                throw;
            }
            upDown->SetBuddy(Handle());
        }
    } catch (...) {
        if (FUpdateCount > 0)
            --FUpdateCount;
        throw;
    }
    if (FUpdateCount > 0)
        --FUpdateCount;
}

} // namespace options
