#include "BenchTerminalClient.h"

#include <QCoreApplication>

#include <time.h>

void BenchTerminalClient::connectAndPair(quint16 port, const std::string& pairingCode) {
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::readyRead, this, [this] { readAvailable(); });
    socket_->connectToHost(QHostAddress::LocalHost, port);
    TarnWirePairRequest request;
    request.clientID = TarnUUID::random();
    request.clientName = "Bench Phone";
    request.clientModel = "iPhone";
    request.pairingCode = pairingCode;
    socket_->write(QByteArray::fromStdString(TarnWireCodec::encode(TarnWireEnvelope::carrying(request))));
}

void BenchTerminalClient::sendCommand(const std::string& name, const std::string& payload) {
    TarnWireCommand command;
    command.id = TarnUUID::random();
    command.name = name;
    command.payload = payload;
    command.createdAt = TarnDate::now();
    socket_->write(QByteArray::fromStdString(TarnWireCodec::encode(TarnWireEnvelope::carrying(command))));
}

void BenchTerminalClient::sendKeystrokes(const TarnUUID& sessionID, const std::string& bytes) {
    keystrokeSentAt_ = Clock::now();
    sendCommand("terminalInput", TarnWireTerminalInputPayload{sessionID, TarnBase64::encode(bytes)}.encodedString());
}

double BenchTerminalClient::threadCpuSeconds() const {
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

std::optional<TarnUUID> BenchTerminalClient::openedSession() {
    std::lock_guard lock(mutex_);
    return openedSession_;
}

std::vector<double> BenchTerminalClient::takeEchoLatencies() {
    std::lock_guard lock(mutex_);
    return std::exchange(echoLatencies_, {});
}

void BenchTerminalClient::readAvailable() {
    auto result = decoder_.append(socket_->readAll().toStdString());
    for (const auto& envelope : result.envelopes)
        handle(envelope);
}

void BenchTerminalClient::handle(const TarnWireEnvelope& envelope) {
    if (envelope.pairResult && envelope.pairResult->accepted) {
        paired = true;
    } else if (envelope.terminalOpened) {
        std::lock_guard lock(mutex_);
        openedSession_ = envelope.terminalOpened->sessionID;
    } else if (envelope.terminalOutput) {
        if (keystrokeSentAt_) {
            std::lock_guard lock(mutex_);
            echoLatencies_.push_back(std::chrono::duration<double>(Clock::now() - *keystrokeSentAt_).count());
            keystrokeSentAt_.reset();
            ++echoesSeen;
        }
        auto bytes = TarnBase64::decode(envelope.terminalOutput->dataBase64).value_or(std::string());
        outputBytes += bytes.size();
        bool found = bytes.find(marker) != std::string::npos ||
                     (tail_ + bytes.substr(0, marker.size())).find(marker) != std::string::npos;
        tail_ += bytes.size() > marker.size() ? bytes.substr(bytes.size() - marker.size()) : bytes;
        if (tail_.size() > marker.size())
            tail_.erase(0, tail_.size() - marker.size());
        if (found)
            ++markersSeen;
    } else {
        return;
    }
    // Wake the main thread, which waits for events while it serves the host.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
}
