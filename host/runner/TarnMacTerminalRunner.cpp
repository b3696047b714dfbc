#include "host/runner/TarnMacTerminalRunner.h"

#include <QString>
#include <QTextBoundaryFinder>

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace {
struct Refusal {
  const char* output;
  std::int64_t exitCode;
  const char* message;
};

// Counts what a reader sees as characters, so an emoji with its modifiers counts once.
int userPerceivedCharacters(const QString& text) {
  QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
  int count = 0;
  while (graphemes.toNextBoundary() != -1) {
    ++count;
  }
  return count;
}

std::string newMarker() {
  std::string identifier = TarnUUID::random().uuidString();
  std::erase(identifier, '-');
  return "__TARNHOLD_TERMINAL_" + identifier + "__";
}

std::string quotedForShell(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::optional<std::int64_t> decimalInteger(std::string_view text) {
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('-')) {
      return std::nullopt;
    }
  }
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

bool isLineBreak(QChar c) {
  const char16_t code = c.unicode();
  return (code >= 0x0A && code <= 0x0D) || code == 0x85 || code == 0x2028 || code == 0x2029;
}

QString withoutOuterLineBreaks(const QString& text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && isLineBreak(text[start])) {
    ++start;
  }
  while (end > start && isLineBreak(text[end - 1])) {
    --end;
  }
  return text.mid(start, end - start);
}

std::chrono::milliseconds millisecondsBetween(const TarnDate& start, const TarnDate& end) {
  const double milliseconds = std::trunc((end.secondsSinceReferenceDate() - start.secondsSinceReferenceDate()) * 1000);
  return std::chrono::milliseconds(static_cast<std::int64_t>(std::max(milliseconds, 0.0)));
}
} // namespace

TarnMacTerminalRunner::TarnMacTerminalRunner(TarnTerminalRunnerSettings settings, const std::atomic<bool>* cancelled)
    : settings_(std::move(settings)), shell_(settings_.shellPath, settings_.terminationGrace, cancelled) {}

std::optional<std::string> TarnMacTerminalRunner::existingDirectory(const std::string& path) {
  struct stat status {};
  if (path.empty() || ::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    return std::nullopt;
  }
  return path;
}

std::string TarnMacTerminalRunner::script(const std::string& directory, const std::string& command,
                                          const std::string& marker) {
  return "cd " + quotedForShell(directory) + " || exit 1\n" + command +
         "\n__tarnhold_status=$?\n"
         "printf '\\n" + marker + "_EXIT:%d\\n' \"$__tarnhold_status\"\n"
         "printf '" + marker + "_PWD:%s\\n' \"$PWD\"\n"
         "exit \"$__tarnhold_status\"";
}

TarnParsedOutput TarnMacTerminalRunner::parse(const std::string& text, const std::string& marker) {
  const std::string exitPrefix = marker + "_EXIT:";
  const std::string directoryPrefix = marker + "_PWD:";
  TarnParsedOutput parsed;
  std::string kept;
  bool firstKept = true;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line(text.data() + start, (end == std::string::npos ? text.size() : end) - start);
    if (line.starts_with(exitPrefix)) {
      parsed.exitCode = decimalInteger(line.substr(exitPrefix.size()));
    } else if (line.starts_with(directoryPrefix)) {
      parsed.workingDirectory = std::string(line.substr(directoryPrefix.size()));
    } else {
      if (!firstKept) {
        kept += '\n';
      }
      kept += line;
      firstKept = false;
    }
    if (end == std::string::npos) {
      break;
    }
    start = end + 1;
  }
  parsed.output = std::move(kept);
  return parsed;
}

std::string TarnMacTerminalRunner::timeLimitSeconds() const {
  return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(settings_.timeLimit).count());
}

std::string TarnMacTerminalRunner::message(std::int64_t exitCode, bool didTimeOut,
                                           std::chrono::milliseconds duration) const {
  if (didTimeOut) {
    return "Timed out after " + timeLimitSeconds() + " seconds.";
  }
  return "Exited " + std::to_string(exitCode) + " in " + std::to_string(std::max<std::int64_t>(duration.count(), 0)) +
         " ms.";
}

std::string TarnMacTerminalRunner::outputText(const std::string& parsed, bool wasTruncated, bool didTimeOut,
                                              std::int64_t exitCode) const {
  QString text = withoutOuterLineBreaks(QString::fromStdString(parsed));
  if (wasTruncated) {
    text = QStringLiteral("[Showing last %1 KB]\n").arg(maxOutputBytes / 1024) + text;
  }
  const QString timedOutSentence = QStringLiteral("Command timed out after %1 seconds.")
                                       .arg(QString::fromStdString(timeLimitSeconds()));
  if (didTimeOut) {
    return (text.isEmpty() ? timedOutSentence : text + QLatin1Char('\n') + timedOutSentence).toStdString();
  }
  if (text.isEmpty()) {
    return exitCode == 0 ? "Done." : "Command exited with no output.";
  }
  return text.toStdString();
}

TarnWireTerminalResponse TarnMacTerminalRunner::run(const TarnWireTerminalRequest& request,
                                                    const std::string& directory) const {
  const TarnDate startedAt = TarnDate::now();
  const auto deadline = TarnShellCommand::Clock::now() + settings_.timeLimit;
  TarnWireTerminalResponse response;
  response.id = request.id;
  response.command = request.command;
  response.startedAt = startedAt;
  const auto finish = [&](std::string output, std::int64_t exitCode, std::string workingDirectory, bool didTimeOut,
                          std::optional<std::string> message = std::nullopt) {
    response.completedAt = TarnDate::now();
    const auto duration = millisecondsBetween(startedAt, response.completedAt);
    response.output = std::move(output);
    response.exitCode = exitCode;
    response.workingDirectory = std::move(workingDirectory);
    response.durationMilliseconds = duration.count();
    response.didTimeOut = didTimeOut;
    response.message = message ? *message : this->message(exitCode, didTimeOut, duration);
    return response;
  };

  const QString command = QString::fromStdString(request.command).trimmed();
  if (command.isEmpty()) {
    return finish("Enter a command to run on the Mac.", 2, directory, false, "No command was sent.");
  }
  if (userPerceivedCharacters(command) > maxCommandCharacters) {
    return finish("Command is too long. Keep terminal commands under " + std::to_string(maxCommandCharacters) +
                      " characters.",
                  2, directory, false, "Command was not run.");
  }
  const std::string runDirectory = existingDirectory(directory).value_or(settings_.homePath);
  const std::string marker = newMarker();
  TarnOutputRing output(maxOutputBytes);
  const TarnShellRun run = shell_.run(script(runDirectory, command.toStdString(), marker), runDirectory, deadline, output);
  switch (run.ending) {
  case TarnShellEnding::noOutputChannel:
    return finish("Tarnhold Host could not create an output buffer.", 1, runDirectory, false,
                  "Terminal output buffer failed.");
  case TarnShellEnding::couldNotStart:
    return finish(std::generic_category().message(run.errorNumber), 1, runDirectory, false,
                  "Terminal command could not start.");
  case TarnShellEnding::exited:
  case TarnShellEnding::stopped:
    break;
  }
  const bool didTimeOut = run.ending == TarnShellEnding::stopped;
  // Invalid UTF-8, such as a character cut by the ring's edge, becomes U+FFFD.
  const std::string decoded = QString::fromUtf8(output.contents()).toStdString();
  const TarnParsedOutput parsed = parse(decoded, marker);
  const std::int64_t exitCode = didTimeOut ? timedOutExitCode : parsed.exitCode.value_or(run.status);
  return finish(outputText(parsed.output, output.wasTruncated(), didTimeOut, exitCode), exitCode,
                parsed.workingDirectory.value_or(runDirectory), didTimeOut);
}
