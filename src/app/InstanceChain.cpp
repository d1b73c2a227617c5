#include "app/InstanceChain.h"

namespace app {
namespace {

HWND AsWindow(LPARAM argument) {
    return reinterpret_cast<HWND>(argument);
}
LPARAM AsArgument(HWND wnd) {
    return reinterpret_cast<LPARAM>(wnd);
}

} // namespace

bool InstanceChain::HasPrevWnd() {
    if (host_.IsPeerWindow(FPrevWnd))
        return true;
    if (FPrevWnd != self_) {
        SetPrev(self_);
        host_.ForgetBlendColor();
    }
    return false;
}

bool InstanceChain::HasNextWnd() {
    if (host_.IsPeerWindow(FNextWnd))
        return true;
    FNextWnd = self_;
    return false;
}

void InstanceChain::SetPrev(HWND wnd) {
    if (wnd == FPrevWnd)
        return;
    FPrevWnd = wnd;
    host_.WatchPrevWnd(wnd == self_ ? nullptr : wnd);
}

void InstanceChain::Redock() {
    if (FPrevWnd != self_ && !host_.IsPeerWindow(FPrevWnd)) {
        LosePrevious();
        return;
    }
    // Only a window that moved can have moved the rest of the chain, so a cascade
    // stops where nothing changes, and a ring of misbehaving windows cannot keep one
    // going for ever (the slot never leaves the work area, so the moves run out).
    if (host_.Redock() && HasNextWnd())
        host_.PostChain(FNextWnd, dcRedock, AsArgument(self_));
}

void InstanceChain::LosePrevious() {
    SetPrev(self_);
    host_.ForgetBlendColor();
    bool moved = host_.Redock();
    // At the edge the window may now be where another chain's first window is; it
    // joins that chain, bringing its own next windows along once accepted.
    if (!joinPending_) {
        if (HWND head = host_.FindChainHead())
            Join(head);
    }
    if (moved && HasNextWnd())
        host_.PostChain(FNextWnd, dcRedock, AsArgument(self_));
}

void InstanceChain::Receive(WPARAM code, LPARAM argument) {
    HWND sender = AsWindow(argument);
    if (closed_) {
        // A join that was on its way through this window when it left goes on to
        // where the chain continues; the window itself never takes it in.
        if (code != dcJoin || sender == self_)
            return;
        if (host_.IsPeerWindow(formerNext_))
            host_.PostChain(formerNext_, dcJoin, argument);
        else if (host_.IsPeerWindow(formerPrev_))
            host_.PostChain(formerPrev_, dcJoin, argument);
        return;
    }
    switch (code) {
    case dcJoin:
        // The joining window's handle travels down to the last window, which accepts
        // it. A handle that is no peer is never answered: the private message must
        // not reach windows of other programs. A join that comes back to the joiner,
        // or one from the own previous window, went round a ring and is dropped.
        if (sender == self_)
            break;
        if (HasNextWnd())
            host_.PostChain(FNextWnd, dcJoin, argument);
        else if (host_.IsPeerWindow(sender) && sender != FPrevWnd)
            host_.PostChain(sender, dcAccept, AsArgument(self_));
        break;
    case dcAccept:
        // Only the answer to this window's own join counts, and only from a window
        // at its present edge: a late answer from the chain of an edge the window has
        // since left, or from its own next window, would link it wrongly.
        if (!joinPending_ || !host_.IsPeerWindow(sender) || sender == FNextWnd || !host_.SharesEdge(sender))
            break;
        joinPending_ = false;
        SetPrev(sender);
        Redock();
        host_.PostChain(FPrevWnd, dcLinkNext, AsArgument(self_));
        break;
    case dcLinkNext:
        // The own previous window never becomes the next one as well.
        if (!host_.IsPeerWindow(sender) || sender == FPrevWnd)
            break;
        FNextWnd = sender;
        host_.PostChain(FNextWnd, dcColor, static_cast<LPARAM>(host_.CurrentColor()));
        // The new next window docked against this window's bounds as they were when it
        // asked; if this window has moved since (its own previous window was killed in
        // between), the next one must follow. Where nothing moved the re-dock ends there.
        host_.PostChain(FNextWnd, dcRedock, AsArgument(self_));
        break;
    case dcColor:
        host_.ReceiveBlendColor(static_cast<gui::TColor>(static_cast<ULONG_PTR>(argument) & 0xFFFFFFFFu));
        break;
    case dcRedock:
        Redock();
        break;
    case dcPrevLeft:
        // The argument is the leaving window's previous window, or the leaving window
        // itself when it was first (which is then our previous window). The own next
        // window is never taken as the previous one.
        SetPrev(sender == FPrevWnd || sender == FNextWnd || !host_.IsPeerWindow(sender) ? self_ : sender);
        Redock();
        if (HasPrevWnd())
            host_.PostChain(FPrevWnd, dcLinkNext, AsArgument(self_));
        break;
    case dcNextLeft:
        FNextWnd = self_;
        break;
    default:
        break;
    }
}

void InstanceChain::Join(HWND first) {
    if (closed_)
        return;
    joinPending_ = true;
    host_.PostChain(first, dcJoin, AsArgument(self_));
}

void InstanceChain::Leave() {
    if (HasNextWnd())
        host_.PostChain(FNextWnd, dcPrevLeft, AsArgument(FPrevWnd));
    else if (HasPrevWnd())
        host_.PostChain(FPrevWnd, dcNextLeft, AsArgument(self_));
    joinPending_ = false;
    SetPrev(self_);
    FNextWnd = self_;
}

void InstanceChain::Close() {
    if (closed_)
        return;
    formerPrev_ = HasPrevWnd() ? FPrevWnd : nullptr;
    formerNext_ = HasNextWnd() ? FNextWnd : nullptr;
    Leave();
    closed_ = true;
}

void InstanceChain::PreviousEnded(HWND wnd) {
    if (closed_ || wnd == nullptr || wnd != FPrevWnd || wnd == self_)
        return;
    LosePrevious();
}

void InstanceChain::DisplayChanged(bool displaced) {
    if (closed_)
        return;
    if (FPrevWnd != self_ && !host_.IsPeerWindow(FPrevWnd)) {
        LosePrevious();
        return;
    }
    host_.Redock();
    // Only a window that changed monitors looks for a chain: the chain that was at that
    // edge already stays put and looks for none, so two chains never join each other
    // at once. The own next window may have followed to the same corner before this
    // window moved; it is no chain to join.
    if (displaced && FPrevWnd == self_ && !joinPending_) {
        HWND head = host_.FindChainHead();
        if (head != nullptr && head != FNextWnd)
            Join(head);
    }
    // The next window follows even where this one did not move: its own work area may
    // have changed.
    if (HasNextWnd())
        host_.PostChain(FNextWnd, dcRedock, AsArgument(self_));
}

void InstanceChain::CheckPrevious() {
    if (!closed_ && FPrevWnd != self_ && !host_.IsPeerWindow(FPrevWnd))
        LosePrevious();
}

} // namespace app
