// How the shredding progress reaches the progress window: batched, about once per pixel.
#include <gtest/gtest.h>

#include "ui/progress_throttle.h"

TEST(ProgressThrottle, PositionsGoOutAboutOncePerPixelAndAlwaysAtTheEnd) {
    ProgressThrottle throttle(0);
    throttle.StartRange(10240, 200); // 10240 blocks on a 200-pixel bar: one post per 51 blocks
    const auto first = throttle.Due(0);
    EXPECT_TRUE(first.range);
    EXPECT_EQ(first.rangeValue, 10240u);
    EXPECT_TRUE(first.position);
    EXPECT_EQ(first.positionValue, 0u);
    std::vector<uint64_t> posted;
    for (uint64_t position = 1; position <= 10241; ++position) {
        throttle.Move(position);
        const auto due = throttle.Due(static_cast<uint32_t>(position));
        EXPECT_FALSE(due.range);
        if (due.position) posted.push_back(due.positionValue);
    }
    ASSERT_FALSE(posted.empty());
    EXPECT_GE(posted.size(), 195u);
    EXPECT_LE(posted.size(), 202u);
    EXPECT_GE(posted.back(), 10240u);
    uint64_t last = 0;
    for (uint64_t p : posted) {
        EXPECT_LE(p - last, 51u); // never more than a pixel behind
        last = p;
    }
}

TEST(ProgressThrottle, ShortRangesPostEveryStepAndSmallFilesJumpToTheEnd) {
    ProgressThrottle throttle(0);
    throttle.StartRange(3, 150);
    throttle.Due(0);
    for (uint64_t p = 1; p <= 3; ++p) {
        throttle.Move(p);
        EXPECT_TRUE(throttle.Due(0).position) << p;
    }
    EXPECT_FALSE(throttle.Due(0).Any()); // nothing new
    throttle.StartRange(100, 0);         // a 100-byte file: the one move is past the end
    throttle.Due(0);
    throttle.Move(101);
    EXPECT_EQ(throttle.Due(0).positionValue, 101u);
}

TEST(ProgressThrottle, NextPassOverTheSameRangeOnlyResetsThePosition) {
    ProgressThrottle throttle(0);
    throttle.StartRange(40, 250);
    throttle.Due(0);
    throttle.Move(41);
    throttle.Due(0);
    throttle.StartRange(40, 250);
    const auto due = throttle.Due(0);
    EXPECT_FALSE(due.range);
    EXPECT_TRUE(due.position);
    EXPECT_EQ(due.positionValue, 0u);
    throttle.StartRange(7, 250); // another file
    EXPECT_TRUE(throttle.Due(0).range);
}

TEST(ProgressThrottle, BatchesChangesOncePerInterval) {
    ProgressThrottle throttle(50);
    throttle.NameChanged();
    throttle.StartRange(1000, 100);
    const auto first = throttle.Due(1000);
    EXPECT_TRUE(first.name && first.range && first.position);

    throttle.NameChanged(); // a second file within the interval: held back...
    throttle.StartRange(500, 100);
    throttle.Move(250);
    EXPECT_FALSE(throttle.Due(1010).Any());
    EXPECT_FALSE(throttle.Due(1049).Any());
    const auto batch = throttle.Due(1050); // ...and sent with the next batch, as it is now
    EXPECT_TRUE(batch.name);
    EXPECT_TRUE(batch.range);
    EXPECT_EQ(batch.rangeValue, 500u);
    EXPECT_EQ(batch.positionValue, 250u);

    EXPECT_FALSE(throttle.Due(5000).Any()); // nothing changed: nothing to send, however late
    throttle.NameChanged();
    EXPECT_TRUE(throttle.Due(5001).name); // and the interval counts from the last batch sent
    throttle.NameChanged();
    throttle.Reset(); // a new window hears at once
    throttle.NameChanged();
    EXPECT_TRUE(throttle.Due(5002).name);
}

TEST(ProgressThrottle, TickCountWrapAround) {
    ProgressThrottle throttle(50);
    throttle.NameChanged();
    EXPECT_TRUE(throttle.Due(0xFFFFFFF0u).name);
    throttle.NameChanged();
    EXPECT_FALSE(throttle.Due(0x10u).Any()); // 32 ms later
    EXPECT_TRUE(throttle.Due(0x30u).name);   // 64 ms later
}
