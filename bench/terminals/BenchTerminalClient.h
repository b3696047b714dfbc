#pragma once

#include "model/TarnModels.h"

#include <QObject>
#include <QTcpSocket>

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// A lean line-protocol client on a thread of its own, so its decoding cost can be told apart
// from the host's. It keeps counters instead of every envelope.
class BenchTerminalClient : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    // Runs on the client's thread.
    void connectAndPair(quint16 port, const std::string& pairingCode);
    void sendCommand(const std::string& name, const std::string& payload);
    // Sends keystrokes and notes the time, so the next output counts as their echo.
    void sendKeystrokes(const TarnUUID& sessionID, const std::string& bytes);
    double threadCpuSeconds() const;

    // Read from any thread.
    std::atomic<bool> paired{false};
    std::atomic<std::uint64_t> outputBytes{0};
    std::atomic<std::uint64_t> markersSeen{0};
    std::atomic<std::uint64_t> echoesSeen{0};
    std::optional<TarnUUID> openedSession();
    std::vector<double> takeEchoLatencies();

    std::string marker = "TARN_DONE";

private:
    void readAvailable();
    void handle(const TarnWireEnvelope& envelope);

    QTcpSocket* socket_ = nullptr;
    TarnWireLineDecoder decoder_;
    std::string tail_; // the last bytes of output, so a marker split across chunks is found
    std::optional<Clock::time_point> keystrokeSentAt_;
    std::mutex mutex_;
    std::optional<TarnUUID> openedSession_;
    std::vector<double> echoLatencies_;
};
