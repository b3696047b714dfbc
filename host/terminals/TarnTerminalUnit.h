#pragma once

#include "host/core/TarnHostUnit.h"
#include "host/terminals/TarnTerminalInputStream.h"
#include "host/terminals/TarnTerminalRegistryBridge.h"
#include "host/terminals/TarnTerminalUnitSettings.h"

// The interactive terminal commands: open, attach, list, input, resize and close.
class TarnTerminalUnit final : public TarnHostUnit {
public:
    static constexpr const char* invalidOpenPayloadMessage = "Invalid terminal open payload.";
    static constexpr const char* limitReachedMessage = "Terminal limit reached (8 sessions). Close one first.";
    static constexpr const char* startFailedMessage = "The terminal could not be started.";
    static constexpr const char* inputOverflowMessage = "Terminal input is arriving faster than the session takes it.";
    static constexpr const char* sessionEndedMessage = "Session ended.";

    explicit TarnTerminalUnit(TarnHostContext& context, TarnTerminalUnitSettings settings = {});

    std::vector<std::string> commandNames() const override;
    void handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) override;
    void clientDeparted(const TarnUUID& clientID) override;
    void serviceStarted() override;
    void serviceStopped() override;

private:
    void handleOpen(const std::string& payload, const TarnUUID& clientID);
    void handleAttach(const std::string& payload, const TarnUUID& clientID);
    void handleList(const TarnUUID& clientID);
    void handleInput(const std::string& payload, const TarnUUID& clientID);
    void handleResize(const std::string& payload, const TarnUUID& clientID);
    void handleClose(const std::string& payload);
    void enqueueInput(TarnTerminalInputEvent event, const TarnUUID& clientID);
    void applyInput(const TarnTerminalInputEvent& event, std::function<void()> done);

    TarnHostContext& context_;
    TarnTerminalRegistryBridge bridge_;
    TarnTerminalInputStream input_;
};
