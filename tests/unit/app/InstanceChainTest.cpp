#include "app/InstanceChain.h"

#include "FakeChainHost.h"
#include "FakeChainWorld.h"

#include <gtest/gtest.h>

using namespace app;

namespace {

HWND H(int n) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000 + n));
}
LPARAM A(HWND h) {
    return reinterpret_cast<LPARAM>(h);
}

const HWND kSelf = H(0);
const HWND kPrev = H(1);
const HWND kNext = H(2);
const HWND kJoiner = H(3);
const HWND kStranger = H(9); // a window of another program
HWND W(int n) {
    return H(100 + n);
} // windows of a ChainWorld

class InstanceChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.peers = {kPrev, kNext, kJoiner};
        chain.SetSelf(kSelf);
    }
    // Links the window between kPrev and kNext as the chain's messages would.
    void LinkBoth() {
        chain.Join(kPrev);
        chain.Receive(dcAccept, A(kPrev));
        chain.Receive(dcLinkNext, A(kNext));
        host.posted.clear();
        host.watched.clear();
        host.redocks = 0;
    }
    FakeChainHost host;
    InstanceChain chain{host};
};

TEST_F(InstanceChainTest, AloneTheWindowAcceptsAJoinerAndSendsItsColourOnLink) {
    chain.Receive(dcJoin, A(kJoiner));
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kJoiner, dcAccept, A(kSelf)}}));

    host.posted.clear();
    chain.Receive(dcLinkNext, A(kJoiner));
    EXPECT_EQ(chain.NextWnd(), kJoiner);
    EXPECT_EQ(host.posted,
              (std::vector<PostedChainMessage>{{kJoiner, dcColor, 0x123456}, {kJoiner, dcRedock, A(kSelf)}}));
}

TEST_F(InstanceChainTest, JoinTravelsToTheLastWindow) {
    LinkBoth();
    chain.Receive(dcJoin, A(kJoiner));
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcJoin, A(kJoiner)}}));
}

TEST_F(InstanceChainTest, AcceptLinksRedocksAndAnswers) {
    chain.Join(kPrev);
    EXPECT_TRUE(chain.JoinPending());
    host.posted.clear();
    chain.Receive(dcAccept, A(kPrev));
    EXPECT_FALSE(chain.JoinPending());
    EXPECT_EQ(host.watched, (std::vector<HWND>{kPrev})); // its process is watched from now on
    EXPECT_EQ(chain.PrevWnd(), kPrev);
    EXPECT_EQ(chain.NextWnd(), kSelf);
    EXPECT_EQ(host.redocks, 1);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kPrev, dcLinkNext, A(kSelf)}}));
}

TEST_F(InstanceChainTest, AcceptKeepsALiveNextWindowAndRedocksIt) {
    // The window lost its previous window and joins the chain at its edge again.
    LinkBoth();
    host.peers.erase(kPrev);
    chain.Join(kJoiner);
    host.posted.clear();
    chain.Receive(dcAccept, A(kJoiner));
    EXPECT_EQ(chain.PrevWnd(), kJoiner);
    EXPECT_EQ(chain.NextWnd(), kNext);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcRedock, A(kSelf)},
                                                            {kJoiner, dcLinkNext, A(kSelf)}}));
}

TEST_F(InstanceChainTest, ColourTakesTheLow32Bits) {
    chain.Receive(dcColor, static_cast<LPARAM>(0x7700000000FF000Fll));
    EXPECT_EQ(host.received, (std::vector<gui::TColor>{0xFF000Fu}));
}

TEST_F(InstanceChainTest, RedockPassesOnOnlyWhenTheWindowMoved) {
    LinkBoth();
    chain.Receive(dcRedock, A(kPrev));
    EXPECT_EQ(host.redocks, 1);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcRedock, A(kSelf)}}));

    // Where nothing moved, nothing after it has to: the cascade ends here.
    host.posted.clear();
    host.redockMoves = false;
    chain.Receive(dcRedock, A(kPrev));
    EXPECT_EQ(host.redocks, 2);
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(InstanceChainTest, PrevLeftLinksToTheLeaversPrevious) {
    const HWND kFirst = H(4);
    host.peers.insert(kFirst);
    LinkBoth();
    chain.Receive(dcPrevLeft, A(kFirst));
    EXPECT_EQ(chain.PrevWnd(), kFirst);
    EXPECT_EQ(host.redocks, 1);
    EXPECT_EQ(host.watched, (std::vector<HWND>{kFirst}));
    EXPECT_EQ(host.posted,
              (std::vector<PostedChainMessage>{{kNext, dcRedock, A(kSelf)}, {kFirst, dcLinkNext, A(kSelf)}}));
}

TEST_F(InstanceChainTest, PrevLeftFromTheFirstMakesThisWindowFirst) {
    LinkBoth();
    chain.Receive(dcPrevLeft, A(kPrev)); // the leaver was first: it names itself
    EXPECT_EQ(chain.PrevWnd(), kSelf);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcRedock, A(kSelf)}}));
    EXPECT_TRUE(host.received.empty()); // the colour stays as it was
}

TEST_F(InstanceChainTest, NextLeftMakesThisWindowLast) {
    LinkBoth();
    chain.Receive(dcNextLeft, 0);
    EXPECT_EQ(chain.NextWnd(), kSelf);
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(InstanceChainTest, LeavingTellsTheNextOrElseThePrevious) {
    LinkBoth();
    chain.Leave();
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcPrevLeft, A(kPrev)}}));
    EXPECT_EQ(chain.PrevWnd(), kSelf);
    EXPECT_EQ(chain.NextWnd(), kSelf);

    host.posted.clear();
    chain.Join(kPrev);
    chain.Receive(dcAccept, A(kPrev));
    host.posted.clear();
    host.watched.clear();
    chain.Leave();
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kPrev, dcNextLeft, A(kSelf)}}));
    EXPECT_EQ(host.watched, (std::vector<HWND>{nullptr})); // nothing to watch any more

    host.posted.clear();
    chain.Leave(); // alone: nothing to tell
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(InstanceChainTest, NeighboursThatVanishedAreForgotten) {
    LinkBoth();
    host.peers.clear(); // both processes were killed
    EXPECT_FALSE(chain.HasPrevWnd());
    EXPECT_FALSE(chain.HasNextWnd());
    EXPECT_EQ(chain.PrevWnd(), kSelf);
    EXPECT_EQ(chain.NextWnd(), kSelf);
    EXPECT_EQ(host.forgotten, 1);
    chain.Leave();
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(InstanceChainTest, MessagesNamingStrangersOrUnknownCodesChangeNothing) {
    LinkBoth();
    chain.Receive(dcAccept, A(kStranger));
    chain.Receive(dcLinkNext, A(kStranger));
    chain.Receive(7, A(kJoiner));
    chain.Receive(static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(chain.PrevWnd(), kPrev);
    EXPECT_EQ(chain.NextWnd(), kNext);
    EXPECT_TRUE(host.posted.empty());
    EXPECT_EQ(host.redocks, 0);

    // The last window never answers a join for a window that is not a peer.
    chain.Receive(dcNextLeft, 0);
    chain.Receive(dcJoin, A(kStranger));
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(InstanceChainTest, PrevLeftNamingAStrangerLeavesTheWindowFirst) {
    LinkBoth();
    chain.Receive(dcPrevLeft, A(kStranger));
    EXPECT_EQ(chain.PrevWnd(), kSelf);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcRedock, A(kSelf)}}));
}

} // namespace

namespace {

TEST_F(InstanceChainTest, AnAcceptThatWasNotAskedForOrComesFromAnotherEdgeChangesNothing) {
    const HWND kOtherEdgesLast = H(5);
    host.peers.insert(kOtherEdgesLast);
    host.atOtherEdge.insert(kOtherEdgesLast);
    auto unchanged = [&](const char* what) {
        EXPECT_EQ(chain.PrevWnd(), kSelf) << what;
        EXPECT_EQ(host.redocks, 0) << what;
        EXPECT_TRUE(host.posted.empty()) << what;
        EXPECT_TRUE(host.watched.empty()) << what;
    };
    chain.Receive(dcAccept, A(kPrev));
    unchanged("no join pending");

    // The title bar was dragged across a corner: the join asked at the top edge is
    // answered after the window has moved on to the left edge and asked there.
    chain.Join(H(6));
    chain.Leave();
    chain.Join(kPrev);
    host.posted.clear();
    host.watched.clear();
    chain.Receive(dcAccept, A(kOtherEdgesLast));
    unchanged("answer from the edge the window left");
    EXPECT_TRUE(chain.JoinPending());

    chain.Receive(dcAccept, A(kPrev));
    EXPECT_EQ(chain.PrevWnd(), kPrev);
    host.posted.clear();
    host.redocks = 0;
    chain.Receive(dcAccept, A(kJoiner)); // a second answer to the same join
    EXPECT_EQ(chain.PrevWnd(), kPrev);
    EXPECT_EQ(host.redocks, 0);
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(InstanceChainTest, TwoWindowsNeverBecomeEachOthersNext) {
    // Each message would make one neighbour both the previous and the next window.
    struct Case {
        const char* what;
        WPARAM code;
        HWND from;
    } cases[] = {
        {"accept from the own next window", dcAccept, kNext},
        {"link from the own previous window", dcLinkNext, kPrev},
        {"join from the own previous window, at the last window", dcJoin, kPrev},
        {"own join come round a ring", dcJoin, kSelf},
        {"the next window named as the leaver's previous", dcPrevLeft, kNext},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.posted.clear();
        chain.SetSelf(kSelf);
        LinkBoth();
        if (c.code == dcJoin && c.from == kPrev)
            chain.Receive(dcNextLeft, 0); // this window is last
        chain.Join(kPrev);
        host.posted.clear();
        chain.Receive(c.code, A(c.from));
        if (chain.PrevWnd() != kSelf) {
            EXPECT_NE(chain.PrevWnd(), chain.NextWnd());
        }
        for (const PostedChainMessage& m : host.posted)
            EXPECT_EQ(m.code, dcRedock); // neither an answer nor a link
    }
}

TEST_F(InstanceChainTest, TheEndOfThePreviousProcessClosesTheGapAtOnce) {
    LinkBoth();
    host.peers.erase(kPrev); // killed
    host.head = H(7);        // the chain's first window, found at the edge
    host.peers.insert(H(7));
    chain.PreviousEnded(kPrev);
    EXPECT_EQ(chain.PrevWnd(), kSelf);
    EXPECT_EQ(host.forgotten, 1);
    EXPECT_EQ(host.redocks, 1);
    EXPECT_EQ(host.watched, (std::vector<HWND>{nullptr}));
    EXPECT_TRUE(chain.JoinPending());
    EXPECT_EQ(host.posted,
              (std::vector<PostedChainMessage>{{H(7), dcJoin, A(kSelf)}, {kNext, dcRedock, A(kSelf)}}));

    // A notice about a window that is no longer the previous one changes nothing.
    host.posted.clear();
    chain.PreviousEnded(kPrev);
    chain.PreviousEnded(kStranger);
    EXPECT_EQ(host.redocks, 1);
    EXPECT_TRUE(host.posted.empty());
}

TEST_F(InstanceChainTest, AClosedWindowNeverTakesAPlaceAgainButPassesJoinsOn) {
    LinkBoth();
    chain.Close();
    EXPECT_TRUE(chain.Closed());
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcPrevLeft, A(kPrev)}}));
    EXPECT_EQ(host.watched, (std::vector<HWND>{nullptr}));

    host.posted.clear();
    for (WPARAM code : {dcAccept, dcLinkNext, dcColor, dcRedock, dcPrevLeft, dcNextLeft})
        chain.Receive(code, A(kJoiner));
    chain.Join(kJoiner);
    chain.PreviousEnded(kPrev);
    chain.CheckPrevious();
    EXPECT_EQ(chain.PrevWnd(), kSelf);
    EXPECT_EQ(chain.NextWnd(), kSelf);
    EXPECT_EQ(host.redocks, 0);
    EXPECT_TRUE(host.received.empty());
    EXPECT_TRUE(host.posted.empty());

    // A join still on its way through goes on to where the chain continues, and back
    // to the previous window once the next one is gone; it is never accepted here.
    chain.Receive(dcJoin, A(kJoiner));
    host.peers.erase(kNext);
    chain.Receive(dcJoin, A(kJoiner));
    host.peers.erase(kPrev);
    chain.Receive(dcJoin, A(kJoiner));
    EXPECT_EQ(host.posted,
              (std::vector<PostedChainMessage>{{kNext, dcJoin, A(kJoiner)}, {kPrev, dcJoin, A(kJoiner)}}));
}

// Real docking geometry, several windows, one message queue.

LONG LeftOf(ChainWorld& world, HWND h) {
    return world[h].bounds.left;
}

TEST(ChainWorldTest, KillingAnyOfThreeClosesTheChainUpFromTheEdge) {
    for (int killed = 0; killed < 3; ++killed) {
        SCOPED_TRACE(killed);
        ChainWorld world;
        for (int i = 0; i < 3; ++i) {
            world.Start(W(i));
            world.Run();
        }
        ASSERT_EQ(LeftOf(world, W(2)), 8);
        world.Kill(W(killed));
        world.Run();
        LONG expected = 0;
        for (int i = 0; i < 3; ++i) {
            if (i == killed)
                continue;
            EXPECT_EQ(LeftOf(world, W(i)), expected) << "window " << i;
            expected += 4;
        }
        // The chain still moves together: opening the first pushes the other one out.
        HWND first = W(killed == 0 ? 1 : 0), second = W(killed == 2 ? 1 : 2);
        world[first].layout = loExpanded;
        world[first].bounds.right = world[first].bounds.left + 300;
        world[first].Resized();
        world.Run();
        EXPECT_EQ(LeftOf(world, second), 300);
    }
}

TEST(ChainWorldTest, AWindowThatMovedBeforeItsNewNextWasLinkedBringsItAlong) {
    ChainWorld world;
    world.Start(W(0));
    world.Run();
    world.Start(W(1));
    world.Run();
    world.Start(W(2));
    // The third window has docked against the second, whose answer is still on its way
    // when the first window's process ends.
    world.RunUntil([&] { return world[W(2)].bounds.left == 8; });
    ASSERT_EQ(world[W(1)].chain.NextWnd(), W(1));
    world.Kill(W(0), true);
    world.Run();
    EXPECT_EQ(world[W(1)].bounds.left, 0);
    EXPECT_EQ(world[W(2)].bounds.left, 4);
}

TEST(ChainWorldTest, ACascadeEndsWhateverMisbehavingPeersAnswer) {
    struct Case {
        const char* what;
        std::function<void(ChainWorld&)> arrange;
    } cases[] = {
        {"a next window that echoes every re-dock",
         [](ChainWorld& world) {
             const HWND echo = H(50);
             world.AddRogue(echo, [](ChainWorld& w, TDockChainCode code, LPARAM argument) {
                 if (code == dcRedock)
                     w.queue.push_back({reinterpret_cast<HWND>(argument), dcRedock, A(H(50)), false});
             });
             world.queue.push_back({W(2), dcLinkNext, A(echo), false});
         }},
        {"a forged leave that links the first window after the last",
         [](ChainWorld& world) {
             world.queue.push_back({W(0), dcPrevLeft, A(W(2)), false});
         }},
        {"a next window that answers each re-dock with a forged leave closing a ring",
         [](ChainWorld& world) {
             const HWND forger = H(51);
             world.AddRogue(forger, [](ChainWorld& w, TDockChainCode code, LPARAM) {
                 if (code == dcRedock)
                     w.queue.push_back({W(0), dcPrevLeft, A(W(2)), false});
             });
             world.queue.push_back({W(2), dcLinkNext, A(forger), false});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChainWorld world;
        for (int i = 0; i < 3; ++i) {
            world.Start(W(i));
            world.Run();
        }
        c.arrange(world);
        // Something moves the first window, which sets a cascade going.
        world[W(0)].layout = loExpanded;
        world[W(0)].bounds.right = world[W(0)].bounds.left + 300;
        world[W(0)].Resized();
        world.Run(5000);
        EXPECT_TRUE(world.queue.empty()) << world.queue.size() << " messages still going round";
        for (auto& [h, m] : world.members) {
            EXPECT_GE(m->bounds.left, ChainWorld::kWorkArea.left);
            EXPECT_LE(m->bounds.right, ChainWorld::kWorkArea.right);
        }
    }
}

} // namespace

namespace {

// After a display change: what a window does in each place of a chain, displaced to
// another monitor or not.
TEST_F(InstanceChainTest, ADisplayChangeRedocksAndOnlyADisplacedFirstWindowLooksForAChain) {
    const HWND kOtherHead = H(20);
    host.peers.insert(kOtherHead);
    struct Case {
        const char* what;
        bool withPrev, withNext, displaced;
        HWND head; // the first window of a chain found at the edge
        std::vector<PostedChainMessage> posted;
        int headSearches;
    } cases[] = {
        {"first, displaced, a chain there", false, true, true, kOtherHead,
         {{kOtherHead, dcJoin, A(kSelf)}, {kNext, dcRedock, A(kSelf)}}, 1},
        {"alone, displaced, a chain there", false, false, true, kOtherHead, {{kOtherHead, dcJoin, A(kSelf)}}, 1},
        {"first, displaced, no chain there", false, true, true, nullptr, {{kNext, dcRedock, A(kSelf)}}, 1},
        // Its own next window, moved into the corner before it, is no chain to join.
        {"first, displaced, its next window found", false, true, true, kNext, {{kNext, dcRedock, A(kSelf)}}, 1},
        // The chain that was at the edge already stays: it never joins the newcomers.
        {"first, stayed", false, true, false, kOtherHead, {{kNext, dcRedock, A(kSelf)}}, 0},
        {"middle, displaced", true, true, true, kOtherHead, {{kNext, dcRedock, A(kSelf)}}, 0},
        {"last, displaced", true, false, true, kOtherHead, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeChainHost fresh;
        fresh.peers = {kPrev, kNext, kJoiner, kOtherHead};
        InstanceChain window{fresh};
        window.SetSelf(kSelf);
        if (c.withPrev) {
            window.Join(kPrev);
            window.Receive(dcAccept, A(kPrev));
        }
        if (c.withNext)
            window.Receive(dcLinkNext, A(kNext));
        fresh.posted.clear();
        fresh.redocks = 0;
        fresh.redockMoves = false; // the next window follows all the same
        fresh.head = c.head;

        window.DisplayChanged(c.displaced);
        EXPECT_EQ(fresh.redocks, 1);
        EXPECT_EQ(fresh.posted, c.posted);
        EXPECT_EQ(fresh.headSearches, c.headSearches);
        EXPECT_EQ(window.PrevWnd(), c.withPrev ? kPrev : kSelf);
    }
}

TEST_F(InstanceChainTest, ADisplayChangeAfterThePreviousVanishedDocksAtTheEdgeAndAClosedWindowStays) {
    LinkBoth();
    host.peers.erase(kPrev);
    chain.DisplayChanged(false);
    EXPECT_EQ(chain.PrevWnd(), kSelf);
    EXPECT_EQ(host.forgotten, 1);
    EXPECT_EQ(host.headSearches, 1); // at the edge it may meet another chain's first window

    chain.Close();
    host.posted.clear();
    host.redocks = 0;
    chain.DisplayChanged(true);
    EXPECT_EQ(host.redocks, 0);
    EXPECT_TRUE(host.posted.empty());
}

} // namespace
