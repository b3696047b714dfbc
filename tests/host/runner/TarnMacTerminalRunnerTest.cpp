#include "host/runner/TarnMacTerminalRunner.h"
#include "tests/host/runner/TarnRunnerTestFixture.h"

#include <QFile>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <thread>

namespace {

using namespace std::chrono_literals;
using ::testing::MatchesRegex;

class TarnMacTerminalRunnerTest : public TarnRunnerTestFixture {
protected:
  TarnWireTerminalResponse run(const std::string& command, const std::string& directory) {
    return TarnMacTerminalRunner(settings()).run(request(command), directory);
  }
};

TEST_F(TarnMacTerminalRunnerTest, RunsInTheGivenFolderAndReportsTheOutcome) {
  const TarnWireTerminalRequest echo = request("  echo hi  ");
  const TarnWireTerminalResponse response = TarnMacTerminalRunner(settings()).run(echo, home());
  EXPECT_EQ(response.id, echo.id);
  EXPECT_EQ(response.command, "  echo hi  ");
  EXPECT_EQ(response.output, "hi");
  EXPECT_EQ(response.exitCode, 0);
  EXPECT_EQ(response.workingDirectory, home());
  EXPECT_FALSE(response.didTimeOut);
  EXPECT_THAT(response.message, MatchesRegex("Exited 0 in [0-9]+ ms\\."));
  EXPECT_EQ(response.message, "Exited 0 in " + std::to_string(response.durationMilliseconds) + " ms.");
  EXPECT_LE(response.startedAt, response.completedAt);
}

TEST_F(TarnMacTerminalRunnerTest, OutcomesOfCommonCommands) {
  const std::string sub = makeFolder("sub");
  struct Case {
    std::string command;
    std::string output;
    std::int64_t exitCode;
    std::string workingDirectory;
  };
  const Case cases[] = {
      {"cd sub", "Done.", 0, sub},
      {"false", "Command exited with no output.", 1, home()},
      // Leaving the shell skips the marker lines: the code comes from the process, the folder stays.
      {"cd sub; exit 3", "Command exited with no output.", 3, home()},
      {"echo out; echo err >&2", "out\nerr", 0, home()},
      {"printf 'no newline'", "no newline", 0, home()},
      // Standard input is /dev/null, never the host's: cat ends at once.
      {"cat", "Done.", 0, home()},
  };
  for (const Case& expected : cases) {
    SCOPED_TRACE(expected.command);
    const TarnWireTerminalResponse response = run(expected.command, home());
    EXPECT_EQ(response.output, expected.output);
    EXPECT_EQ(response.exitCode, expected.exitCode);
    EXPECT_EQ(response.workingDirectory, expected.workingDirectory);
    EXPECT_FALSE(response.didTimeOut);
  }
}

TEST_F(TarnMacTerminalRunnerTest, AFolderThatIsGoneFallsBackToHome) {
  EXPECT_EQ(run("pwd", home() + "/deleted").output, home());
}

TEST_F(TarnMacTerminalRunnerTest, AFolderWithAQuoteInItsNameStillWorks) {
  const std::string folder = makeFolder("it's here");
  const TarnWireTerminalResponse response = run("pwd", folder);
  EXPECT_EQ(response.output, folder);
  EXPECT_EQ(response.workingDirectory, folder);
}

TEST_F(TarnMacTerminalRunnerTest, RefusesEmptyAndOverlongCommandsWithoutRunning) {
  struct Case {
    std::string command;
    std::string output;
    std::string message;
  };
  const std::string tooLong = "Command is too long. Keep terminal commands under 2000 characters.";
  const Case cases[] = {
      {"", "Enter a command to run on the Mac.", "No command was sent."},
      {" \n\t ", "Enter a command to run on the Mac.", "No command was sent."},
      {"echo " + std::string(1996, 'a'), tooLong, "Command was not run."},
  };
  for (const Case& expected : cases) {
    SCOPED_TRACE(expected.command.size());
    const TarnWireTerminalResponse response = run(expected.command, home() + "/not-checked");
    EXPECT_EQ(response.output, expected.output);
    EXPECT_EQ(response.exitCode, 2);
    EXPECT_EQ(response.workingDirectory, home() + "/not-checked");
    EXPECT_EQ(response.message, expected.message);
  }
}

TEST_F(TarnMacTerminalRunnerTest, CountsCharactersAsAReaderSeesThem) {
  EXPECT_EQ(run("echo " + std::string(1995, 'a'), home()).output, std::string(1995, 'a'));
  // 1995 thumbs with a skin tone: 3990 code points, 7980 bytes, 1995 characters.
  std::string thumbs;
  for (int i = 0; i < 1995; ++i) {
    thumbs += "\U0001F44D\U0001F3FD";
  }
  const TarnWireTerminalResponse response = run("echo " + thumbs, home());
  EXPECT_EQ(response.exitCode, 0);
  EXPECT_EQ(response.output, thumbs);
}

TEST_F(TarnMacTerminalRunnerTest, KeepsOnlyTheNewestOutput) {
  const TarnWireTerminalResponse response = run("head -c 5000000 /dev/zero | tr '\\0' x; echo; echo last", home());
  EXPECT_EQ(response.exitCode, 0);
  const std::string prefix = "[Showing last 62 KB]\n";
  ASSERT_TRUE(response.output.starts_with(prefix));
  EXPECT_TRUE(response.output.ends_with("xxx\nlast"));
  EXPECT_LE(response.output.size(), prefix.size() + TarnMacTerminalRunner::maxOutputBytes);
  EXPECT_GT(response.output.size(), prefix.size() + 63'000);
}

TEST_F(TarnMacTerminalRunnerTest, AShellThatCannotStartIsReported) {
  TarnTerminalRunnerSettings missingShell = settings();
  missingShell.shellPath = home() + "/no-such-shell";
  const TarnWireTerminalResponse response = TarnMacTerminalRunner(missingShell).run(request("echo hi"), home());
  EXPECT_EQ(response.exitCode, 1);
  EXPECT_EQ(response.output, "No such file or directory");
  EXPECT_EQ(response.message, "Terminal command could not start.");
  EXPECT_EQ(response.workingDirectory, home());
}

// A host started from a terminal must not lend that terminal to a client's command: a
// password prompt there would wait, unseen by the client, until the time limit.
TEST_F(TarnMacTerminalRunnerTest, CommandsHaveNoControllingTerminal) {
  std::array<int, 2> result{};
  ASSERT_EQ(::pipe2(result.data(), O_CLOEXEC), 0);
  const pid_t host = ::fork();
  ASSERT_GE(host, 0);
  if (host == 0) {
    // A host in a session of its own whose controlling terminal is a fresh pseudo-terminal.
    const int primary = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (::setsid() < 0 || primary < 0 || ::grantpt(primary) != 0 || ::unlockpt(primary) != 0) ::_exit(2);
    const int terminal = ::open(::ptsname(primary), O_RDWR);
    if (terminal < 0) ::_exit(3);
    const std::string output =
        run("( : < /dev/tty ) 2>/dev/null && echo has-terminal || echo no-terminal", home()).output;
    (void)!::write(result[1], output.data(), output.size());
    ::_exit(0);
  }
  ::close(result[1]);
  std::string output;
  std::array<char, 256> buffer{};
  for (ssize_t count; (count = ::read(result[0], buffer.data(), buffer.size())) > 0;)
    output.append(buffer.data(), size_t(count));
  ::close(result[0]);
  int status = 0;
  ::waitpid(host, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(output, "no-terminal");
}

bool processIsGone(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/stat");
  std::string pidField, name, state;
  return !(status >> pidField >> name >> state) || state == "Z";
}

pid_t readPid(const std::string& path) {
  std::ifstream file(path);
  pid_t pid = 0;
  file >> pid;
  return pid;
}

TEST_F(TarnMacTerminalRunnerTest, ATimeOutEndsTheWholeCommandEvenWhenItIgnoresTerm) {
  TarnTerminalRunnerSettings quick = settings();
  quick.timeLimit = 1s;
  quick.terminationGrace = 200ms;
  const std::string pids = home() + "/pids";
  const std::string command = "echo started; trap '' TERM; sleep 100 & echo $! > bg.pid; "
                              "zsh -c 'trap \"\" TERM; echo $$ > trapper.pid; while :; do sleep 1; done'";
  const TarnWireTerminalResponse response = TarnMacTerminalRunner(quick).run(request(command), home());
  EXPECT_TRUE(response.didTimeOut);
  EXPECT_EQ(response.exitCode, 124);
  EXPECT_EQ(response.output, "started\nCommand timed out after 1 seconds.");
  EXPECT_EQ(response.message, "Timed out after 1 seconds.");
  EXPECT_EQ(response.workingDirectory, home());
  EXPECT_GE(response.durationMilliseconds, 1000);

  for (const char* file : {"bg.pid", "trapper.pid"}) {
    SCOPED_TRACE(file);
    const pid_t pid = readPid(home() + "/" + file);
    ASSERT_GT(pid, 0);
    // The orphans are reaped by init; give it a moment.
    for (int attempt = 0; attempt < 500 && !processIsGone(pid); ++attempt) {
      std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(processIsGone(pid));
  }
}

TEST_F(TarnMacTerminalRunnerTest, ATimeOutWithoutOutputSaysSoAlone) {
  TarnTerminalRunnerSettings quick = settings();
  quick.timeLimit = 1s;
  const TarnWireTerminalResponse response = TarnMacTerminalRunner(quick).run(request("sleep 30"), home());
  EXPECT_EQ(response.output, "Command timed out after 1 seconds.");
  EXPECT_EQ(response.exitCode, 124);
}

TEST(TarnMacTerminalRunnerParse, TakesTheMarkerLinesOut) {
  const std::string marker = "__TARNHOLD_TERMINAL_ABC__";
  struct Case {
    std::string text;
    std::string output;
    std::optional<std::int64_t> exitCode;
    std::optional<std::string> directory;
  };
  const Case cases[] = {
      {"hi\n\n" + marker + "_EXIT:0\n" + marker + "_PWD:/home/u\n", "hi\n\n", 0, "/home/u"},
      {"no markers", "no markers", std::nullopt, std::nullopt},
      {marker + "_EXIT:+5\n" + marker + "_EXIT:-7", "", -7, std::nullopt},
      {marker + "_EXIT:abc\na", "a", std::nullopt, std::nullopt},
      {marker + "_EXIT:\n" + marker + "_PWD:/a\n" + marker + "_PWD:/b", "", std::nullopt, "/b"},
      {"x " + marker + "_EXIT:3", "x " + marker + "_EXIT:3", std::nullopt, std::nullopt},
  };
  for (const Case& expected : cases) {
    SCOPED_TRACE(expected.text);
    const TarnParsedOutput parsed = TarnMacTerminalRunner::parse(expected.text, marker);
    EXPECT_EQ(parsed.output, expected.output);
    EXPECT_EQ(parsed.exitCode, expected.exitCode);
    EXPECT_EQ(parsed.workingDirectory, expected.directory);
  }
}

TEST(TarnMacTerminalRunnerMessage, Sentences) {
  const TarnMacTerminalRunner runner(TarnTerminalRunnerSettings{});
  EXPECT_EQ(runner.message(0, false, 412ms), "Exited 0 in 412 ms.");
  EXPECT_EQ(runner.message(-3, false, -5ms), "Exited -3 in 0 ms.");
  EXPECT_EQ(runner.message(124, true, 20'000ms), "Timed out after 20 seconds.");
}

TEST(TarnMacTerminalRunnerScript, QuotesTheFolderAndPlacesTheMarkers) {
  EXPECT_EQ(TarnMacTerminalRunner::script("/home/it's", "echo a\necho b", "M"),
            "cd '/home/it'\\''s' || exit 1\n"
            "echo a\necho b\n"
            "__tarnhold_status=$?\n"
            "printf '\\nM_EXIT:%d\\n' \"$__tarnhold_status\"\n"
            "printf 'M_PWD:%s\\n' \"$PWD\"\n"
            "exit \"$__tarnhold_status\"");
}

} // namespace
