#include "sessions/terminal/TarnTerminalSessionRegistry.h"

#include "sessions/terminal/TarnTerminalEntry.h"

#include <QMetaObject>

#include <algorithm>

namespace {

constexpr std::int64_t maxWindowDimension = 65'535;

uint16_t windowDimension(std::int64_t requested) {
    return static_cast<uint16_t>(std::clamp<std::int64_t>(requested, 1, maxWindowDimension));
}

} // namespace

TarnTerminalSessionRegistry::TarnTerminalSessionRegistry(QObject& mainContext, TarnTerminalRegistrySettings settings,
                                                         TarnTerminalRegistryCallbacks callbacks, Clock clock)
    : settings_(settings), callbacks_(std::move(callbacks)), clock_(std::move(clock)), mainContext_(&mainContext) {
    thread_.setObjectName(QStringLiteral("tarn.terminal.registry"));
    auto* executor = new QObject;
    executor->moveToThread(&thread_);
    executor_ = executor;
    thread_.start();
}

TarnTerminalSessionRegistry::~TarnTerminalSessionRegistry() {
    QMetaObject::invokeMethod(executor_, [this] { shutdown(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete executor_.data();
}

template <class Work>
void TarnTerminalSessionRegistry::onExecutor(Work&& work) {
    QMetaObject::invokeMethod(executor_, std::forward<Work>(work), Qt::QueuedConnection);
}

template <class Work>
void TarnTerminalSessionRegistry::onMain(Work&& work) {
    QMetaObject::invokeMethod(mainContext_, std::forward<Work>(work), Qt::QueuedConnection);
}

void TarnTerminalSessionRegistry::open(std::int64_t cols, std::int64_t rows, const std::optional<std::string>& shell,
                                       const TarnUUID& owner, std::function<void(TarnTerminalOpenResult)> reply) {
    onExecutor([=, this, reply = std::move(reply)] {
        auto result = openNow(cols, rows, shell, owner);
        onMain([reply, result] { reply(result); });
    });
}

void TarnTerminalSessionRegistry::attach(const TarnUUID& sessionID, const TarnUUID& owner,
                                         std::function<void(bool)> reply) {
    onExecutor([=, this, reply = std::move(reply)] {
        bool attached = attachNow(sessionID, owner);
        onMain([reply, attached] { reply(attached); });
    });
}

void TarnTerminalSessionRegistry::input(const TarnUUID& sessionID, std::string bytes,
                                        std::function<void(TarnTerminalInputResult)> done) {
    onExecutor([=, this, bytes = std::move(bytes), done = std::move(done)] {
        auto result = TarnTerminalInputResult::taken;
        if (auto found = entries_.find(sessionID); found != entries_.end()) {
            found->second->lastActivity = clock_();
            auto outcome =
                found->second->session->send(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
            if (outcome == SendOutcome::inputBacklogFull)
                result = TarnTerminalInputResult::refusedBacklogFull;
        }
        onMain([done, result] { done(result); });
    });
}

void TarnTerminalSessionRegistry::resize(const TarnUUID& sessionID, std::int64_t cols, std::int64_t rows,
                                         std::function<void()> done) {
    onExecutor([=, this, done = std::move(done)] {
        if (auto found = entries_.find(sessionID); found != entries_.end()) {
            TarnTerminalEntry& entry = *found->second;
            entry.cols = windowDimension(cols);
            entry.rows = windowDimension(rows);
            entry.lastActivity = clock_();
            entry.session->resize(windowDimension(cols), windowDimension(rows));
        }
        onMain(done);
    });
}

void TarnTerminalSessionRegistry::close(const TarnUUID& sessionID) {
    onExecutor([=, this] { closeNow(sessionID); });
}

void TarnTerminalSessionRegistry::list(std::function<void(std::vector<TarnWireTerminalSessionInfo>)> reply) {
    onExecutor([this, reply = std::move(reply)] {
        onMain([reply, sessions = listNow()] { reply(sessions); });
    });
}

void TarnTerminalSessionRegistry::detach(const TarnUUID& owner) {
    onExecutor([=, this] {
        for (auto& [id, entry] : entries_)
            if (entry->owner == owner)
                entry->owner.reset();
    });
}

void TarnTerminalSessionRegistry::reapIdle(TarnDate now) {
    onExecutor([=, this] {
        std::vector<TarnUUID> idle;
        for (const auto& [id, entry] : entries_) {
            double idleSeconds = now.secondsSinceReferenceDate() - entry->lastActivity.secondsSinceReferenceDate();
            if (!entry->owner && idleSeconds >= settings_.idleTimeout)
                idle.push_back(id);
        }
        for (const auto& id : idle)
            closeNow(id);
    });
}

TarnTerminalOpenResult TarnTerminalSessionRegistry::openNow(std::int64_t cols, std::int64_t rows,
                                                            const std::optional<std::string>& shell,
                                                            const TarnUUID& owner) {
    if (static_cast<std::int64_t>(entries_.size()) >= settings_.maxSessions)
        return TarnTerminalError::capacityReached;
    const TarnUUID id = TarnUUID::random();
    auto entry = std::make_unique<TarnTerminalEntry>(settings_.scrollbackCapacity, clock_());
    entry->owner = owner;
    entry->cols = windowDimension(cols);
    entry->rows = windowDimension(rows);

    // Raw: these run on the output queue, and every session is stopped before the executor goes.
    QObject* executor = executor_.data();
    auto stream = std::make_shared<TarnSessionEventStream>(settings_.maxBufferedOutputBytes, [this, executor, id] {
        QMetaObject::invokeMethod(executor, [this, id] { drain(id); }, Qt::QueuedConnection);
    });
    entry->stream = stream;
    entry->session = std::make_unique<TarnPTYSession>(
        windowDimension(cols), windowDimension(rows), shell,
        [stream](std::span<const uint8_t> chunk) {
            stream->pushLive(std::string(reinterpret_cast<const char*>(chunk.data()), chunk.size()));
        },
        [this, stream, executor, id](std::optional<int32_t> exitCode) {
            stream->finish();
            QMetaObject::invokeMethod(executor, [this, id, exitCode] { handleExit(id, exitCode); },
                                      Qt::QueuedConnection);
        },
        settings_.process);
    TarnWireTerminalOpened opened{id, entry->session->title()};

    // Registered before the child starts, so no output can arrive for an unknown session.
    auto [position, inserted] = entries_.emplace(id, std::move(entry));
    if (!position->second->session->start()) {
        position->second->stream->discard();
        entries_.erase(position);
        return TarnTerminalError::startFailed;
    }
    return opened;
}

bool TarnTerminalSessionRegistry::attachNow(const TarnUUID& sessionID, const TarnUUID& owner) {
    auto found = entries_.find(sessionID);
    if (found == entries_.end())
        return false;
    found->second->owner = owner;
    found->second->lastActivity = clock_();
    // After the child exited the stream is finished: the session closes without a replay.
    found->second->stream->pushReplay(owner);
    return true;
}

void TarnTerminalSessionRegistry::closeNow(const TarnUUID& sessionID) {
    auto found = entries_.find(sessionID);
    if (found == entries_.end())
        return;
    // Unblock the output queue before stopping the process, which waits for a delivery in progress.
    found->second->stream->discard();
    found->second->session->terminate();
    entries_.erase(found);
    onMain([onClosed = callbacks_.onClosed, sessionID] { onClosed(sessionID, std::nullopt); });
}

std::vector<TarnWireTerminalSessionInfo> TarnTerminalSessionRegistry::listNow() const {
    std::vector<TarnWireTerminalSessionInfo> sessions;
    for (const auto& [id, entry] : entries_)
        sessions.push_back({id, entry->session->title(), entry->createdAt, entry->cols, entry->rows, entry->alive});
    std::stable_sort(sessions.begin(), sessions.end(),
                     [](const auto& a, const auto& b) { return a.createdAt < b.createdAt; });
    return sessions;
}

void TarnTerminalSessionRegistry::drain(const TarnUUID& sessionID) {
    auto found = entries_.find(sessionID);
    if (found == entries_.end() || found->second->delivering)
        return;
    TarnTerminalEntry& entry = *found->second;
    auto event = entry.stream->pop();
    if (!event) {
        if (entry.exited)
            completeExit(found);
        return;
    }
    entry.delivering = true;
    QPointer<QObject> executor = executor_;
    auto afterDelivery = [this, executor, sessionID] {
        // The registry and its executor go together, both on the main thread: checked here, it holds.
        if (executor)
            QMetaObject::invokeMethod(executor, [this, sessionID] { delivered(sessionID); }, Qt::QueuedConnection);
    };
    if (event->kind == TarnSessionEventStream::Event::Kind::live) {
        entry.scrollback.append(event->bytes);
        entry.lastActivity = clock_();
        onMain([onOutput = callbacks_.onOutput, sessionID, bytes = std::move(event->bytes), afterDelivery] {
            onOutput(sessionID, bytes);
            afterDelivery();
        });
    } else {
        onMain([onReplay = callbacks_.onReplay, sessionID, bytes = entry.scrollback.snapshot(),
                owner = event->owner, afterDelivery] {
            onReplay(sessionID, bytes, owner);
            afterDelivery();
        });
    }
}

void TarnTerminalSessionRegistry::delivered(const TarnUUID& sessionID) {
    auto found = entries_.find(sessionID);
    if (found == entries_.end())
        return;
    found->second->delivering = false;
    drain(sessionID);
}

void TarnTerminalSessionRegistry::handleExit(const TarnUUID& sessionID, std::optional<int32_t> exitCode) {
    auto found = entries_.find(sessionID);
    if (found == entries_.end())
        return;
    found->second->alive = false;
    found->second->exited = true;
    found->second->exitCode = exitCode;
    drain(sessionID); // closes at once when nothing is left to deliver
}

void TarnTerminalSessionRegistry::completeExit(EntryMap::iterator entry) {
    onMain([onClosed = callbacks_.onClosed, sessionID = entry->first, exitCode = entry->second->exitCode] {
        onClosed(sessionID, exitCode);
    });
    entries_.erase(entry);
}

void TarnTerminalSessionRegistry::shutdown() {
    for (auto& [id, entry] : entries_) {
        entry->stream->discard();
        entry->session->terminate();
    }
    entries_.clear();
}
