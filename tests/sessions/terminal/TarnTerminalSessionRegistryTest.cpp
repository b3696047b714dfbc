#include "tests/sessions/terminal/TarnRegistryFixture.h"
#include "tests/support/terminals/TarnChildProcesses.h"

namespace {

TEST_F(TarnTerminalSessionRegistryTest, RunsALoginShellThatTakesInputAndFollowsResizes) {
    makeRegistry();
    TarnUUID id = open(100, 30);
    ASSERT_TRUE(waitForPrompt(id));
    auto sessions = list();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0], (TarnWireTerminalSessionInfo{id, "zsh", now, 100, 30, true}));

    type(id, "echo $((6*7))x; stty size\n");
    ASSERT_TRUE(waitForOutput(id, "42x"));
    ASSERT_TRUE(waitForOutput(id, "30 100"));

    registry->resize(id, 120, 40, [] {});
    type(id, "stty size\n");
    ASSERT_TRUE(waitForOutput(id, "40 120"));
    EXPECT_EQ(list()[0].cols, 120);
}

TEST_F(TarnTerminalSessionRegistryTest, AShellThatExitsDeliversAllItsOutputThenClosesWithTheRawStatus) {
    makeRegistry();
    TarnUUID id = open();
    ASSERT_TRUE(waitForPrompt(id));
    type(id, "seq 1 30000; exit 3\n");
    ASSERT_TRUE(waitForClosed(id));
    const Closed* end = closedEntry(id);
    EXPECT_EQ(end->exitCode, 768);
    EXPECT_NE(output[id].find("\r\n29999\r\n30000\r\n"), std::string::npos);
    EXPECT_EQ(end->outputBefore, output[id].size());
    EXPECT_TRUE(list().empty());
}

TEST_F(TarnTerminalSessionRegistryTest, CloseReportsNoExitCodeOnceAndLeavesNoProcessBehind) {
    makeRegistry();
    auto before = childProcesses();
    TarnUUID id = open();
    ASSERT_TRUE(waitForPrompt(id));
    auto after = childProcesses();
    std::vector<pid_t> shells;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(shells));
    ASSERT_EQ(shells.size(), 1u);

    registry->close(id);
    ASSERT_TRUE(waitForClosed(id));
    EXPECT_EQ(closedEntry(id)->exitCode, std::nullopt);
    EXPECT_TRUE(waitUntilReaped(shells[0]));
    registry->close(id); // unknown by now: ignored
    EXPECT_TRUE(list().empty());
    EXPECT_EQ(closed.size(), 1u);
}

TEST_F(TarnTerminalSessionRegistryTest, AttachReplaysTheScrollbackToTheNewOwnerInItsPlace) {
    makeRegistry();
    TarnUUID id = open();
    ASSERT_TRUE(waitForPrompt(id));
    type(id, "echo $((6*7))x\n");
    ASSERT_TRUE(waitForOutput(id, "42x"));

    std::optional<bool> attached;
    registry->attach(id, secondClient, [&](bool result) { attached = result; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !replays.empty(); }, patienceMs));
    EXPECT_EQ(attached, true);
    EXPECT_EQ(replays[0].owner, secondClient);
    EXPECT_EQ(replays[0].bytes, output[id].substr(0, replays[0].outputBefore));
    EXPECT_NE(replays[0].bytes.find("42x"), std::string::npos);

    std::optional<bool> unknown;
    registry->attach(TarnUUID::random(), secondClient, [&](bool result) { unknown = result; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return unknown.has_value(); }, patienceMs));
    EXPECT_FALSE(*unknown);
}

TEST_F(TarnTerminalSessionRegistryTest, TheLimitCountsOpenShellsOnly) {
    TarnTerminalRegistrySettings settings;
    settings.maxSessions = 2;
    makeRegistry(settings);
    TarnUUID first = open(80, 24, "/bin/sh");
    open(80, 24, "/bin/sh");
    auto refused = openResult(80, 24, "/bin/sh");
    ASSERT_TRUE(std::holds_alternative<TarnTerminalError>(refused));
    EXPECT_EQ(std::get<TarnTerminalError>(refused), TarnTerminalError::capacityReached);

    registry->close(first);
    auto reopened = openResult(80, 24, "/bin/sh");
    ASSERT_TRUE(std::holds_alternative<TarnWireTerminalOpened>(reopened));
    EXPECT_EQ(std::get<TarnWireTerminalOpened>(reopened).title, "sh");
}

TEST_F(TarnTerminalSessionRegistryTest, ReapsOwnerlessSessionsOnceIdleLongEnough) {
    makeRegistry();
    // sh writes its prompt in one piece, so no output arrives once the clock starts moving.
    TarnUUID kept = open(80, 24, "/bin/sh", firstClient);
    TarnUUID abandoned = open(80, 24, "/bin/sh", secondClient);
    ASSERT_TRUE(waitForOutput(kept, " "));
    ASSERT_TRUE(waitForOutput(abandoned, " "));
    registry->detach(secondClient);

    now = TarnDate(now.secondsSinceReferenceDate() + 1'799.9);
    registry->reapIdle(now);
    EXPECT_EQ(list().size(), 2u);

    now = TarnDate(now.secondsSinceReferenceDate() + 0.1);
    registry->reapIdle(now);
    ASSERT_TRUE(waitForClosed(abandoned));
    EXPECT_EQ(closedEntry(abandoned)->exitCode, std::nullopt);
    auto sessions = list();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].sessionID, kept);
}

TEST_F(TarnTerminalSessionRegistryTest, ClampsSizesATerminalCannotHold) {
    makeRegistry();
    TarnUUID id = open(-5, 100'000, "/bin/sh");
    EXPECT_EQ(list()[0].cols, 1);
    EXPECT_EQ(list()[0].rows, 65'535);
    registry->resize(id, 70'000, 0, [] {});
    EXPECT_EQ(list()[0].cols, 65'535);
    EXPECT_EQ(list()[0].rows, 1);
}

} // namespace
