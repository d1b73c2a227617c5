#pragma once
// What a window of ours tells a screen reader, through the system's accessibility
// interface (Active Accessibility, which the system's UI Automation proxy serves to
// modern screen readers too). A window answers WM_GETOBJECT through an AccessibleServer
// with its name, role, state and default action; everything else (its place, parent,
// neighbours, focus) comes from the system's standard object for the window.
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <string>

namespace gui {

struct AccessibleFacts {
    std::wstring name;
    // A ROLE_SYSTEM_ value; 0 keeps the role of the system's standard object.
    long role = 0;
    // STATE_SYSTEM_ flags, added to those the window's standard object shows (focus,
    // visibility, availability).
    long state = 0;
    // What the default action is called; empty when there is none.
    std::wstring defaultAction;
};

class AccessibleServer {
public:
    // facts is asked at every question, so that the answers follow the window's state;
    // doDefaultAction runs the default action (posted to the window first, so that it
    // never runs inside a call of the screen reader). objectId is OBJID_CLIENT (the
    // window's content) or OBJID_WINDOW (the window as a whole).
    explicit AccessibleServer(std::function<AccessibleFacts()> facts,
                              std::function<void()> doDefaultAction = {}, LONG objectId = OBJID_CLIENT);
    // A screen reader may hold the object longer: from now on it answers that the
    // window has gone.
    ~AccessibleServer();
    AccessibleServer(const AccessibleServer&) = delete;
    AccessibleServer& operator=(const AccessibleServer&) = delete;

    // For the window's procedure: answers WM_GETOBJECT for this object and runs a
    // default action posted before. True when the message was handled, with result.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Tells screen readers that the object's name or state changed.
    void NotifyNameChange(HWND window) const;
    void NotifyStateChange(HWND window) const;

private:
    class Object;
    friend class Object;
    AccessibleFacts Facts() const { return facts_ ? facts_() : AccessibleFacts{}; }
    bool HasDefaultAction() const { return static_cast<bool>(doDefaultAction_); }

    std::function<AccessibleFacts()> facts_;
    std::function<void()> doDefaultAction_;
    LONG objectId_;
    Object* object_ = nullptr;
};

} // namespace gui
