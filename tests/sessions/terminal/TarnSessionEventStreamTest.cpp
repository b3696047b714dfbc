#include "sessions/terminal/TarnSessionEventStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(TarnSessionEventStream, BlocksTheProducerWhileFullAndLosesNothing) {
    std::atomic<int> readable{0};
    TarnSessionEventStream stream(8, [&] { ++readable; });
    ASSERT_TRUE(stream.pushLive("12345678")); // fills the buffer
    EXPECT_EQ(readable.load(), 1);

    std::atomic<bool> secondPushed{false};
    std::thread producer([&] {
        stream.pushLive("abc");
        secondPushed = true;
    });
    // The producer cannot finish until the consumer takes something.
    auto first = stream.pop();
    producer.join();
    EXPECT_TRUE(secondPushed.load());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->bytes, "12345678");
    auto second = stream.pop();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->bytes, "abc");
    EXPECT_FALSE(stream.pop());
}

TEST(TarnSessionEventStream, FinishKeepsQueuedEventsAndDiscardReleasesABlockedProducer) {
    TarnSessionEventStream stream(4, [] {});
    ASSERT_TRUE(stream.pushLive("full"));
    std::thread producer([&] { EXPECT_FALSE(stream.pushLive("late")); });
    stream.discard();
    producer.join();
    EXPECT_FALSE(stream.pop());

    TarnSessionEventStream finishing(64, [] {});
    finishing.pushLive("kept");
    finishing.finish();
    EXPECT_FALSE(finishing.pushReplay(TarnUUID::random()));
    auto event = finishing.pop();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->bytes, "kept");
}

TEST(TarnSessionEventStream, SignalsReadableOnlyWhenTheConsumerWaits) {
    int readable = 0;
    TarnSessionEventStream stream(1024, [&] { ++readable; });
    stream.pushLive("a");
    stream.pushLive("b");
    EXPECT_EQ(readable, 1);
    stream.pop();
    stream.pop();
    EXPECT_FALSE(stream.pop()); // now waiting
    stream.pushReplay(TarnUUID::random());
    EXPECT_EQ(readable, 2);
}

} // namespace
