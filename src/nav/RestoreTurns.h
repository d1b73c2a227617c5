#pragma once
// The frames that have remembered items to put back take turns at the application's
// idle time: each idle turn serves one frame, which restores one item. However many
// frames restore at once, the window does one item's work between two looks at its
// message queue.
#include "gui/Application.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace nav {

class RestoreTurns {
public:
    // One turn of a waiting party: true when it did some work, false when it could not
    // yet (and the turn goes on to the next party).
    using Turn = std::function<bool()>;

    // The one queue of the process, which all frames share.
    static RestoreTurns& Instance();

    RestoreTurns();
    RestoreTurns(const RestoreTurns&) = delete;
    RestoreTurns& operator=(const RestoreTurns&) = delete;

    // Adds party (identified by key) at the end of the queue; a party in it already
    // keeps its place.
    void Join(const void* key, Turn turn);
    // Takes the party out; safe when it is not in the queue, and from inside a turn.
    void Leave(const void* key);
    bool Waiting(const void* key) const;
    std::size_t Count() const { return parties_.size(); }

    // Serves the next party that can work, in turn after the one served last. Raised
    // from the application's idle time.
    void Idle();

private:
    struct Party {
        const void* key;
        Turn turn;
    };
    std::vector<Party> parties_;
    // Index of the party whose turn comes next.
    std::size_t next_ = 0;
    std::unique_ptr<gui::ApplicationEvents> hook_;
};

} // namespace nav
