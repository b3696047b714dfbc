#pragma once

#include "model/TarnDate.h"
#include "model/TarnUUID.h"
#include "model/TarnWireTerminalMessages.h"
#include "sessions/terminal/TarnTerminalRegistrySettings.h"

#include <QPointer>
#include <QThread>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct TarnTerminalEntry;

// What the registry reports. All three run on the thread of the registry's main context; the
// registry delivers a session's next output or replay only after the previous call returned.
struct TarnTerminalRegistryCallbacks {
    std::function<void(const TarnUUID& sessionID, const std::string& bytes)> onOutput;
    std::function<void(const TarnUUID& sessionID, const std::string& bytes, const TarnUUID& owner)> onReplay;
    std::function<void(const TarnUUID& sessionID, std::optional<int32_t> exitCode)> onClosed;
};

using TarnTerminalOpenResult = std::variant<TarnWireTerminalOpened, TarnTerminalError>;

// Owns every interactive shell session. Its state lives on a thread of its own; each operation is
// posted there and runs as one step, and results come back on the main context's thread, which
// must outlive the registry.
class TarnTerminalSessionRegistry {
public:
    using Clock = std::function<TarnDate()>;

    TarnTerminalSessionRegistry(QObject& mainContext, TarnTerminalRegistrySettings settings,
                                TarnTerminalRegistryCallbacks callbacks, Clock clock = &TarnDate::now);
    ~TarnTerminalSessionRegistry(); // ends every session
    TarnTerminalSessionRegistry(const TarnTerminalSessionRegistry&) = delete;
    TarnTerminalSessionRegistry& operator=(const TarnTerminalSessionRegistry&) = delete;

    // Columns and rows are clamped to what a terminal can hold (1...65,535).
    void open(std::int64_t cols, std::int64_t rows, const std::optional<std::string>& shell, const TarnUUID& owner,
              std::function<void(TarnTerminalOpenResult)> reply);
    // Makes `owner` the owner and replays the scrollback to it; false for an unknown session.
    void attach(const TarnUUID& sessionID, const TarnUUID& owner, std::function<void(bool)> reply);
    // `done` learns whether the bytes were refused because the shell is not reading its input.
    void input(const TarnUUID& sessionID, std::string bytes, std::function<void(TarnTerminalInputResult)> done);
    void resize(const TarnUUID& sessionID, std::int64_t cols, std::int64_t rows, std::function<void()> done);
    void close(const TarnUUID& sessionID);
    void list(std::function<void(std::vector<TarnWireTerminalSessionInfo>)> reply);
    // The client is gone: its sessions keep running without an owner.
    void detach(const TarnUUID& owner);
    // Closes every ownerless session idle for at least the idle time-out at `now`.
    void reapIdle(TarnDate now);

private:
    using EntryMap = std::map<TarnUUID, std::unique_ptr<TarnTerminalEntry>>;

    template <class Work>
    void onExecutor(Work&& work);
    template <class Work>
    void onMain(Work&& work);

    TarnTerminalOpenResult openNow(std::int64_t cols, std::int64_t rows, const std::optional<std::string>& shell,
                                   const TarnUUID& owner);
    bool attachNow(const TarnUUID& sessionID, const TarnUUID& owner);
    void closeNow(const TarnUUID& sessionID);
    std::vector<TarnWireTerminalSessionInfo> listNow() const;
    void drain(const TarnUUID& sessionID);
    void delivered(const TarnUUID& sessionID);
    void handleExit(const TarnUUID& sessionID, std::optional<int32_t> exitCode);
    void completeExit(EntryMap::iterator entry);
    void shutdown();

    const TarnTerminalRegistrySettings settings_;
    const TarnTerminalRegistryCallbacks callbacks_;
    const Clock clock_;
    QPointer<QObject> mainContext_;
    QThread thread_;
    QPointer<QObject> executor_; // lives on thread_; every member below is touched only there
    EntryMap entries_;
};
