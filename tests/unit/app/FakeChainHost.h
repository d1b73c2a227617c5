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
    std::vector<PostedChainMessage> posted;
    int redocks = 0;
    gui::TColor color = 0x123456;
    std::vector<gui::TColor> received;
    int forgotten = 0;

    bool IsPeerWindow(HWND wnd) override { return peers.count(wnd) != 0; }
    void PostChain(HWND to, app::TDockChainCode code, LPARAM argument) override {
        posted.push_back({to, code, argument});
    }
    void Redock() override { ++redocks; }
    gui::TColor CurrentColor() override { return color; }
    void ReceiveBlendColor(gui::TColor c) override { received.push_back(c); }
    void ForgetBlendColor() override { ++forgotten; }
};
