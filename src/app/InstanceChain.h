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
    // Whether a peer is docked at this window's edge of this window's monitor.
    virtual bool SharesEdge(HWND wnd) = 0;
    virtual void PostChain(HWND to, TDockChainCode code, LPARAM argument) = 0;
    // Moves the window into its slot after the previous window (or to the edge);
    // answers whether its bounds changed.
    virtual bool Redock() = 0;
    // The first window of a chain at this window's edge and monitor, or null.
    virtual HWND FindChainHead() = 0;
    // Watches the process of this window from now on (null: none), so that its end is
    // reported through InstanceChain::PreviousEnded as soon as it happens.
    virtual void WatchPrevWnd(HWND wnd) = 0;
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
    bool JoinPending() const { return joinPending_; }
    bool Closed() const { return closed_; }

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
    // Leaves for good, as the window closes: from now on it never takes a place in a
    // chain again and only passes on joins that still reach it.
    void Close();

    // The process of this previous window has ended (the window is gone even if the
    // system has not destroyed it yet): the window closes the gap at once.
    void PreviousEnded(HWND wnd);
    // A cheap check for a previous window that vanished unnoticed.
    void CheckPrevious();
    // The monitors or their work areas changed: the window docks again and its next
    // window follows. A first window that had to move to another monitor (displaced)
    // joins the chain it finds at its edge there.
    void DisplayChanged(bool displaced);

private:
    void SetPrev(HWND wnd);
    // Moves into the slot; when that changed the bounds, the next window follows.
    void Redock();
    // The previous window vanished without leaving: dock at the edge, join the chain
    // found there, and bring the rest of this chain along.
    void LosePrevious();

    IChainHost& host_;
    HWND self_ = nullptr;
    HWND FPrevWnd = nullptr;
    HWND FNextWnd = nullptr;
    bool joinPending_ = false;
    bool closed_ = false;
    // The links held when the window closed, for joins that still reach it.
    HWND formerPrev_ = nullptr;
    HWND formerNext_ = nullptr;
};

} // namespace app
