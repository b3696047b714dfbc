#include "host/terminals/TarnTerminalInputStream.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const TarnUUID sessionA = TarnUUID::random();
const TarnUUID sessionB = TarnUUID::random();

// Records applied events and holds their completions until the test releases them.
struct HeldApply {
    std::vector<std::string> applied;
    std::vector<std::function<void()>> pending;

    TarnTerminalInputStream::Apply apply() {
        return [this](const TarnTerminalInputEvent& event, std::function<void()> done) {
            if (const auto* bytes = std::get_if<TarnTerminalInputBytes>(&event))
                applied.push_back(bytes->bytes);
            else
                applied.push_back("resize " + std::to_string(std::get<TarnTerminalInputResize>(event).cols));
            pending.push_back(std::move(done));
        };
    }
    void completeOldest() {
        auto done = std::move(pending.front());
        pending.erase(pending.begin());
        done();
    }
};

TEST(TarnTerminalInputStream, AppliesOneEventAtATimeInArrivalOrder) {
    HeldApply held;
    TarnTerminalInputStream stream(held.apply());
    ASSERT_TRUE(stream.enqueue(TarnTerminalInputBytes{sessionA, "ls"}));
    ASSERT_TRUE(stream.enqueue(TarnTerminalInputResize{sessionA, 120, 40}));
    ASSERT_TRUE(stream.enqueue(TarnTerminalInputBytes{sessionB, "\r"}));
    EXPECT_EQ(held.applied, std::vector<std::string>{"ls"});
    held.completeOldest();
    EXPECT_EQ(held.applied, (std::vector<std::string>{"ls", "resize 120"}));
    held.completeOldest();
    held.completeOldest();
    EXPECT_EQ(held.applied, (std::vector<std::string>{"ls", "resize 120", "\r"}));
    EXPECT_TRUE(held.pending.empty());
}

TEST(TarnTerminalInputStream, RefusesInputBeyondASessionsBoundWithoutTouchingOthers) {
    HeldApply held;
    TarnTerminalInputStream stream(held.apply(), 8);
    ASSERT_TRUE(stream.enqueue(TarnTerminalInputBytes{sessionA, "12345"}));
    EXPECT_FALSE(stream.enqueue(TarnTerminalInputBytes{sessionA, "6789"}));
    EXPECT_TRUE(stream.enqueue(TarnTerminalInputBytes{sessionB, "6789"}));
    held.completeOldest(); // session A's bytes are done: room again
    EXPECT_TRUE(stream.enqueue(TarnTerminalInputBytes{sessionA, "6789"}));
}

TEST(TarnTerminalInputStream, StopDropsWaitingEventsAndStartsAfreshOnTheNextOne) {
    HeldApply held;
    TarnTerminalInputStream stream(held.apply());
    stream.enqueue(TarnTerminalInputBytes{sessionA, "first"});
    stream.enqueue(TarnTerminalInputBytes{sessionA, "dropped"});
    stream.stop();
    held.completeOldest(); // the event in flight finishes after the stop: nothing follows it
    EXPECT_EQ(held.applied, std::vector<std::string>{"first"});
    stream.enqueue(TarnTerminalInputBytes{sessionA, "after"});
    EXPECT_EQ(held.applied, (std::vector<std::string>{"first", "after"}));
}

TEST(TarnTerminalInputStream, ManyImmediateCompletionsDoNotDeepenTheStack) {
    std::size_t applied = 0;
    bool holdFirst = true;
    std::function<void()> first;
    TarnTerminalInputStream stream(
        [&](const TarnTerminalInputEvent&, std::function<void()> done) {
            ++applied;
            if (holdFirst) {
                holdFirst = false;
                first = std::move(done);
                return;
            }
            done();
        },
        1u << 30);
    for (int i = 0; i < 200'000; ++i)
        stream.enqueue(TarnTerminalInputBytes{sessionA, "x"});
    first();
    EXPECT_EQ(applied, 200'000u);
}

} // namespace
