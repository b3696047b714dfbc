#pragma once

#include <chrono>
#include <cstddef>

// Bounds that keep unpaired peers from holding the host's memory and sockets.
struct TarnConnectionLimits {
  static constexpr std::size_t receiveChunkBytes = 65'536;

  std::size_t maxUnpairedConnections = 32;
  std::size_t unpairedLineBytes = 65'536;
  std::size_t pairedLineBytes = 41'943'040;
  // An unpaired connection that sends nothing for this long, and has no request
  // waiting for the local user, is closed.
  std::chrono::milliseconds unpairedIdleTimeout = std::chrono::seconds(60);
  // A peer that stops reading while this much waits to be sent is dropped, so it cannot
  // make the host hold screen frames without end.
  std::size_t maxUnsentBytes = 64 * 1'048'576;
  // How long a closing connection may take to flush what it still has to send.
  std::chrono::milliseconds closeFlushTimeout = std::chrono::seconds(5);
};
