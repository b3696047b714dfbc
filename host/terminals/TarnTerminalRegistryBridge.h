#pragma once

#include "host/core/TarnHostUnit.h"
#include "host/terminals/TarnTerminalUnitSettings.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

// The host's side of the terminal registry: makes it on first use, turns its reports into
// envelopes for the clients and runs the idle-reaping timer while the service runs.
class TarnTerminalRegistryBridge {
public:
    TarnTerminalRegistryBridge(TarnHostContext& context, TarnTerminalUnitSettings settings);
    ~TarnTerminalRegistryBridge();

    TarnTerminalSessionRegistry& ensureTerminalRegistry();
    TarnTerminalSessionRegistry* existingRegistry() { return registry_.get(); }
    // Where the registry's results arrive; it lives as long as the bridge.
    QObject& replyContext() { return replyContext_; }

    void startTerminalReapTimer();
    void stopTerminalReapTimer();

private:
    void sendOutput(const TarnUUID& sessionID, const std::string& bytes);
    void sendReplay(const TarnUUID& sessionID, const std::string& bytes, const TarnUUID& owner);
    void sendTerminalClosed(const TarnUUID& sessionID, std::optional<int32_t> exitCode);

    TarnHostContext& context_;
    const TarnTerminalUnitSettings settings_;
    QObject replyContext_; // declared before the registry: it must outlive it
    QTimer reapTimer_;
    std::unique_ptr<TarnTerminalSessionRegistry> registry_;
};
