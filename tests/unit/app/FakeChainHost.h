#pragma once
// A chain host that records what the chain asks of its window and the platform.
#include "app/InstanceChain.h"

#include <set>
#include <vector>

struct PostedChainMessage {
    HWND to;
    app::TDockChainCode code;
    LPARAM argument;
    bool operator==(const PostedChainMessage&) const = default;
};

class FakeChainHost : public app::IChainHost {
public:
    std::set<HWND> peers;
    std::set<HWND> atOtherEdge; // peers docked at another edge or monitor
    std::vector<PostedChainMessage> posted;
    int redocks = 0;
    bool redockMoves = true; // whether a re-dock changes the bounds
    HWND head = nullptr;     // the first window of a chain found at the edge
    int headSearches = 0;
    std::vector<HWND> watched; // every WatchPrevWnd call, null for "none"
    gui::TColor color = 0x123456;
    std::vector<gui::TColor> received;
    int forgotten = 0;

    bool IsPeerWindow(HWND wnd) override { return peers.count(wnd) != 0; }
    bool SharesEdge(HWND wnd) override { return atOtherEdge.count(wnd) == 0; }
    void PostChain(HWND to, app::TDockChainCode code, LPARAM argument) override {
        posted.push_back({to, code, argument});
    }
    bool Redock() override {
        ++redocks;
        return redockMoves;
    }
    HWND FindChainHead() override {
        ++headSearches;
        return head;
    }
    void WatchPrevWnd(HWND wnd) override { watched.push_back(wnd); }
    gui::TColor CurrentColor() override { return color; }
    void ReceiveBlendColor(gui::TColor c) override { received.push_back(c); }
    void ForgetBlendColor() override { ++forgotten; }
};
