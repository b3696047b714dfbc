#include "engine/buffer/CircularBufferLineList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>

namespace brevlin {
namespace {

// A ring whose rows are tagged by the code of their first cell, so tests can follow them.
class RingFixture : public ::testing::Test {
protected:
    static std::unique_ptr<BufferLine> row(char tag)
    {
        return std::make_unique<BufferLine>(2, CharData {tag, 1, {}, {}});
    }

    CircularBufferLineList makeRing(int capacity, std::string tags)
    {
        CircularBufferLineList ring(capacity);
        ring.makeEmpty = [this](int) {
            ++factoryCalls;
            return row('?');
        };
        ring.onLinePushed = [this](bool hasImages) { pushedWithImages += hasImages ? 1 : 0; };
        ring.onLineRecycled = [this](bool hadImages) { recycledWithImages += hadImages ? 1 : 0; };
        for (char tag : tags)
            ring.push(row(tag));
        return ring;
    }

    static std::string tags(const CircularBufferLineList& ring)
    {
        std::string text;
        for (int i = 0; i < ring.count(); ++i)
            text += static_cast<char>(ring[i][0].code);
        return text;
    }

    // Every stored row is a distinct object: no row is reachable from two slots.
    static bool rowsAreDistinct(CircularBufferLineList& ring)
    {
        std::vector<const BufferLine*> seen;
        bool distinct = true;
        ring.forEachStoredLine([&](const BufferLine& line) {
            distinct = distinct && std::find(seen.begin(), seen.end(), &line) == seen.end();
            seen.push_back(&line);
        });
        return distinct;
    }

    int factoryCalls = 0;
    int pushedWithImages = 0;
    int recycledWithImages = 0;
};

TEST_F(RingFixture, PushOntoAFullRingDropsTheOldest)
{
    auto ring = makeRing(3, "ABCD");
    EXPECT_EQ(ring.count(), 3);
    EXPECT_EQ(tags(ring), "BCD");
}

TEST_F(RingFixture, RecycleTurnsTheOldestRowIntoTheNewestWithoutAllocating)
{
    auto ring = makeRing(3, "ABC");
    ring[0].attach(nullptr);
    const BufferLine* oldest = &ring[0];
    const Attribute blue {Attribute::Color::ansi256(4), Attribute::Color::ansi256(4)};
    ring.recycle(blue);
    EXPECT_EQ(&ring[2], oldest);
    EXPECT_EQ(ring[2][0], (CharData {0, 1, {}, blue}));
    EXPECT_FALSE(ring[2].images.has_value());
    EXPECT_EQ(recycledWithImages, 1);
    EXPECT_EQ(tags(ring).substr(0, 2), "BC");
}

TEST_F(RingFixture, RecycleOnARingThatIsNotFullChangesNothing)
{
    auto ring = makeRing(3, "AB");
    EXPECT_DEBUG_DEATH(ring.recycle(Attribute()), "not full");
    EXPECT_EQ(tags(ring), "AB");
}

TEST_F(RingFixture, EmptySlotsAreFilledOnceByTheFactory)
{
    auto ring = makeRing(3, "");
    ring.setCount(2);
    const BufferLine* first = &ring[1];
    EXPECT_EQ(&ring[1], first);
    EXPECT_EQ(factoryCalls, 1);
}

TEST_F(RingFixture, SpliceDeletesAndInserts)
{
    const struct {
        const char* name;
        int capacity;
        const char* initial;
        int start;
        int deleteCount;
        const char* items;
        const char* expected;
    } cases[] = {
        {"insert in the middle", 6, "ABCD", 2, 0, "xy", "ABxyCD"},
        {"delete in the middle", 6, "ABCDE", 1, 2, "", "ADE"},
        {"delete and insert, as for a line insert in a region", 6, "ABCDE", 1, 1, "x", "AxCDE"},
        {"insert on a full ring drops the oldest", 4, "ABCD", 2, 0, "x", "BxCD"},
        {"rows inserted at the top of a full ring fall off it", 4, "ABCD", 0, 0, "xy", "ABCD"},
        {"insert more rows than fit", 3, "ABC", 1, 0, "wxyz", "zBC"},
        {"delete past the end is cut", 6, "ABC", 1, 9, "", "A"},
    };
    for (const auto& test : cases) {
        auto ring = makeRing(test.capacity, test.initial);
        std::vector<std::unique_ptr<BufferLine>> items;
        for (const char* tag = test.items; *tag; ++tag)
            items.push_back(row(*tag));
        ring.splice(test.start, test.deleteCount, std::move(items));
        EXPECT_EQ(tags(ring), test.expected) << test.name;
        EXPECT_TRUE(rowsAreDistinct(ring)) << test.name;
    }
}

// Inserting and deleting lines inside a scroll region, as the terminal does it: remove at one edge
// of the region, insert at the other. On a full ring the scrollback above must not move.
TEST_F(RingFixture, LineInsertAndDeleteStayInsideTheRegionOfAFullRing)
{
    const struct {
        const char* name;
        int removeAt;
        int insertAt;
        const char* expected;
    } cases[] = {
        {"insert at row 3 of region 2..5", 5, 3, "ABCxDEG"},
        {"delete at row 3 of region 2..5", 3, 5, "ABCEFxG"},
        {"insert at the region's top", 5, 2, "ABxCDEG"},
        {"delete at the region's bottom", 5, 5, "ABCDExG"},
    };
    for (const auto& test : cases) {
        auto ring = makeRing(7, "ABCDEFG");
        ring.splice(test.removeAt, 1, {});
        std::vector<std::unique_ptr<BufferLine>> blank;
        blank.push_back(row('x'));
        ring.splice(test.insertAt, 0, std::move(blank));
        EXPECT_EQ(tags(ring), test.expected) << test.name;
        EXPECT_TRUE(ring.isFull()) << test.name;
    }
}

TEST_F(RingFixture, SpliceReportsEveryChangedIndex)
{
    auto ring = makeRing(6, "ABCD");
    std::vector<int> changed;
    std::vector<std::unique_ptr<BufferLine>> items;
    items.push_back(row('x'));
    ring.splice(2, 0, std::move(items), [&](int index) { changed.push_back(index); });
    EXPECT_EQ(changed, (std::vector<int> {4, 3, 2}));
}

TEST_F(RingFixture, ShiftElementsMovesBlocksAndRefusesBadRequests)
{
    auto ring = makeRing(6, "ABCD");
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(ring.shiftElements(1, 2, -1));
    EXPECT_FALSE(ring.shiftElements(-1, 1, 1));
    EXPECT_FALSE(ring.shiftElements(4, 1, 1));
    EXPECT_FALSE(ring.shiftElements(1, -1, 1));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
        "Assertion at start=1 count=2 offset=-1: start+offset <= 0\n"
        "Assertion at start=-1 count=1 offset=1: start < 0\n"
        "Assertion at start=4 count=1 offset=1: start >= self.count\n"
        "Assertion at start=1 count=-1 offset=1: count < 0\n");
    EXPECT_EQ(tags(ring), "ABCD");

    EXPECT_TRUE(ring.shiftElements(2, 2, -1));
    EXPECT_EQ(tags(ring).substr(0, 3), "ACD");

    auto grow = makeRing(5, "ABCD");
    EXPECT_TRUE(grow.shiftElements(1, 3, 1));
    EXPECT_EQ(grow.count(), 5);
    EXPECT_EQ(tags(grow).substr(2), "BCD");

    auto full = makeRing(4, "ABCD");
    EXPECT_TRUE(full.shiftElements(2, 2, 1));
    EXPECT_EQ(full.count(), 4);
    EXPECT_EQ(tags(full).substr(2), "CD") << "the oldest row falls off the top";
    EXPECT_TRUE(rowsAreDistinct(full));
}

TEST_F(RingFixture, RaisingTheCapacityKeepsTheLogicalOrder)
{
    auto ring = makeRing(3, "ABCDE");
    ASSERT_EQ(ring.startIndex(), 2);
    ring.setMaxLength(5);
    EXPECT_EQ(ring.startIndex(), 0);
    EXPECT_EQ(tags(ring), "CDE");
    ring.push(row('F'));
    ring.push(row('G'));
    ring.push(row('H'));
    EXPECT_EQ(tags(ring), "DEFGH");
}

TEST_F(RingFixture, AHugeCapacityCostsOnlyTheRowsInUse)
{
    auto ring = makeRing(std::numeric_limits<int>::max(), "ABC");
    EXPECT_EQ(tags(ring), "ABC");
    // Stray indexes wrap around the slots there are instead of allocating the whole capacity.
    EXPECT_EQ(ring[-1][0].code, '?');
    EXPECT_EQ(ring[std::numeric_limits<int>::max()][0].code, '?');
    ring.push(row('D'));
    EXPECT_EQ(tags(ring), "ABCD");
}

// Random pushes, recycles, splices, trims and capacity changes against a plain list of tags; the
// ring's slot arithmetic (wrap-around, slots allocated as it fills) must never show through.
TEST_F(RingFixture, BehavesLikeABoundedListUnderRandomOperations)
{
    std::mt19937 random(7);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    char nextTag = 'a';
    const auto freshTag = [&nextTag] {
        nextTag = nextTag == 'z' ? 'a' : static_cast<char>(nextTag + 1);
        return nextTag;
    };

    for (int round = 0; round < 20; ++round) {
        int capacity = pick(1, 150);
        auto ring = makeRing(capacity, "");
        std::string model;
        for (int step = 0; step < 400; ++step) {
            switch (pick(0, 6)) {
            case 0:
            case 1: {
                const char tag = freshTag();
                ring.push(row(tag));
                model += tag;
                if (static_cast<int>(model.size()) > capacity)
                    model.erase(0, 1);
                break;
            }
            case 2:
                if (ring.isFull()) {
                    ring.recycle(Attribute());
                    model = model.substr(1) + '\0';
                }
                break;
            case 3: {
                const int start = pick(0, static_cast<int>(model.size()));
                const int deleteCount = pick(0, 3);
                std::string items;
                std::vector<std::unique_ptr<BufferLine>> rows;
                for (int n = pick(0, 3); n > 0; --n) {
                    items += freshTag();
                    rows.push_back(row(items.back()));
                }
                ring.splice(start, deleteCount, std::move(rows));
                model.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(deleteCount));
                model.insert(static_cast<std::size_t>(start), items);
                if (static_cast<int>(model.size()) > capacity)
                    model.erase(0, model.size() - static_cast<std::size_t>(capacity));
                break;
            }
            case 4: {
                const int n = pick(0, 4);
                ring.trimStart(n);
                model.erase(0, static_cast<std::size_t>(n));
                break;
            }
            case 5:
                capacity = std::max(pick(1, 150), static_cast<int>(model.size()));
                ring.setMaxLength(capacity);
                break;
            case 6: {
                // A one-row shift inside the rows, as scrolling a region does: the row it
                // overwrites takes the place the block left.
                const int size = static_cast<int>(model.size());
                if (size < 3)
                    break;
                if (pick(0, 1) == 0) {
                    // Up by one: rows start..start+count-1 move to start-1; start-1 is never row 0.
                    const int start = pick(2, size - 1);
                    const int count = pick(1, size - start);
                    ASSERT_TRUE(ring.shiftElements(start, count, -1));
                    std::rotate(model.begin() + start - 1, model.begin() + start, model.begin() + start + count);
                } else {
                    // Down by one, staying inside the rows.
                    const int start = pick(0, size - 2);
                    const int count = pick(1, size - 1 - start);
                    ASSERT_TRUE(ring.shiftElements(start, count, 1));
                    std::rotate(model.begin() + start, model.begin() + start + count, model.begin() + start + count + 1);
                }
                break;
            }
            }
            ASSERT_EQ(tags(ring), model) << "round " << round << " step " << step;
        }
        EXPECT_TRUE(rowsAreDistinct(ring));
    }
}

TEST_F(RingFixture, TrimStartDropsTheOldestRows)
{
    auto ring = makeRing(5, "ABCDE");
    ring.trimStart(2);
    EXPECT_EQ(tags(ring), "CDE");
    ring.trimStart(9);
    EXPECT_EQ(ring.count(), 0);
}

} // namespace
} // namespace brevlin
