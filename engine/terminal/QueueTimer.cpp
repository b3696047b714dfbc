#include "engine/terminal/QueueTimer.h"

#include "sessions/pty/SerialQueue.h"

#include <pthread.h>

namespace brevlin {

QueueTimer::QueueTimer(std::shared_ptr<SerialQueue> queue)
    : queue_(queue)
    , thread_([this] { waitForDeadlines(); })
{
}

QueueTimer::~QueueTimer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void QueueTimer::runAfter(std::chrono::milliseconds delay, std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        pending_.emplace(std::chrono::steady_clock::now() + delay, std::move(task));
    }
    wake_.notify_all();
}

void QueueTimer::waitForDeadlines()
{
    pthread_setname_np(pthread_self(), "brevlin.timer");
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (pending_.empty()) {
            wake_.wait(lock);
            continue;
        }
        auto first = pending_.begin();
        if (wake_.wait_until(lock, first->first) == std::cv_status::no_timeout)
            continue;
        first = pending_.begin();
        if (first == pending_.end() || first->first > std::chrono::steady_clock::now())
            continue;
        std::function<void()> task = std::move(first->second);
        pending_.erase(first);
        if (std::shared_ptr<SerialQueue> queue = queue_.lock())
            queue->async(std::move(task));
    }
}

} // namespace brevlin
