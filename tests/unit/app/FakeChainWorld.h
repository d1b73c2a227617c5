#pragma once
// Several windows of the chain in one place: each has its own InstanceChain, docks at
// the left edge of one work area through the real dock geometry, and their posted
// messages are delivered in order from one queue. Windows of misbehaving peers answer
// with whatever a test scripts. Killing a window ends its "process": whoever watches
// it gets the notice after the messages posted before.
#include "app/DockGeometry.h"
#include "app/InstanceChain.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>

class ChainWorld {
public:
    static constexpr RECT kWorkArea{0, 0, 1280, 800};

    struct Member : app::IChainHost {
        Member(ChainWorld& w, HWND h) : world(w), self(h) { chain.SetSelf(h); }
        ChainWorld& world;
        HWND self;
        RECT bounds{};
        app::TLayout layout = app::loCollapsed;
        HWND watched = nullptr;
        app::InstanceChain chain{*this};

        bool IsPeerWindow(HWND wnd) override { return wnd != self && world.IsAlive(wnd); }
        bool SharesEdge(HWND) override { return true; }
        void PostChain(HWND to, app::TDockChainCode code, LPARAM argument) override {
            world.queue.push_back({to, code, argument, false});
        }
        bool Redock() override {
            std::optional<RECT> previous;
            if (chain.HasPrevWnd() && world.members.count(chain.PrevWnd()))
                previous = world.members.at(chain.PrevWnd())->bounds;
            RECT before = bounds;
            bounds = app::CalcDockRect(gui::alLeft, layout, {4, 300, 225}, kWorkArea, previous, bounds);
            return !EqualRect(&before, &bounds);
        }
        HWND FindChainHead() override {
            for (auto& [h, m] : world.members) {
                if (h != self && !m->chain.Closed() && app::IsChainHead(gui::alLeft, bounds, m->bounds))
                    return h;
            }
            return nullptr;
        }
        void WatchPrevWnd(HWND wnd) override { watched = wnd; }
        gui::TColor CurrentColor() override { return 0; }
        void ReceiveBlendColor(gui::TColor) override {}
        void ForgetBlendColor() override {}

        // What the window does itself after its size changed (FormResize).
        void Resized() {
            if (chain.HasNextWnd())
                PostChain(chain.NextWnd(), app::dcRedock, reinterpret_cast<LPARAM>(self));
        }
    };

    using Rogue = std::function<void(ChainWorld&, app::TDockChainCode code, LPARAM argument)>;

    // A new instance: docks alone at the edge, then joins the chain found there.
    Member& Start(HWND h) {
        auto& m = *members.emplace(h, std::make_unique<Member>(*this, h)).first->second;
        m.Redock();
        if (HWND head = m.FindChainHead())
            m.chain.Join(head);
        return m;
    }
    void AddRogue(HWND h, Rogue answer) { rogues[h] = std::move(answer); }
    // Ends the window's process. The notice is queued after what is already posted,
    // or, with `overtaking`, before it (another process's messages were still on
    // their way when the system's wait fired).
    void Kill(HWND h, bool overtaking = false) {
        members.erase(h);
        for (auto& [other, m] : members) {
            if (m->watched != h)
                continue;
            Message notice{other, app::dcJoin, reinterpret_cast<LPARAM>(h), true};
            if (overtaking)
                queue.push_front(notice);
            else
                queue.push_back(notice);
        }
    }
    // Delivers queued messages until the condition holds (or nothing is left).
    template <typename Condition> void RunUntil(Condition condition) {
        while (!queue.empty() && !condition())
            Run(1);
    }
    bool IsAlive(HWND h) const { return members.count(h) != 0 || rogues.count(h) != 0; }
    Member& operator[](HWND h) { return *members.at(h); }

    // Delivers queued messages until none is left or the limit is reached; answers
    // how many were delivered.
    int Run(int limit = 10000) {
        int delivered = 0;
        while (!queue.empty() && delivered < limit) {
            Message message = queue.front();
            queue.pop_front();
            ++delivered;
            if (auto m = members.find(message.to); m != members.end()) {
                if (message.processEnded)
                    m->second->chain.PreviousEnded(reinterpret_cast<HWND>(message.argument));
                else
                    m->second->chain.Receive(message.code, message.argument);
            } else if (auto r = rogues.find(message.to); r != rogues.end()) {
                r->second(*this, message.code, message.argument);
            }
        }
        return delivered;
    }

    struct Message {
        HWND to;
        app::TDockChainCode code;
        LPARAM argument;
        bool processEnded;
    };
    std::map<HWND, std::unique_ptr<Member>> members;
    std::map<HWND, Rogue> rogues;
    std::deque<Message> queue;
};
