#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

// A serial executor on one named thread: tasks run one at a time, in the order posted.
class SerialQueue {
public:
    explicit SerialQueue(std::string label);
    // Lets the tasks already posted run, then ends the thread; waits for it unless called from
    // one of its own tasks.
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> task);
    const std::string& label() const { return label_; }
    bool isCurrent() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    struct State;

    std::string label_;
    std::shared_ptr<State> state_; // shared with the thread, which may outlive this object
    std::thread thread_;
};
