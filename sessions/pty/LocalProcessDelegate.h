#pragma once

#include <sys/ioctl.h>

#include <cstdint>
#include <optional>
#include <span>

class LocalProcess;

// Receives what a LocalProcess reports. Calls arrive on the process's delivery queue, one at a time.
class LocalProcessDelegate {
public:
    virtual ~LocalProcessDelegate() = default;
    // The raw wait status as waitpid filled it in (exit 1 arrives as 256); absent when it is unknown.
    virtual void processTerminated(LocalProcess& process, std::optional<int32_t> exitCode) = 0;
    virtual void dataReceived(std::span<const uint8_t> slice) = 0;
    // Asked once per start, before the child exists.
    virtual winsize getWindowSize() = 0;
};
