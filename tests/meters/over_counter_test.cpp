// The hand-over of an over count between a block and the read-out, in every order in which the
// two can meet: a pick-up before, during or after a block.
#include <gtest/gtest.h>

#include "meters/over_counter.h"

namespace {

constexpr int kN = 3;

// One block that starts from the published count and adds `overs` consecutive over samples.
struct Block {
    OverCounter &counter;
    double started = counter.beginBlock();
    double counted = started;
    void overs(int count) { counted += count; }
    void end() { counter.endBlock(started, counted); }
};

}  // namespace

TEST(OverCounter, BlockPublishesItsCountWhenNothingIsPickedUp)
{
    OverCounter counter;
    EXPECT_EQ(counter.beginBlock(), -1);
    Block first{counter};
    first.overs(2);
    first.end();
    EXPECT_FALSE(counter.pickUp(kN)) << "a count below N is not an over";
    EXPECT_EQ(counter.beginBlock(), 1);
    Block second{counter};
    second.overs(4);
    second.end();
    EXPECT_TRUE(counter.pickUp(kN));
    EXPECT_FALSE(counter.pickUp(kN)) << "an over is picked up once";
    EXPECT_EQ(counter.beginBlock(), 0);
}

TEST(OverCounter, PickUpDuringABlockIsNotUndoneByItsWriteBack)
{
    OverCounter counter;
    Block loud{counter};
    loud.overs(kN + 1);  // from -1 after a reset
    loud.end();

    Block next{counter};              // starts from the reached count
    EXPECT_TRUE(counter.pickUp(kN));  // the read-out lands while the block runs
    next.overs(2);                    // a reached count keeps growing until it is picked up
    next.end();
    EXPECT_FALSE(counter.pickUp(kN)) << "the same over would show twice";
    EXPECT_EQ(counter.beginBlock(), 0);

    // Counting goes on normally afterwards.
    Block later{counter};
    later.overs(kN);  // from 0 after the pick-up
    later.end();
    EXPECT_TRUE(counter.pickUp(kN));
}

TEST(OverCounter, PickUpBetweenBlocksStartsTheNextBlockFromZero)
{
    OverCounter counter;
    Block loud{counter};
    loud.overs(kN + 1);  // from -1 after a reset
    loud.end();
    EXPECT_TRUE(counter.pickUp(kN));
    Block next{counter};
    EXPECT_EQ(next.started, 0);
    next.overs(1);
    next.end();
    EXPECT_FALSE(counter.pickUp(kN));
    EXPECT_EQ(counter.beginBlock(), 1);
}
