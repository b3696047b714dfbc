#pragma once

#include "model/TarnUUID.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

// The ordered events of one shell session between its output queue (producer) and the registry
// (consumer). Order is kept; adjacent waiting output may travel as one chunk. Output is bounded:
// a producer waits while too much is buffered, which stops the reading of the terminal, so
// nothing is ever dropped while the stream is open.
class TarnSessionEventStream {
public:
    struct Event {
        enum class Kind { live, replay };
        Kind kind;
        std::string bytes;  // live
        TarnUUID owner{};   // replay
    };

    // Output chunks that wait together are joined up to this size.
    static constexpr std::size_t maxChunkBytes = 131'072;

    // `onReadable` runs, outside the lock, when an event arrives while the consumer waits for one.
    TarnSessionEventStream(std::size_t maxBufferedBytes, std::function<void()> onReadable);

    // Blocks while the buffer is full; false once the stream is finished.
    bool pushLive(std::string bytes);
    // Never blocks; false once the stream is finished.
    bool pushReplay(const TarnUUID& owner);
    // The next event; when there is none the consumer is marked as waiting for one.
    std::optional<Event> pop();
    // No further events are accepted; those queued are still delivered.
    void finish();
    // Finishes and drops what is queued.
    void discard();

private:
    bool push(Event event);

    const std::size_t maxBufferedBytes_;
    const std::function<void()> onReadable_;
    std::mutex mutex_;
    std::condition_variable spaceFreed_;
    std::deque<Event> events_;
    std::size_t bufferedBytes_ = 0;
    bool finished_ = false;
    bool consumerWaiting_ = true;
};
