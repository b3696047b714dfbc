#include "host/terminals/TarnTerminalUnit.h"

#include "model/TarnBase64.h"
#include "model/TarnCommandNames.h"

TarnTerminalUnit::TarnTerminalUnit(TarnHostContext& context, TarnTerminalUnitSettings settings)
    : context_(context), bridge_(context, settings),
      input_([this](const TarnTerminalInputEvent& event, std::function<void()> done) { applyInput(event, std::move(done)); },
             settings.maxPendingInputBytesPerSession) {}

std::vector<std::string> TarnTerminalUnit::commandNames() const {
    namespace names = TarnInteractiveTerminalCommand;
    return {std::string(names::open),  std::string(names::attach), std::string(names::list),
            std::string(names::input), std::string(names::resize), std::string(names::close)};
}

void TarnTerminalUnit::handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) {
    namespace names = TarnInteractiveTerminalCommand;
    if (command.name == names::open)
        handleOpen(command.payload, clientID);
    else if (command.name == names::attach)
        handleAttach(command.payload, clientID);
    else if (command.name == names::list)
        handleList(clientID);
    else if (command.name == names::input)
        handleInput(command.payload, clientID);
    else if (command.name == names::resize)
        handleResize(command.payload, clientID);
    else if (command.name == names::close)
        handleClose(command.payload);
}

void TarnTerminalUnit::clientDeparted(const TarnUUID& clientID) {
    if (auto* registry = bridge_.existingRegistry())
        registry->detach(clientID);
}

void TarnTerminalUnit::serviceStarted() {
    bridge_.startTerminalReapTimer();
}

void TarnTerminalUnit::serviceStopped() {
    bridge_.stopTerminalReapTimer();
    input_.stop();
}

void TarnTerminalUnit::handleOpen(const std::string& payload, const TarnUUID& clientID) {
    auto request = TarnWireTerminalOpenRequest::decode(payload);
    if (!request) {
        context_.send(TarnWireEnvelope::error(invalidOpenPayloadMessage), clientID);
        return;
    }
    auto& registry = bridge_.ensureTerminalRegistry();
    registry.open(request->cols, request->rows, request->shell, clientID,
                  [this, clientID, &registry](const TarnTerminalOpenResult& result) {
                      if (const auto* error = std::get_if<TarnTerminalError>(&result)) {
                          context_.send(TarnWireEnvelope::error(*error == TarnTerminalError::capacityReached
                                                                    ? limitReachedMessage
                                                                    : startFailedMessage),
                                        clientID);
                          return;
                      }
                      context_.send(TarnWireEnvelope::carrying(std::get<TarnWireTerminalOpened>(result)), clientID);
                      registry.list([this, clientID](std::vector<TarnWireTerminalSessionInfo> sessions) {
                          context_.send(TarnWireEnvelope::carrying(TarnWireTerminalSessions{std::move(sessions)}),
                                        clientID);
                      });
                  });
}

void TarnTerminalUnit::handleAttach(const std::string& payload, const TarnUUID& clientID) {
    auto request = TarnWireTerminalAttachRequest::decode(payload);
    if (!request)
        return;
    bridge_.ensureTerminalRegistry().attach(request->sessionID, clientID,
                                            [this, clientID, sessionID = request->sessionID](bool attached) {
                                                if (attached)
                                                    return;
                                                context_.send(TarnWireEnvelope::carrying(TarnWireTerminalClosed{
                                                                  sessionID, TarnWireTerminalClosed::unknownExitCode,
                                                                  sessionEndedMessage}),
                                                              clientID);
                                            });
}

void TarnTerminalUnit::handleList(const TarnUUID& clientID) {
    bridge_.ensureTerminalRegistry().list([this, clientID](std::vector<TarnWireTerminalSessionInfo> sessions) {
        context_.send(TarnWireEnvelope::carrying(TarnWireTerminalSessions{std::move(sessions)}), clientID);
    });
}

void TarnTerminalUnit::handleInput(const std::string& payload, const TarnUUID& clientID) {
    auto request = TarnWireTerminalInputPayload::decode(payload);
    if (!request)
        return;
    auto bytes = TarnBase64::decode(request->dataBase64);
    if (!bytes)
        return;
    enqueueInput(TarnTerminalInputBytes{request->sessionID, std::move(*bytes), clientID}, clientID);
}

void TarnTerminalUnit::handleResize(const std::string& payload, const TarnUUID& clientID) {
    auto request = TarnWireTerminalResizePayload::decode(payload);
    if (!request)
        return;
    enqueueInput(TarnTerminalInputResize{request->sessionID, request->cols, request->rows}, clientID);
}

void TarnTerminalUnit::handleClose(const std::string& payload) {
    auto request = TarnWireTerminalCloseRequest::decode(payload);
    if (!request)
        return;
    // Closing never creates the registry: without one there is nothing to close.
    if (auto* registry = bridge_.existingRegistry())
        registry->close(request->sessionID);
}

void TarnTerminalUnit::enqueueInput(TarnTerminalInputEvent event, const TarnUUID& clientID) {
    if (!input_.enqueue(std::move(event)))
        context_.send(TarnWireEnvelope::error(inputOverflowMessage), clientID);
}

void TarnTerminalUnit::applyInput(const TarnTerminalInputEvent& event, std::function<void()> done) {
    auto* registry = bridge_.existingRegistry();
    if (!registry) {
        done(); // no terminal was ever opened: nothing can take the input
        return;
    }
    if (const auto* bytes = std::get_if<TarnTerminalInputBytes>(&event))
        registry->input(bytes->sessionID, bytes->bytes,
                        [this, done = std::move(done), client = bytes->fromClient](TarnTerminalInputResult result) {
                            if (result == TarnTerminalInputResult::refusedBacklogFull)
                                context_.send(TarnWireEnvelope::error(inputOverflowMessage), client);
                            done();
                        });
    else if (const auto* resize = std::get_if<TarnTerminalInputResize>(&event))
        registry->resize(resize->sessionID, resize->cols, resize->rows, std::move(done));
}
