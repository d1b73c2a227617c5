// The queue of restoring frames: one party served per idle turn, in turn, passing over
// parties that cannot work yet, with parties leaving and joining at any time.
#include "nav/RestoreTurns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using nav::RestoreTurns;

namespace {

// A party that works a given number of turns (then leaves), and can be held back.
struct Party {
    char name;
    int work;
    bool ready = true;
};

class RestoreTurnsTest : public ::testing::Test {
public:
    // Joins every party; each turn appends the party's name to served.
    void JoinAll(std::vector<Party>& parties) {
        for (Party& p : parties)
            Join(p);
    }
    void Join(Party& p) {
        turns.Join(&p, [this, &p] {
            if (!p.ready)
                return false;
            served += p.name;
            if (--p.work == 0)
                turns.Leave(&p);
            return true;
        });
    }
    std::string Run(int idleTurns) {
        served.clear();
        for (int i = 0; i < idleTurns; ++i) {
            size_t before = served.size();
            turns.Idle();
            // Never more than one party's step in one idle turn.
            EXPECT_LE(served.size(), before + 1) << "turn " << i;
        }
        return served;
    }

    RestoreTurns turns;
    std::string served;
};

TEST_F(RestoreTurnsTest, EachIdleTurnServesOnePartyInTurn) {
    struct Case {
        const char* label;
        std::vector<Party> parties;
        int idleTurns;
        std::string expected;
    };
    std::vector<Case> cases = {
        {"one party", {{'a', 3}}, 5, "aaa"},
        {"three alike", {{'a', 2}, {'b', 2}, {'c', 2}}, 8, "abcabc"},
        {"one finishes early", {{'a', 1}, {'b', 3}, {'c', 2}}, 8, "abcbcb"},
        {"one not ready is passed over", {{'a', 2}, {'b', 2, false}, {'c', 2}}, 6, "acac"},
        {"none ready", {{'a', 2, false}, {'b', 2, false}}, 3, ""},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.label);
        JoinAll(c.parties);
        EXPECT_EQ(Run(c.idleTurns), c.expected);
        for (Party& p : c.parties)
            turns.Leave(&p);
        EXPECT_EQ(turns.Count(), 0u);
    }
}

TEST_F(RestoreTurnsTest, LeavingAndJoiningKeepTheOrder) {
    std::vector<Party> parties = {{'a', 9}, {'b', 9}, {'c', 9}};
    JoinAll(parties);
    EXPECT_EQ(Run(2), "ab");
    // A party before the next one leaves: the next one (c) still comes next.
    turns.Leave(&parties[0]);
    EXPECT_EQ(Run(3), "cbc");
    // Joining twice keeps one place; a newcomer takes the place at the end of the
    // round, which comes next after c.
    Party d{'d', 9};
    Join(d);
    Join(parties[1]);
    EXPECT_EQ(turns.Count(), 3u);
    EXPECT_EQ(Run(3), "dbc");
    // Leaving what is not there is harmless.
    turns.Leave(&parties[0]);
    EXPECT_TRUE(turns.Waiting(&d));
    turns.Leave(&d);
    EXPECT_FALSE(turns.Waiting(&d));
    EXPECT_EQ(Run(2), "bc");
    turns.Leave(&parties[1]);
    turns.Leave(&parties[2]);
}

} // namespace
