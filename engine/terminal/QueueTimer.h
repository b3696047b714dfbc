#pragma once

#include "engine/terminal/TerminalExecutor.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class SerialQueue;

namespace brevlin {

// Runs delayed tasks on a serial queue: one thread waits for the deadlines and posts each task
// to the queue when it is due, so the task runs where the terminal is driven.
class QueueTimer : public TerminalExecutor {
public:
    explicit QueueTimer(std::shared_ptr<SerialQueue> queue);
    ~QueueTimer() override;
    QueueTimer(const QueueTimer&) = delete;
    QueueTimer& operator=(const QueueTimer&) = delete;

    void runAfter(std::chrono::milliseconds delay, std::function<void()> task) override;

private:
    void waitForDeadlines();

    std::weak_ptr<SerialQueue> queue_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::multimap<std::chrono::steady_clock::time_point, std::function<void()>> pending_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace brevlin
