#include "RecordingDelegate.h"

#include "sessions/pty/TerminalEnvironment.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const std::vector<std::string> plainEnvironment{"PATH=/usr/bin:/bin"};

std::vector<uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Reaped children no longer answer signal 0; zombies still do.
bool waitUntilReaped(pid_t pid) {
    auto deadline = std::chrono::steady_clock::now() + RecordingDelegate::patience;
    while (std::chrono::steady_clock::now() < deadline) {
        if (kill(pid, 0) != 0 && errno == ESRCH)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string procField(pid_t pid, const std::string& file, const std::string& key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return line.substr(key.size());
    return {};
}

char procState(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    auto paren = stat.rfind(')');
    return paren == std::string::npos || paren + 2 >= stat.size() ? '?' : stat[paren + 2];
}

struct ExitCase {
    const char* name;
    std::string executable;
    std::vector<std::string> args;
    std::optional<int32_t> status;
};

class LocalProcessExit : public testing::TestWithParam<ExitCase> {};

TEST_P(LocalProcessExit, ReportsTheRawWaitStatusAfterTheLastOutput) {
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess(GetParam().executable, GetParam().args, plainEnvironment));
    ASSERT_TRUE(delegate.waitForExit());
    EXPECT_EQ(delegate.exitCode(), GetParam().status);
    EXPECT_EQ(delegate.outputAtExit(), delegate.output().size());
    EXPECT_FALSE(process.running());
    EXPECT_EQ(process.childfd(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalProcessExit,
    testing::Values(ExitCase{"exitThree", "/bin/sh", {"-c", "exit 3"}, 768},
                    ExitCase{"success", "/bin/sh", {"-c", "printf done"}, 0},
                    ExitCase{"missingProgram", "/nonexistent/program", {}, 32512},
                    ExitCase{"killed", "/bin/sh", {"-c", "kill -9 $$"}, SIGKILL}),
    [](const auto& info) { return std::string(info.param.name); });

// With SIGCHLD ignored the kernel reaps the child itself, so its status cannot be known.
class IgnoredChildSignals {
public:
    IgnoredChildSignals() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGCHLD, &ignore, &previous_);
    }
    ~IgnoredChildSignals() { sigaction(SIGCHLD, &previous_, nullptr); }

private:
    struct sigaction previous_ {};
};

TEST(LocalProcess, ReportsAnExitStatusItCouldNotCollectAsAbsentNotAsSuccess) {
    IgnoredChildSignals ignored;
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "echo bye; exit 3"}, plainEnvironment));
    ASSERT_TRUE(delegate.waitForExit());
    EXPECT_EQ(delegate.exitCode(), std::nullopt);
    EXPECT_EQ(delegate.output(), "bye\r\n");
}

TEST(LocalProcess, DeliversEveryByteWrittenJustBeforeExit) {
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "stty raw -echo; seq 1 200000; exit 3"}, plainEnvironment));
    ASSERT_TRUE(delegate.waitForExit());
    std::ostringstream expected;
    for (int i = 1; i <= 200000; ++i)
        expected << i << '\n';
    EXPECT_EQ(delegate.output(), expected.str());
    EXPECT_EQ(delegate.outputAtExit(), expected.str().size());
    EXPECT_EQ(delegate.exitCode(), 768);
    EXPECT_EQ(delegate.exitCount(), 1);
}

TEST(LocalProcess, RunsTheProgramUnderItsOwnArgumentZeroAndFolder) {
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "echo \"$0 in $(pwd)\""}, plainEnvironment, "custom-name",
                                     "/tmp"));
    ASSERT_TRUE(delegate.waitForExit());
    EXPECT_EQ(delegate.output(), "custom-name in /tmp\r\n");
}

TEST(LocalProcess, GivesTheChildExactlyTheDefaultEnvironment) {
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess("/usr/bin/env", {}));
    ASSERT_TRUE(delegate.waitForExit());
    std::string expected;
    for (const auto& entry : TerminalEnvironment::variables("xterm-256color", TrueColor::on))
        expected += entry + "\r\n";
    EXPECT_EQ(delegate.output(), expected);
}

TEST(LocalProcess, StartsOnlyWhenNotRunningAndAgainAfterTheEnd) {
    RecordingDelegate first;
    LocalProcess process(first);
    process.send(bytes("dropped\n")); // before the start: nowhere to go
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "read line; echo \"got $line\""}, plainEnvironment));
    EXPECT_FALSE(process.startProcess("/bin/sh", {"-c", "echo second"}, plainEnvironment));
    process.send(bytes("typed\n"));
    ASSERT_TRUE(first.waitForExit());
    EXPECT_NE(first.output().find("got typed"), std::string::npos);
    EXPECT_EQ(first.output().find("dropped"), std::string::npos);

    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "echo again"}, plainEnvironment));
    ASSERT_TRUE(first.waitForOutput("again"));
}

TEST(LocalProcess, CreatesTheTerminalWithTheDelegatesSizeAndResizesIt) {
    RecordingDelegate delegate(winsize{33, 101, 0, 0});
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess("/bin/sh", {}, plainEnvironment));
    process.send(bytes("stty size\n"));
    ASSERT_TRUE(delegate.waitForOutput("33 101"));
    ASSERT_TRUE(process.setWindowSize(winsize{40, 120, 0, 0}));
    process.send(bytes("stty size; exit\n"));
    ASSERT_TRUE(delegate.waitForOutput("40 120"));
    ASSERT_TRUE(delegate.waitForExit());
    EXPECT_FALSE(process.setWindowSize(winsize{10, 10, 0, 0}));
}

TEST(LocalProcess, ReportsTheExitWhileABackgroundProcessHoldsTheTerminal) {
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "trap '' HUP; sleep 3 & echo left; exit 2"}, plainEnvironment));
    ASSERT_TRUE(delegate.waitForExit());
    EXPECT_EQ(delegate.exitCode(), 512);
    EXPECT_EQ(delegate.output(), "left\r\n");
}

TEST(LocalProcess, DumpsEveryChunkItDeliversWhileLoggingIsOn) {
    char folder[] = "/tmp/tarn-dump-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    process.setHostLogging(std::string(folder));
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "printf logged"}, plainEnvironment));
    ASSERT_TRUE(delegate.waitForExit());
    std::string dumped;
    for (int n = 0; std::filesystem::exists(std::string(folder) + "/log-" + std::to_string(n)); ++n) {
        std::ifstream in(std::string(folder) + "/log-" + std::to_string(n));
        dumped.append(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(dumped, delegate.output());
    EXPECT_EQ(dumped, "logged");
    std::filesystem::remove_all(folder);
}

TEST(LocalProcess, StopsReadingWhileTheDelegateIsBehindAndLosesNothing) {
    constexpr long total = 20'000'000;
    std::mutex gate;
    std::unique_lock held(gate);
    RecordingDelegate delegate;
    delegate.setBeforeChunk([&] { std::lock_guard pass(gate); });
    LocalProcessSettings settings;
    settings.maxPendingOutputBytes = 256 * 1024;
    LocalProcess process(delegate, nullptr, settings);
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "stty raw -echo; exec head -c 20000000 /dev/zero"},
                                     plainEnvironment));
    pid_t writer = process.shellPid();

    // With the delegate held, the writer must come to rest blocked on the full terminal, far from done.
    auto writtenSoFar = [&] { return std::stol("0" + procField(writer, "io", "wchar: ")); };
    auto deadline = std::chrono::steady_clock::now() + RecordingDelegate::patience;
    long written = -1;
    int steadyChecks = 0;
    while (steadyChecks < 5 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        bool runsHead = procField(writer, "cmdline", "").find("head") != std::string::npos;
        long now = writtenSoFar();
        steadyChecks = runsHead && procState(writer) == 'S' && now == written ? steadyChecks + 1 : 0;
        written = now;
    }
    EXPECT_EQ(steadyChecks, 5);
    EXPECT_LT(written, 4'000'000);

    held.unlock();
    ASSERT_TRUE(delegate.waitForExit());
    EXPECT_EQ(delegate.output().size(), static_cast<std::size_t>(total));
    EXPECT_EQ(delegate.exitCode(), 0);
}

TEST(LocalProcess, RefusesInputOnceAChildThatDoesNotReadHasABacklog) {
    RecordingDelegate delegate;
    LocalProcessSettings settings;
    settings.maxPendingInputBytes = 256 * 1024;
    LocalProcess process(delegate, nullptr, settings);
    ASSERT_TRUE(process.startProcess("/bin/sh", {"-c", "stty raw -echo; echo ready; exec sleep 60"}, plainEnvironment));
    ASSERT_TRUE(delegate.waitForOutput("ready"));
    const std::vector<uint8_t> block(64 * 1024, 'k');
    SendOutcome outcome = SendOutcome::queued;
    for (int sent = 0; sent < 200 && outcome == SendOutcome::queued; ++sent)
        outcome = process.send(block);
    EXPECT_EQ(outcome, SendOutcome::inputBacklogFull);
    process.terminate();
    EXPECT_EQ(process.send(block), SendOutcome::notRunning);
}

TEST(LocalProcess, TerminateEscalatesToKillAndReapsWithoutReporting) {
    RecordingDelegate delegate;
    LocalProcessSettings settings;
    settings.terminateGrace = std::chrono::milliseconds(100);
    pid_t pid;
    {
        LocalProcess process(delegate, nullptr, settings);
        ASSERT_TRUE(process.startProcess(
            "/bin/sh", {"-c", "trap '' TERM HUP; echo ready; while :; do read line; done"}, plainEnvironment));
        ASSERT_TRUE(delegate.waitForOutput("ready"));
        pid = process.shellPid();
        process.terminate();
        EXPECT_FALSE(process.running());
        process.send(bytes("ignored\n"));
    }
    EXPECT_TRUE(waitUntilReaped(pid));
    EXPECT_EQ(delegate.exitCount(), 0);
}

TEST(LocalProcess, HangsUpAnInteractiveLoginShellOnTerminate) {
    RecordingDelegate delegate;
    LocalProcess process(delegate);
    ASSERT_TRUE(process.startProcess("/bin/zsh", {"-l", "-i"}, std::vector<std::string>{"PATH=/usr/bin:/bin", "PS1=ok> "}));
    ASSERT_TRUE(delegate.waitForOutput("ok> "));
    pid_t pid = process.shellPid();
    process.terminate();
    EXPECT_TRUE(waitUntilReaped(pid));
    EXPECT_EQ(delegate.exitCount(), 0);
}

} // namespace
