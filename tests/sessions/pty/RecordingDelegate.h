#pragma once

#include "sessions/pty/LocalProcess.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

// Records what a LocalProcess reports and lets a test wait for it.
class RecordingDelegate : public LocalProcessDelegate {
public:
    static constexpr auto patience = std::chrono::seconds(30);

    explicit RecordingDelegate(winsize size = {24, 80, 0, 0}) : size_(size) {}

    void processTerminated(LocalProcess&, std::optional<int32_t> exitCode) override {
        std::lock_guard lock(mutex_);
        exitCode_ = exitCode;
        ++exitCount_;
        outputAtExit_ = output_.size();
        changed_.notify_all();
    }
    void dataReceived(std::span<const uint8_t> slice) override {
        if (beforeChunk_)
            beforeChunk_();
        std::lock_guard lock(mutex_);
        output_.append(reinterpret_cast<const char*>(slice.data()), slice.size());
        ++chunkCount_;
        changed_.notify_all();
    }
    winsize getWindowSize() override { return size_; }

    // Runs on the delivery queue before each chunk is recorded (set before the start).
    void setBeforeChunk(std::function<void()> hook) { beforeChunk_ = std::move(hook); }

    bool waitForOutput(const std::string& needle) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] { return output_.find(needle) != std::string::npos; });
    }
    bool waitForExit() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] { return exitCount_ > 0; });
    }
    std::string output() {
        std::lock_guard lock(mutex_);
        return output_;
    }
    std::optional<int32_t> exitCode() {
        std::lock_guard lock(mutex_);
        return exitCode_;
    }
    int exitCount() {
        std::lock_guard lock(mutex_);
        return exitCount_;
    }
    std::size_t outputAtExit() {
        std::lock_guard lock(mutex_);
        return outputAtExit_;
    }

private:
    winsize size_;
    std::function<void()> beforeChunk_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string output_;
    int chunkCount_ = 0;
    std::optional<int32_t> exitCode_;
    int exitCount_ = 0;
    std::size_t outputAtExit_ = 0;
};
