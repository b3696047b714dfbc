#include "sessions/terminal/TarnPTYSession.h"

#include <filesystem>

TarnPTYSession::TarnPTYSession(uint16_t cols, uint16_t rows, const std::optional<std::string>& shell,
                               OutputHandler onOutput, ExitHandler onExit, LocalProcessSettings settings)
    : onOutput_(std::move(onOutput)), onExit_(std::move(onExit)), shell_(shell.value_or(defaultShell)),
      title_(std::filesystem::path(shell_).filename().string()), winSize_{rows, cols, 0, 0},
      process_(std::make_unique<LocalProcess>(static_cast<LocalProcessDelegate&>(*this),
                                              std::make_shared<SerialQueue>("tarn.pty.output"), settings)) {}

TarnPTYSession::~TarnPTYSession() {
    process_.reset();
}

bool TarnPTYSession::start(const std::optional<std::string>& currentDirectory,
                           const std::optional<std::string>& executable,
                           const std::optional<std::vector<std::string>>& args) {
    return process_->startProcess(executable.value_or(shell_), args.value_or(std::vector<std::string>{"-l"}),
                                  std::nullopt, std::nullopt, currentDirectory);
}

SendOutcome TarnPTYSession::send(std::span<const uint8_t> bytes) {
    return process_->send(bytes);
}

void TarnPTYSession::resize(uint16_t cols, uint16_t rows) {
    winsize size{rows, cols, 0, 0};
    {
        std::lock_guard lock(winSizeLock_);
        winSize_ = size;
    }
    process_->setWindowSize(size);
}

void TarnPTYSession::terminate() {
    process_->terminate();
}

void TarnPTYSession::processTerminated(LocalProcess&, std::optional<int32_t> exitCode) {
    onExit_(exitCode);
}

void TarnPTYSession::dataReceived(std::span<const uint8_t> slice) {
    onOutput_(slice);
}

winsize TarnPTYSession::getWindowSize() {
    std::lock_guard lock(winSizeLock_);
    return winSize_;
}
