// The shredder's random source, pass bytes, block layout and bar throttle.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "engine/shred_pattern.h"

TEST(ShredRandom, ConstantsFollowFromPiAndRootThree) {
    const long double two30 = 1073741824.0L;
    const long double pi = 3.14159265358979323846264338327950288L;
    EXPECT_EQ(ShredRandom::kMultiplier, 8 * static_cast<uint64_t>(std::floor(two30 * pi / 32)) + 5);
    EXPECT_EQ(ShredRandom::kIncrement,
              2 * static_cast<uint64_t>(std::floor(two30 * (0.5L - std::sqrt(3.0L) / 6))) + 1);
    EXPECT_EQ(ShredRandom::kModulus, 2147483648u);
}

TEST(ShredRandom, KnownSequences) {
    // x <- (843314861 x + 453816693) mod 2^31, worked out by hand from the seeds 1 and 2000000000;
    // each pass byte is floor(x / 2^31 * 255).
    struct Draw {
        uint32_t state;
        int byte;
    };
    const std::pair<int32_t, std::vector<Draw>> cases[] = {
        {1, {{1297131554, 154}, {17103983, 2}, {1426780792, 169}}},
        {2000000000, {{1652143477, 196}, {1934212998, 229}, {771744515, 91}}},
    };
    for (const auto& [seed, draws] : cases) {
        ShredRandom random(seed);
        for (const Draw& draw : draws) {
            const double u = random.Next();
            EXPECT_EQ(random.State(), draw.state) << seed;
            EXPECT_EQ(static_cast<int>(u * 255.0), draw.byte) << seed;
        }
    }
}

TEST(ShredRandom, NonPositiveSeedsActLikeOne) {
    ShredRandom one(1), zero(0), negative(-12345);
    for (int i = 0; i < 5; ++i) {
        const double u = one.Next();
        EXPECT_EQ(zero.Next(), u);
        EXPECT_EQ(negative.Next(), u);
    }
}

TEST(ShredRandom, DrawsStayBelowOneAndRandomBytesCover0To254) {
    ShredRandom random(20240601);
    std::set<int> bytes;
    for (int i = 0; i < 200000; ++i) {
        const double u = random.Next();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        bytes.insert(static_cast<int>(u * 255.0));
    }
    EXPECT_EQ(bytes.size(), 255u);
    EXPECT_EQ(*bytes.begin(), 0);
    EXPECT_EQ(*bytes.rbegin(), 254);
}

TEST(PassPattern, BuiltInMethodIsRandomComplementRandomAndNeverWritesFFInRandomPasses) {
    const ShredMethod method = BuiltInShredMethod();
    std::set<int> firstBytes;
    for (int seed = 1; seed < 3000; seed += 7) {
        ShredRandom random(seed);
        const auto pattern = BuildPassPattern(method, random);
        ASSERT_EQ(pattern.size(), 3u);
        EXPECT_NE(pattern[0], 255);
        EXPECT_EQ(pattern[1], 255 - pattern[0]);
        EXPECT_NE(pattern[2], 255);
        firstBytes.insert(pattern[0]);
    }
    EXPECT_GT(firstBytes.size(), 50u); // the seed matters
}

TEST(PassPattern, LiteralPassStrings) {
    EXPECT_EQ(LiteralPassByte("A"), 'A');
    EXPECT_EQ(LiteralPassByte("7"), '7'); // one character is its code, not a digit
    EXPECT_EQ(LiteralPassByte("01010101"), 0x55);
    EXPECT_EQ(LiteralPassByte("11111111"), 0xFF);
    EXPECT_EQ(LiteralPassByte("10102222"), 0x0A); // binary digits as far as they go
    EXPECT_EQ(LiteralPassByte("FF"), 0xFF);
    EXPECT_EQ(LiteralPassByte("12"), 0x12);
    EXPECT_EQ(LiteralPassByte("0x1f"), 0x1F);
    EXPECT_EQ(LiteralPassByte("1FF"), 0xFF); // cut to a byte
    EXPECT_EQ(LiteralPassByte("9G"), 0x09);
    EXPECT_EQ(LiteralPassByte("zz"), 0);
    EXPECT_EQ(LiteralPassByte(""), 0);
}

TEST(PassPattern, ComplementFollowsThePreviousPassWhateverItWas) {
    ShredMethod method;
    method.passes = {"Complement", "A", "Complement", "Complement", "00000000"};
    ShredRandom random(5);
    EXPECT_EQ(BuildPassPattern(method, random), (std::vector<uint8_t>{255, 'A', 255 - 'A', 'A', 0}));
}

TEST(PassLayout, WritesCoverTheFileExactly) {
    // Around the block size; 0, 4096 and 10 000 bytes are checked on real files.
    EXPECT_EQ(LayoutPass(4097).fullWrites, 1u);
    EXPECT_EQ(LayoutPass(4097).lastWrite, 1u);
    EXPECT_EQ(LayoutPass(4097).barRange, 1u);
    EXPECT_EQ(LayoutPass(8192).fullWrites, 1u);
    EXPECT_EQ(LayoutPass(8192).lastWrite, 4096u);
    EXPECT_EQ(LayoutPass(4095).barRange, 4095u); // under a block the bar counts bytes
    EXPECT_EQ(LayoutPass(4095).barStart, 4095u);
    for (uint64_t length = 1; length < 5 * 4096; length += 97) {
        const PassLayout layout = LayoutPass(length);
        ASSERT_GE(layout.lastWrite, 1u) << length;
        ASSERT_LE(layout.lastWrite, 4096u) << length;
        ASSERT_EQ(layout.fullWrites * 4096 + layout.lastWrite, length) << length;
    }
    const uint64_t big = uint64_t{5} << 32; // beyond 32 bits
    EXPECT_EQ(LayoutPass(big).fullWrites * 4096 + LayoutPass(big).lastWrite, big);
}

TEST(OverwriteVerdict, OnlyAPlainFileThatStayedPutOnAHardDiskIsGuaranteed) {
    FilePlacement plain;
    plain.size = 100000;
    plain.extentsKnown = true;
    plain.extents = {{4096, 25}};
    EXPECT_EQ(OverwriteNotGuaranteedBecause(plain, plain, SeekPenalty::Yes), "");
    EXPECT_EQ(OverwriteNotGuaranteedBecause(plain, plain, SeekPenalty::No), "on a solid-state drive");
    EXPECT_NE(OverwriteNotGuaranteedBecause(plain, plain, SeekPenalty::Unknown), "");
    FilePlacement moved = plain;
    moved.extents = {{9000, 25}};
    EXPECT_EQ(OverwriteNotGuaranteedBecause(plain, moved, SeekPenalty::Yes), "the file moved while it was overwritten");
    for (bool FilePlacement::*form : {&FilePlacement::compressed, &FilePlacement::sparse, &FilePlacement::encrypted}) {
        FilePlacement other = plain;
        other.*form = true;
        EXPECT_NE(OverwriteNotGuaranteedBecause(other, other, SeekPenalty::Yes), "");
    }
    FilePlacement small;
    small.size = 300; // no extents: it lives in the file table
    EXPECT_EQ(OverwriteNotGuaranteedBecause(small, small, SeekPenalty::Yes), "small enough to be kept in the file table");
    FilePlacement empty;
    EXPECT_EQ(OverwriteNotGuaranteedBecause(empty, empty, SeekPenalty::No), ""); // nothing to overwrite
}
