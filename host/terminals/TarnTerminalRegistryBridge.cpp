#include "host/terminals/TarnTerminalRegistryBridge.h"

#include "model/TarnBase64.h"

#include <algorithm>

TarnTerminalRegistryBridge::TarnTerminalRegistryBridge(TarnHostContext& context, TarnTerminalUnitSettings settings)
    : context_(context), settings_(std::move(settings)) {
    reapTimer_.setInterval(settings_.reapInterval);
    QObject::connect(&reapTimer_, &QTimer::timeout, &replyContext_, [this] {
        if (registry_)
            registry_->reapIdle(settings_.clock());
    });
}

TarnTerminalRegistryBridge::~TarnTerminalRegistryBridge() = default;

TarnTerminalSessionRegistry& TarnTerminalRegistryBridge::ensureTerminalRegistry() {
    if (!registry_) {
        TarnTerminalRegistryCallbacks callbacks{
            [this](const TarnUUID& id, const std::string& bytes) { sendOutput(id, bytes); },
            [this](const TarnUUID& id, const std::string& bytes, const TarnUUID& owner) {
                sendReplay(id, bytes, owner);
            },
            [this](const TarnUUID& id, std::optional<int32_t> exitCode) { sendTerminalClosed(id, exitCode); },
        };
        registry_ = std::make_unique<TarnTerminalSessionRegistry>(replyContext_, settings_.registry,
                                                                  std::move(callbacks), settings_.clock);
        startTerminalReapTimer();
    }
    return *registry_;
}

void TarnTerminalRegistryBridge::startTerminalReapTimer() {
    if (registry_ && !reapTimer_.isActive())
        reapTimer_.start();
}

void TarnTerminalRegistryBridge::stopTerminalReapTimer() {
    reapTimer_.stop();
}

void TarnTerminalRegistryBridge::sendOutput(const TarnUUID& sessionID, const std::string& bytes) {
    context_.sendToClients(TarnWireEnvelope::carrying(TarnWireTerminalOutput{sessionID, TarnBase64::encode(bytes)}),
                           TarnClientAudience::allPaired);
}

void TarnTerminalRegistryBridge::sendReplay(const TarnUUID& sessionID, const std::string& bytes,
                                            const TarnUUID& owner) {
    if (bytes.empty())
        return;
    // Only a client still connected and paired may receive the session's history.
    auto paired = context_.clientIDs(TarnClientAudience::allPaired);
    if (std::find(paired.begin(), paired.end(), owner) == paired.end())
        return;
    context_.send(TarnWireEnvelope::carrying(TarnWireTerminalOutput{sessionID, TarnBase64::encode(bytes)}), owner);
}

void TarnTerminalRegistryBridge::sendTerminalClosed(const TarnUUID& sessionID, std::optional<int32_t> exitCode) {
    TarnWireTerminalClosed closed{sessionID, exitCode ? std::int64_t{*exitCode} : TarnWireTerminalClosed::unknownExitCode,
                                  std::nullopt};
    context_.sendToClients(TarnWireEnvelope::carrying(closed), TarnClientAudience::allPaired);
}
