#include "model/TarnTranscriptModels.h"

#include <algorithm>

bool TarnTerminalSession::isRunning() const {
  return std::any_of(exchanges.begin(), exchanges.end(), [](const TarnTerminalExchange& exchange) {
    return exchange.status == TarnTerminalExchangeStatus::running;
  });
}
