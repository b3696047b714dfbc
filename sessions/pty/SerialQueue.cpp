#include "sessions/pty/SerialQueue.h"

#include <pthread.h>

#include <condition_variable>
#include <deque>
#include <mutex>

struct SerialQueue::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    bool stopping = false;

    void run(const std::string& label) {
        // Linux limits thread names to 15 characters.
        pthread_setname_np(pthread_self(), label.substr(0, 15).c_str());
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stopping || !tasks.empty(); });
            if (tasks.empty())
                return;
            auto task = std::move(tasks.front());
            tasks.pop_front();
            lock.unlock();
            task();
            task = nullptr; // release captures before taking the lock again
            lock.lock();
        }
    }
};

SerialQueue::SerialQueue(std::string label) : label_(std::move(label)), state_(std::make_shared<State>()) {
    thread_ = std::thread([state = state_, label = label_] { state->run(label); });
}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
    }
    state_->wake.notify_one();
    if (isCurrent())
        thread_.detach();
    else
        thread_.join();
}

void SerialQueue::async(std::function<void()> task) {
    {
        std::lock_guard lock(state_->mutex);
        state_->tasks.push_back(std::move(task));
    }
    state_->wake.notify_one();
}
