#include <gtest/gtest.h>

#include <string>

#include "serial/BlockBuffer.h"

namespace quillon::test {
namespace {

// Sum of readable bytes over the chain; must always equal Total().
uint32_t ChainBytes(const BlockBuffer& buffer)
{
    uint32_t sum = 0;
    for (auto* block = buffer.First(); block; block = block->next)
        sum += block->end - block->begin;
    return sum;
}

std::string Take(BlockBuffer& buffer, uint32_t count)
{
    std::string bytes(count, '\0');
    bytes.resize(buffer.Take(bytes.data(), count));
    return bytes;
}

TEST(BlockBufferTest, AppendFillsTheLastBlockThenAddsOneBlock)
{
    BlockBuffer buffer;
    buffer.Append("abc", 3);
    ASSERT_EQ(buffer.First(), buffer.Last());
    EXPECT_EQ(buffer.Last()->capacity, BlockBuffer::kMinimumBlock);
    const std::string big(3000, 'x');
    buffer.Append(big.data(), uint32_t(big.size()));
    ASSERT_NE(buffer.First(), buffer.Last());
    EXPECT_EQ(buffer.First()->end, BlockBuffer::kMinimumBlock);
    EXPECT_EQ(buffer.Last()->capacity, 3003u - BlockBuffer::kMinimumBlock);
    EXPECT_EQ(ChainBytes(buffer), 3003u);
    EXPECT_EQ(Take(buffer, 5000), "abc" + big);  // more than there: what is there
    EXPECT_EQ(buffer.Total(), 0u);

    const struct {
        uint32_t asked, capacity;
    } sizes[] = {{0, 1024}, {1025, 1025}, {70000, 70000}};
    for (const auto& s : sizes)
        EXPECT_EQ(buffer.NewBlock(s.asked)->capacity, s.capacity) << s.asked;
}

TEST(BlockBufferTest, TakeInPiecesKeepsOrderAndTheTotal)
{
    BlockBuffer buffer;
    std::string all;
    for (int i = 0; i < 50; ++i) {
        const std::string piece(size_t(37 * i % 900 + 1), char('A' + i % 26));
        buffer.Append(piece.data(), uint32_t(piece.size()));
        all += piece;
    }
    std::string taken;
    EXPECT_EQ(buffer.Take(nullptr, 3), 3u);  // no destination: discarded
    all.erase(0, 3);
    for (uint32_t step : {1u, 7u, 1023u, 4096u, 9999u, 100000u}) {
        taken += Take(buffer, step);
        EXPECT_EQ(buffer.Total(), all.size() - taken.size());
        EXPECT_EQ(ChainBytes(buffer), buffer.Total());
    }
    EXPECT_EQ(taken, all);
}

TEST(BlockBufferTest, AnEmptiedLastBlockIsKeptUpTo4096Bytes)
{
    for (uint32_t capacity : {1024u, 4096u, 4097u}) {
        SCOPED_TRACE(capacity);
        BlockBuffer buffer;
        auto* block = buffer.NewBlock(capacity);
        const std::string data(capacity, 'k');
        buffer.Append(data.data(), capacity);
        EXPECT_EQ(buffer.Take(nullptr, capacity), capacity);
        if (capacity > BlockBuffer::kKeptBlockLimit) {
            EXPECT_EQ(buffer.First(), nullptr);
            EXPECT_EQ(buffer.Last(), nullptr);
            continue;
        }
        ASSERT_EQ(buffer.First(), block);
        EXPECT_EQ(buffer.Last(), block);
        EXPECT_EQ(block->end, 0u);
        buffer.Append("again", 5);
        EXPECT_EQ(buffer.Last(), block);
        EXPECT_EQ(Take(buffer, 5), "again");
    }
}

TEST(BlockBufferTest, AnEmptiedEarlierBlockIsFreedAndReleaseAllEmptiesTheChain)
{
    BlockBuffer two;
    auto* first = two.NewBlock(1024);
    const std::string fill(1500, 'f');
    two.Append(fill.data(), 1500);
    auto* second = two.Last();
    ASSERT_NE(second, first);
    EXPECT_EQ(two.Take(nullptr, 1024), 1024u);
    EXPECT_EQ(two.First(), second);
    EXPECT_EQ(two.Total(), 476u);

    two.ReleaseAll();
    EXPECT_EQ(two.First(), nullptr);
    EXPECT_EQ(two.Last(), nullptr);
    EXPECT_EQ(two.Total(), 0u);
    two.Append("x", 1);
    EXPECT_EQ(Take(two, 1), "x");
}

}  // namespace
}  // namespace quillon::test
