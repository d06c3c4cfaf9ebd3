#include "core/BusyLedger.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

struct Watched {
    std::vector<bool> heard;
    std::unique_ptr<BusyLedger> ledger =
        std::make_unique<BusyLedger>([this](bool busy) { heard.push_back(busy); });
    bool busy() const { return ledger->isBusy(); }
};

TEST(BusyLedger, OverlappingWorkKeepsTheFlagUntilTheLastEndsHoweverItEnds)
{
    Watched w;
    EXPECT_FALSE(w.busy());
    std::optional<BusyLedger::Token> first = w.ledger->begin();
    BusyLedger::Token second = w.ledger->begin();
    EXPECT_TRUE(w.busy());

    first.reset(); // destroyed, as a coroutine frame that returns early
    EXPECT_TRUE(w.busy()) << "the first to end cleared another's busy state";
    BusyLedger::Token moved = std::move(second);
    second.release(); // the moved-from token holds nothing
    EXPECT_TRUE(w.busy());
    moved.release();
    moved.release();
    EXPECT_FALSE(w.busy());
    EXPECT_EQ(w.ledger->running(BusyLedger::Lifetime::context), 0);
    EXPECT_EQ(w.heard.back(), false);

    // Assigning over a held token ends the work it held.
    BusyLedger::Token a = w.ledger->begin();
    a = w.ledger->begin();
    EXPECT_EQ(w.ledger->running(BusyLedger::Lifetime::context), 1);
    a = BusyLedger::Token();
    EXPECT_FALSE(w.busy());
}

TEST(BusyLedger, AContextEndsItsWorkButNotWorkThatLivesUntilDone)
{
    Watched w;
    BusyLedger::Token refresh = w.ledger->begin();
    BusyLedger::Token batch = w.ledger->begin(BusyLedger::Lifetime::untilDone);
    w.ledger->endContext();
    EXPECT_TRUE(w.busy()); // the batch
    EXPECT_EQ(w.ledger->running(BusyLedger::Lifetime::context), 0);
    EXPECT_EQ(w.ledger->running(BusyLedger::Lifetime::untilDone), 1);
    batch.release();
    EXPECT_FALSE(w.busy()) << "work of an ended context still counts";

    // Work of the new context counts; the old refresh ending later touches none of it.
    BusyLedger::Token next = w.ledger->begin();
    refresh.release();
    EXPECT_TRUE(w.busy());
    next.release();
    EXPECT_FALSE(w.busy());

    BusyLedger::Token stale = w.ledger->begin();
    w.ledger->endContext();
    EXPECT_FALSE(w.busy());
    EXPECT_EQ(w.heard.back(), false);
}

TEST(BusyLedger, ATokenOutlivingItsLedgerEndsQuietly)
{
    Watched w;
    BusyLedger::Token token = w.ledger->begin();
    const std::size_t heard = w.heard.size();
    w.ledger.reset();
    EXPECT_FALSE(token.isHeld());
    token.release();
    EXPECT_EQ(w.heard.size(), heard);
}

} // namespace
