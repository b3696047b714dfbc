#pragma once
#include "host/runner/TarnShellCommand.h"
#include "model/TarnWireOneShotCommand.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

struct TarnTerminalRunnerSettings {
  std::string homePath;
  std::string shellPath = "/bin/zsh";
  std::chrono::milliseconds timeLimit = std::chrono::seconds(20);
  // How long the command group has between SIGTERM and SIGKILL after the time limit.
  std::chrono::milliseconds terminationGrace = std::chrono::seconds(2);
};

struct TarnParsedOutput {
  std::string output;
  std::optional<std::int64_t> exitCode;
  std::optional<std::string> workingDirectory;
};

// Runs one shell command line the way a person types it into a terminal and answers with its
// output, exit code and the folder the shell ended in. Blocks the calling thread.
class TarnMacTerminalRunner {
public:
  static constexpr int maxCommandCharacters = 2000;
  static constexpr std::size_t maxOutputBytes = 64'000;
  static constexpr std::int64_t timedOutExitCode = 124;

  explicit TarnMacTerminalRunner(TarnTerminalRunnerSettings settings, const std::atomic<bool>* cancelled = nullptr);

  TarnWireTerminalResponse run(const TarnWireTerminalRequest& request, const std::string& directory) const;

  const std::string& homeDirectory() const { return settings_.homePath; }
  static std::optional<std::string> existingDirectory(const std::string& path);
  // Takes the marker lines out of the shell's output; later marker lines win.
  static TarnParsedOutput parse(const std::string& text, const std::string& marker);
  std::string message(std::int64_t exitCode, bool didTimeOut, std::chrono::milliseconds duration) const;
  static std::string script(const std::string& directory, const std::string& command, const std::string& marker);

private:
  std::string timeLimitSeconds() const;
  std::string outputText(const std::string& parsed, bool wasTruncated, bool didTimeOut, std::int64_t exitCode) const;

  TarnTerminalRunnerSettings settings_;
  TarnShellCommand shell_;
};
