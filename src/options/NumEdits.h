#pragma once
// An edit field for whole numbers with an up-down button at its right side. It filters
// what can be typed or pasted, keeps the text and the button's position in step, and
// after every change of text or position fires one verification event; update
// brackets group several changes so that the event fires once, at the end.
#include "gui/Edit.h"
#include "gui/UpDown.h"
#include "options/NumFilters.h"

#include <functional>
#include <memory>
#include <string>

namespace options {

// A single-line edit whose typed and pasted characters pass its filters.
class TCustomNumEdit : public gui::Edit {
public:
    TCustomNumEdit(gui::Window& parent, const RECT& bounds);

    TFilterChars Filters() const { return FFilters; }
    void SetFilters(TFilterChars filters) { FFilters = filters; }

    // The clipboard's text, or none when it holds no text (tests replace it).
    std::function<std::optional<std::wstring>()> ClipboardText;

protected:
    void KeyPress(wchar_t& key) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    TFilterChars FFilters;

private:
    void Paste();
};

class TUpDownEdit;

// The up-down button of one TUpDownEdit: it opens the edit's update bracket before
// each change and closes it after each step.
class TInternalUpDown : public gui::UpDown {
public:
    static constexpr const wchar_t* Name = L"InternalUD";

    TInternalUpDown(TUpDownEdit& owner, gui::Window& parent);

    // The position, after adopting the edit's text when that is a whole number within
    // Min..Max; any other text leaves the position as it was.
    int Position();
    void SetPosition(int position) override;

protected:
    bool CanChange(int newPosition, int delta) override;
    void Stepped() override;

private:
    TUpDownEdit& FOwner;
};

class TUpDownEdit : public TCustomNumEdit {
public:
    using TNumericallyVerifyEvent = std::function<void(TUpDownEdit& sender, std::wstring& text, int& position,
                                                       TNumericallyRelationship relation)>;

    TUpDownEdit(gui::Window& parent, const RECT& bounds);
    ~TUpDownEdit() override;

    // The button, or null once its window has gone.
    TInternalUpDown* UpDown() const;
    int UpdateCount() const { return FUpdateCount; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    TNumericallyRelationship Relation();
    // The position (or, without the button, the text as a whole number).
    int Value();
    void SetValue(int value);

    // Places the edit, and the button directly right of it at the same height.
    void SetBounds(const RECT& bounds);
    void SetEnabled(bool enabled);
    void SetVisible(bool visible);

    // After each step of the button (Sender: the button).
    std::function<void(gui::Window& sender)> OnCount;
    TNumericallyVerifyEvent OnVerify;

protected:
    void Change() override;
    virtual void DoVerify();

private:
    friend class TInternalUpDown;
    void Count(gui::Window& sender);

    std::unique_ptr<TInternalUpDown> FUpDown;
    int FUpdateCount = 0;
};

} // namespace options
