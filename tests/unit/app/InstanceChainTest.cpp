#include "app/InstanceChain.h"

#include "FakeChainHost.h"

#include <gtest/gtest.h>

using namespace app;

namespace {

HWND H(int n) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1000 + n)); }
LPARAM A(HWND h) { return reinterpret_cast<LPARAM>(h); }

const HWND kSelf = H(0);
const HWND kPrev = H(1);
const HWND kNext = H(2);
const HWND kJoiner = H(3);
const HWND kStranger = H(9); // a window of another program

class InstanceChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.peers = {kPrev, kNext, kJoiner};
        chain.SetSelf(kSelf);
    }
    // Links the window between kPrev and kNext as the chain's messages would.
    void LinkBoth() {
        chain.Receive(dcAccept, A(kPrev));
        chain.Receive(dcLinkNext, A(kNext));
        host.posted.clear();
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
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kJoiner, dcColor, 0x123456}}));
}

TEST_F(InstanceChainTest, JoinTravelsToTheLastWindow) {
    LinkBoth();
    chain.Receive(dcJoin, A(kJoiner));
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcJoin, A(kJoiner)}}));
}

TEST_F(InstanceChainTest, AcceptLinksRedocksAndAnswers) {
    chain.Receive(dcAccept, A(kPrev));
    EXPECT_EQ(chain.PrevWnd(), kPrev);
    EXPECT_EQ(chain.NextWnd(), kSelf);
    EXPECT_EQ(host.redocks, 1);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kPrev, dcLinkNext, A(kSelf)}}));
}

TEST_F(InstanceChainTest, AcceptKeepsALiveNextWindowAndRedocksIt) {
    // The window lost its previous window and joins the chain at its edge again.
    LinkBoth();
    host.peers.erase(kPrev);
    chain.Receive(dcAccept, A(kJoiner));
    EXPECT_EQ(chain.PrevWnd(), kJoiner);
    EXPECT_EQ(chain.NextWnd(), kNext);
    EXPECT_EQ(host.posted,
              (std::vector<PostedChainMessage>{{kJoiner, dcLinkNext, A(kSelf)}, {kNext, dcRedock, A(kSelf)}}));
}

TEST_F(InstanceChainTest, ColourTakesTheLow32Bits) {
    chain.Receive(dcColor, static_cast<LPARAM>(0x7700000000FF000Fll));
    EXPECT_EQ(host.received, (std::vector<gui::TColor>{0xFF000Fu}));
}

TEST_F(InstanceChainTest, RedockMovesAndPassesOn) {
    LinkBoth();
    chain.Receive(dcRedock, A(kPrev));
    EXPECT_EQ(host.redocks, 1);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kNext, dcRedock, A(kSelf)}}));
}

TEST_F(InstanceChainTest, PrevLeftLinksToTheLeaversPrevious) {
    const HWND kFirst = H(4);
    host.peers.insert(kFirst);
    LinkBoth();
    chain.Receive(dcPrevLeft, A(kFirst));
    EXPECT_EQ(chain.PrevWnd(), kFirst);
    EXPECT_EQ(host.redocks, 1);
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kFirst, dcLinkNext, A(kSelf)}, {kNext, dcRedock, A(kSelf)}}));
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
    chain.Receive(dcAccept, A(kPrev));
    host.posted.clear();
    chain.Leave();
    EXPECT_EQ(host.posted, (std::vector<PostedChainMessage>{{kPrev, dcNextLeft, A(kSelf)}}));

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
