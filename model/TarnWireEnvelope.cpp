#include "model/TarnWireEnvelope.h"

#include <utility>

namespace {

template <class Payload>
TarnWireEnvelope envelopeWith(TarnWireKind kind,
                              std::optional<Payload> TarnWireEnvelope::*field, Payload payload) {
  TarnWireEnvelope envelope;
  envelope.kind = kind;
  envelope.*field = std::move(payload);
  return envelope;
}

} // namespace

TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireHello payload) {
  return envelopeWith(TarnWireKind::hello, &TarnWireEnvelope::hello, std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWirePairRequest payload) {
  return envelopeWith(TarnWireKind::pairRequest, &TarnWireEnvelope::pairRequest, std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWirePairResult payload) {
  return envelopeWith(TarnWireKind::pairResult, &TarnWireEnvelope::pairResult, std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireCommand payload) {
  return envelopeWith(TarnWireKind::command, &TarnWireEnvelope::command, std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireScreenFrame payload) {
  return envelopeWith(TarnWireKind::screenFrame, &TarnWireEnvelope::screenFrame, std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireFileListResponse payload) {
  return envelopeWith(TarnWireKind::fileListResponse, &TarnWireEnvelope::fileListResponse,
                      std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireFileDownloadResponse payload) {
  return envelopeWith(TarnWireKind::fileDownloadResponse, &TarnWireEnvelope::fileDownloadResponse,
                      std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireTerminalResponse payload) {
  return envelopeWith(TarnWireKind::terminalResponse, &TarnWireEnvelope::terminalResponse,
                      std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireTerminalOpened payload) {
  return envelopeWith(TarnWireKind::terminalOpened, &TarnWireEnvelope::terminalOpened,
                      std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireTerminalSessions payload) {
  return envelopeWith(TarnWireKind::terminalSessions, &TarnWireEnvelope::terminalSessions,
                      std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireTerminalOutput payload) {
  return envelopeWith(TarnWireKind::terminalOutput, &TarnWireEnvelope::terminalOutput,
                      std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireTerminalClosed payload) {
  return envelopeWith(TarnWireKind::terminalClosed, &TarnWireEnvelope::terminalClosed,
                      std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnAgentEvent payload) {
  return envelopeWith(TarnWireKind::agentEvent, &TarnWireEnvelope::agentEvent, std::move(payload));
}
TarnWireEnvelope TarnWireEnvelope::carrying(TarnWireAgentSessions payload) {
  return envelopeWith(TarnWireKind::agentSessions, &TarnWireEnvelope::agentSessions,
                      std::move(payload));
}

TarnWireEnvelope TarnWireEnvelope::error(std::string message) {
  return envelopeWith(TarnWireKind::error, &TarnWireEnvelope::errorMessage, std::move(message));
}

TarnWireEnvelope TarnWireEnvelope::hostTokenGrant(std::string token) {
  return envelopeWith(TarnWireKind::hostTokenGrant, &TarnWireEnvelope::hostToken, std::move(token));
}

TarnWireEnvelope TarnWireEnvelope::sessionEnded() {
  TarnWireEnvelope envelope;
  envelope.kind = TarnWireKind::sessionEnded;
  return envelope;
}
