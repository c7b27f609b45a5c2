// The step ring: undo and redo sides around the cursor, overwriting at capacity, peek bounds,
// and resizing that keeps the steps nearest the cursor.
#include "events/CRingBuf.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The ring's content from the oldest undo element to the newest redo element.
std::vector<uint32_t> Contents(const CRingBufDWORD &ring)
{
    std::vector<uint32_t> out;
    uint32_t v;
    for (ptrdiff_t k = -ptrdiff_t(ring.UndoCount()) + 1; k <= ptrdiff_t(ring.RedoCount()); ++k)
        if (ring.Peek(k, v))
            out.push_back(v);
    return out;
}

CRingBufDWORD RingWith(size_t undoCapacity, size_t redoCapacity, std::initializer_list<uint32_t> values)
{
    CRingBufDWORD ring;
    EXPECT_TRUE(ring.Allocate(undoCapacity, redoCapacity));
    bool first = true;
    for (uint32_t v : values) {
        if (first)
            ring.SetFirst(v);
        else
            ring.Push(v);
        first = false;
    }
    return ring;
}

TEST(CRingBuf, EveryOperationFailsWithoutMemory)
{
    CRingBufDWORD ring;
    uint32_t v = 0;
    EXPECT_FALSE(ring.Reset());
    EXPECT_FALSE(ring.SetFirst(1));
    EXPECT_FALSE(ring.Push(1));
    EXPECT_FALSE(ring.Pop());
    EXPECT_FALSE(ring.Undo());
    EXPECT_FALSE(ring.Redo());
    EXPECT_FALSE(ring.Current(v));
    EXPECT_FALSE(ring.Peek(0, v));
    EXPECT_EQ(0u, ring.ValueAtCursor());
    EXPECT_FALSE(ring.Allocate(0, 4)) << "undo capacity below 1";
    CRingBuf untyped;
    EXPECT_FALSE(untyped.Allocate(0, 4, 4)) << "element size below 1";
}

TEST(CRingBuf, UndoAndRedoMoveElementsBetweenTheSides)
{
    CRingBufDWORD ring = RingWith(4, 4, {10, 20, 30});
    uint32_t v = 0;
    EXPECT_EQ(3u, ring.UndoCount());
    ASSERT_TRUE(ring.Current(v));
    EXPECT_EQ(30u, v);

    EXPECT_TRUE(ring.Undo());
    EXPECT_TRUE(ring.Undo());
    EXPECT_EQ(1u, ring.UndoCount());
    EXPECT_EQ(2u, ring.RedoCount());
    EXPECT_EQ((std::vector<uint32_t>{10, 20, 30}), Contents(ring));

    EXPECT_TRUE(ring.Redo());
    ASSERT_TRUE(ring.Current(v));
    EXPECT_EQ(20u, v);

    EXPECT_TRUE(ring.Push(25)) << "a push discards the redo side";
    EXPECT_EQ(0u, ring.RedoCount());
    EXPECT_EQ((std::vector<uint32_t>{10, 20, 25}), Contents(ring));

    EXPECT_TRUE(ring.Pop());
    EXPECT_EQ((std::vector<uint32_t>{10, 20}), Contents(ring)) << "a pop forgets, it does not keep for redo";
    EXPECT_EQ(0u, ring.RedoCount());

    ring.Undo();
    EXPECT_EQ(1u, ring.TakeRedoCount());
    EXPECT_EQ(0u, ring.RedoCount());

    EXPECT_TRUE(ring.Undo());
    EXPECT_EQ(0u, ring.UndoCount());
    EXPECT_FALSE(ring.Undo());
    EXPECT_FALSE(ring.Current(v)) << "no current element with an empty undo side";

    EXPECT_TRUE(ring.SetFirst(99));
    EXPECT_EQ(1u, ring.UndoCount());
    EXPECT_TRUE(ring.Reset());
    EXPECT_EQ(0u, ring.UndoCount());
    EXPECT_EQ(0u, ring.RedoCount());
}

TEST(CRingBuf, PushesAtCapacityOverwriteTheOldest)
{
    CRingBufDWORD ring = RingWith(3, 2, {1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(3u, ring.UndoCount());
    EXPECT_EQ((std::vector<uint32_t>{5, 6, 7}), Contents(ring));
    // Wrapping both ways around the ring's five slots.
    ring.Undo();
    ring.Undo();
    EXPECT_EQ((std::vector<uint32_t>{5, 6, 7}), Contents(ring));
    ring.Redo();
    ring.Redo();
    EXPECT_FALSE(ring.Redo());
    uint32_t v = 0;
    ASSERT_TRUE(ring.Current(v));
    EXPECT_EQ(7u, v);
}

TEST(CRingBuf, PeekStaysWithinTheCounts)
{
    CRingBufDWORD ring = RingWith(4, 4, {1});
    uint32_t v = 0;
    EXPECT_TRUE(ring.Peek(0, v));
    EXPECT_FALSE(ring.Peek(-1, v)) << "one back with an undo count of 1";
    EXPECT_FALSE(ring.Peek(1, v)) << "one ahead with a redo count of 0";
    ring.Push(2);
    ring.Push(3);
    ring.Undo();
    EXPECT_TRUE(ring.Peek(-1, v));
    EXPECT_EQ(1u, v);
    EXPECT_FALSE(ring.Peek(-2, v));
    EXPECT_TRUE(ring.Peek(1, v));
    EXPECT_EQ(3u, v);
    EXPECT_FALSE(ring.Peek(2, v));
    EXPECT_TRUE(ring.Current(v));
    EXPECT_EQ(2u, v) << "peeking moves nothing";
}

TEST(CRingBuf, ResizeKeepsTheNewestUndoAndTheOldestRedoElements)
{
    struct Case {
        const char *what;
        size_t newUndo, newRedo;
        bool ok;
        std::vector<uint32_t> contents;
        size_t undoCount, redoCount;
    } cases[] = {
        {"same capacities", 7, 4, true, {1, 2, 3, 4, 5, 6, 7}, 4, 3},
        {"smaller", 2, 1, true, {3, 4, 5}, 2, 1},
        {"larger", 16, 16, true, {1, 2, 3, 4, 5, 6, 7}, 4, 3},
        {"no redo side", 3, 0, true, {2, 3, 4}, 3, 0},
        {"undo capacity 0", 0, 4, false, {1, 2, 3, 4, 5, 6, 7}, 4, 3},
    };
    for (const Case &c : cases) {
        CRingBufDWORD ring = RingWith(7, 4, {1, 2, 3, 4, 5, 6, 7});
        ring.Undo();
        ring.Undo();
        ring.Undo(); // undo side 1..4, redo side 5..7
        EXPECT_EQ(c.ok, ring.Resize(c.newUndo, c.newRedo)) << c.what;
        EXPECT_EQ(c.contents, Contents(ring)) << c.what;
        EXPECT_EQ(c.undoCount, ring.UndoCount()) << c.what;
        EXPECT_EQ(c.redoCount, ring.RedoCount()) << c.what;
        uint32_t v = 0;
        ASSERT_TRUE(ring.Current(v)) << c.what;
        EXPECT_EQ(4u, v) << c.what << ": the cursor stays on the same element";
        ring.Push(100);
        EXPECT_EQ(100u, ring.ValueAtCursor()) << c.what << ": the resized ring keeps working";
    }

    CRingBufDWORD emptyUndo = RingWith(4, 4, {1, 2});
    emptyUndo.Undo();
    emptyUndo.Undo();
    EXPECT_FALSE(emptyUndo.Resize(2, 2)) << "redo elements with nothing on the undo side";
}

} // namespace
