#pragma once
// The links of one window in the chain of instances docked at one edge, and what the
// window does with each chain message. The window and the platform are reached
// through IChainHost, so the decisions are testable without other processes.
#include "gui/Color.h"

#include <windows.h>

namespace app {

constexpr UINT WM_DOCKCHAIN = 0x804E; // WM_APP + 0x4E

enum TDockChainCode : WPARAM {
    dcJoin = 0,
    dcAccept = 1,
    dcLinkNext = 2,
    dcColor = 3,
    dcRedock = 4,
    dcPrevLeft = 5,
    dcNextLeft = 6,
};

class IChainHost {
public:
    virtual ~IChainHost() = default;
    // Another live main window of this program (never the own one).
    virtual bool IsPeerWindow(HWND wnd) = 0;
    virtual void PostChain(HWND to, TDockChainCode code, LPARAM argument) = 0;
    // Moves the window into its slot after the previous window (or to the edge).
    virtual void Redock() = 0;
    virtual gui::TColor CurrentColor() = 0;
    // The previous window's colour arrived: keep it and recompute the own colour.
    virtual void ReceiveBlendColor(gui::TColor color) = 0;
    // The previous window has gone: its colour is no longer known.
    virtual void ForgetBlendColor() = 0;
};

class InstanceChain {
public:
    explicit InstanceChain(IChainHost& host) : host_(host) {}
    // The own window, once it exists; the window is then alone.
    void SetSelf(HWND self) { self_ = FPrevWnd = FNextWnd = self; }

    HWND Self() const { return self_; }
    HWND PrevWnd() const { return FPrevWnd; }
    HWND NextWnd() const { return FNextWnd; }

    // Whether the link leads to a live peer; a link to a window that has gone is
    // forgotten (with the neighbour colour, for the previous window).
    bool HasPrevWnd();
    bool HasNextWnd();

    // Acts on a chain message; unknown codes and messages naming windows that are not
    // peers change nothing.
    void Receive(WPARAM code, LPARAM argument);

    // Asks the first window of a chain to take this window in.
    void Join(HWND first);
    // Tells the neighbours that this window leaves, then forgets both links.
    void Leave();

private:
    IChainHost& host_;
    HWND self_ = nullptr;
    HWND FPrevWnd = nullptr;
    HWND FNextWnd = nullptr;
};

} // namespace app
