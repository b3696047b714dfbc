#include "host/terminals/TarnTerminalUnit.h"

#include "model/TarnBase64.h"
#include "tests/support/lineclient/TarnTestHost.h"
#include "tests/support/terminals/TarnChildProcesses.h"
#include "tests/support/terminals/TarnShellHome.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>

namespace {

constexpr int patienceMs = 30'000;

class TarnTerminalHostTest : public testing::Test {
protected:
    void startHost(TarnTerminalUnitSettings settings = {}) {
        settings.clock = [this] { return now; };
        host.service().addUnit(std::make_unique<TarnTerminalUnit>(host.service(), settings));
        host.start();
        first = host.pairedClient();
        ASSERT_TRUE(first);
    }

    static void command(TarnLineClient& client, std::string_view name, const std::string& payload = {}) {
        client.sendCommand(std::string(name), payload);
    }

    static TarnUUID openTerminal(TarnLineClient& client, std::int64_t cols = 80, std::int64_t rows = 24,
                                 std::optional<std::string> shell = std::nullopt) {
        command(client, TarnInteractiveTerminalCommand::open, TarnWireTerminalOpenRequest{cols, rows, shell}.encodedString());
        auto opened = client.nextOfKind(TarnWireKind::terminalOpened, std::chrono::milliseconds(patienceMs));
        if (!opened)
            return {};
        // The shell's first output may come between the two replies.
        EXPECT_TRUE(client.nextOfKind(TarnWireKind::terminalSessions, std::chrono::milliseconds(patienceMs)));
        return opened->terminalOpened->sessionID;
    }

    static void type(TarnLineClient& client, const TarnUUID& id, const std::string& text) {
        command(client, TarnInteractiveTerminalCommand::input,
                TarnWireTerminalInputPayload{id, TarnBase64::encode(text)}.encodedString());
    }

    // Everything received for the session as terminal output, replays included, in order.
    static std::string outputOf(const TarnLineClient& client, const TarnUUID& id) {
        std::string bytes;
        for (const auto& envelope : client.received())
            if (envelope.terminalOutput && envelope.terminalOutput->sessionID == id)
                bytes += TarnBase64::decode(envelope.terminalOutput->dataBase64).value_or("<invalid>");
        return bytes;
    }

    static bool waitForOutput(const TarnLineClient& client, const TarnUUID& id, const std::string& needle,
                              std::size_t occurrences = 1) {
        return QTest::qWaitFor([&] { return countOf(outputOf(client, id), needle) >= occurrences; }, patienceMs);
    }

    static std::size_t countOf(const std::string& text, const std::string& needle) {
        std::size_t count = 0;
        for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
            ++count;
        return count;
    }

    static std::optional<TarnWireTerminalClosed> waitForClosed(TarnLineClient& client, const TarnUUID& id) {
        std::optional<TarnWireTerminalClosed> closed;
        (void)QTest::qWaitFor([&] {
            for (const auto& envelope : client.received())
                if (envelope.terminalClosed && envelope.terminalClosed->sessionID == id)
                    closed = envelope.terminalClosed;
            return closed.has_value();
        }, patienceMs);
        return closed;
    }

    static std::vector<TarnWireTerminalSessionInfo> listOf(TarnLineClient& client) {
        command(client, TarnInteractiveTerminalCommand::list);
        auto sessions = client.nextOfKind(TarnWireKind::terminalSessions, std::chrono::milliseconds(patienceMs));
        return sessions ? sessions->terminalSessions->sessions : std::vector<TarnWireTerminalSessionInfo>{};
    }

    TarnShellHome home;
    TarnDate now = TarnDate(800'000'000);
    TarnTestHost host;
    std::unique_ptr<TarnLineClient> first;
};

TEST_F(TarnTerminalHostTest, OpensTypesResizesListsAndClosesARealShell) {
    startHost();
    auto before = childProcesses();
    command(*first, TarnInteractiveTerminalCommand::open, R"({"cols":100,"rows":30})");
    auto opened = first->nextOfKind(TarnWireKind::terminalOpened);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->terminalOpened->title, "zsh");
    TarnUUID id = opened->terminalOpened->sessionID;
    auto sessions = first->nextOfKind(TarnWireKind::terminalSessions);
    ASSERT_TRUE(sessions);
    ASSERT_EQ(sessions->terminalSessions->sessions.size(), 1u);
    EXPECT_EQ(sessions->terminalSessions->sessions[0].sessionID, id);

    ASSERT_TRUE(waitForOutput(*first, id, TarnShellHome::prompt));
    type(*first, id, "echo $((6*7))x\n");
    ASSERT_TRUE(waitForOutput(*first, id, "42x"));
    // The resize travels in order with the keystrokes around it.
    command(*first, TarnInteractiveTerminalCommand::resize, TarnWireTerminalResizePayload{id, 120, 40}.encodedString());
    type(*first, id, "stty size\n");
    ASSERT_TRUE(waitForOutput(*first, id, "40 120"));
    auto listed = listOf(*first);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].cols, 120);
    EXPECT_EQ(listed[0].rows, 40);
    EXPECT_TRUE(listed[0].alive);

    auto after = childProcesses();
    std::vector<pid_t> shells;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(shells));
    ASSERT_EQ(shells.size(), 1u);
    command(*first, TarnInteractiveTerminalCommand::close, TarnWireTerminalCloseRequest{id}.encodedString());
    auto closed = waitForClosed(*first, id);
    ASSERT_TRUE(closed);
    EXPECT_EQ(*closed, (TarnWireTerminalClosed{id, -1, std::nullopt}));
    EXPECT_TRUE(waitUntilReaped(shells[0]));
    EXPECT_TRUE(listOf(*first).empty());
}

TEST_F(TarnTerminalHostTest, OutputReachesEveryPairedClientAndTheReplayOnlyTheAttacher) {
    startHost();
    auto second = host.pairedClient();
    ASSERT_TRUE(second);
    TarnUUID id = openTerminal(*first);
    type(*first, id, "echo $((6*7))x\n");
    ASSERT_TRUE(waitForOutput(*first, id, "42x"));
    ASSERT_TRUE(waitForOutput(*second, id, "42x"));

    command(*second, TarnInteractiveTerminalCommand::attach, TarnWireTerminalAttachRequest{id}.encodedString());
    ASSERT_TRUE(waitForOutput(*second, id, "42x", 2)); // live, then again in the replay
    type(*second, id, "echo $((7*8))y\n");
    ASSERT_TRUE(waitForOutput(*first, id, "56y"));
    ASSERT_TRUE(waitForOutput(*second, id, "56y"));
    EXPECT_EQ(countOf(outputOf(*first, id), "42x"), 1u);
    EXPECT_EQ(countOf(outputOf(*second, id), "42x"), 2u);
}

TEST_F(TarnTerminalHostTest, AShellsExitArrivesWithItsRawStatusAfterAllItsOutput) {
    startHost();
    auto second = host.pairedClient();
    TarnUUID id = openTerminal(*first);
    ASSERT_TRUE(waitForOutput(*first, id, TarnShellHome::prompt));
    type(*first, id, "seq 1 20000; exit 3\n");
    for (auto* client : {first.get(), second.get()}) {
        auto closed = waitForClosed(*client, id);
        ASSERT_TRUE(closed);
        EXPECT_EQ(closed->exitCode, 768);
        EXPECT_NE(outputOf(*client, id).find("\r\n19999\r\n20000\r\n"), std::string::npos);
        const auto& received = client->received();
        auto lastOutput = std::find_if(received.rbegin(), received.rend(), [&](const auto& e) {
            return e.terminalOutput && e.terminalOutput->sessionID == id;
        });
        auto closing = std::find_if(received.rbegin(), received.rend(), [&](const auto& e) {
            return e.terminalClosed && e.terminalClosed->sessionID == id;
        });
        EXPECT_LT(closing - received.rbegin(), lastOutput - received.rbegin()) << "closed before the last output";
    }
}

TEST_F(TarnTerminalHostTest, ANinthTerminalIsRefusedWithTheLimitSentence) {
    startHost();
    for (int i = 0; i < 8; ++i)
        ASSERT_NE(openTerminal(*first, 80, 24, "/bin/sh"), TarnUUID{});
    command(*first, TarnInteractiveTerminalCommand::open, R"({"cols":80,"rows":24,"shell":"/bin/sh"})");
    auto refused = first->nextOfKind(TarnWireKind::error, std::chrono::milliseconds(patienceMs));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->errorMessage, "Terminal limit reached (8 sessions). Close one first.");
    EXPECT_EQ(listOf(*first).size(), 8u);
}

struct PayloadCase {
    const char* name;
    std::string_view command;
    std::string payload;
    std::optional<std::string> error; // absent: no reply at all
};

class TarnTerminalHostPayloads : public TarnTerminalHostTest, public testing::WithParamInterface<PayloadCase> {};

TEST_P(TarnTerminalHostPayloads, AreAnsweredWithTheirSentenceOrIgnored) {
    startHost();
    command(*first, GetParam().command, GetParam().payload);
    // A list request behind it shows what, if anything, came back first.
    command(*first, TarnInteractiveTerminalCommand::list);
    auto reply = first->next(std::chrono::milliseconds(patienceMs));
    ASSERT_TRUE(reply);
    if (GetParam().error) {
        EXPECT_EQ(reply->errorMessage, GetParam().error);
        reply = first->next(std::chrono::milliseconds(patienceMs));
        ASSERT_TRUE(reply);
    }
    EXPECT_TRUE(reply->terminalSessions) << "unexpected reply of kind " << static_cast<int>(reply->kind);
}

const std::string unknownSession = TarnUUID::random().uuidString();

INSTANTIATE_TEST_SUITE_P(
    Cases, TarnTerminalHostPayloads,
    testing::Values(
        PayloadCase{"openWithoutSize", TarnInteractiveTerminalCommand::open, "{}", "Invalid terminal open payload."},
        PayloadCase{"openWithTextColumns", TarnInteractiveTerminalCommand::open, R"({"cols":"80","rows":24})",
                    "Invalid terminal open payload."},
        PayloadCase{"openNotJson", TarnInteractiveTerminalCommand::open, "80x24", "Invalid terminal open payload."},
        PayloadCase{"attachWithoutSession", TarnInteractiveTerminalCommand::attach, "{}", std::nullopt},
        PayloadCase{"inputNotBase64", TarnInteractiveTerminalCommand::input,
                    R"({"sessionID":")" + unknownSession + R"(","dataBase64":"a b"})", std::nullopt},
        PayloadCase{"resizeWithoutSize", TarnInteractiveTerminalCommand::resize,
                    R"({"sessionID":")" + unknownSession + R"("})", std::nullopt},
        PayloadCase{"closeUnknownSession", TarnInteractiveTerminalCommand::close,
                    R"({"sessionID":")" + unknownSession + R"("})", std::nullopt},
        PayloadCase{"closeWithoutSession", TarnInteractiveTerminalCommand::close, "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TarnTerminalHostTest, AttachingToAnUnknownSessionAnswersSessionEnded) {
    startHost();
    TarnUUID unknown = TarnUUID::random();
    command(*first, TarnInteractiveTerminalCommand::attach, TarnWireTerminalAttachRequest{unknown}.encodedString());
    auto closed = first->nextOfKind(TarnWireKind::terminalClosed, std::chrono::milliseconds(patienceMs));
    ASSERT_TRUE(closed);
    EXPECT_EQ(*closed->terminalClosed, (TarnWireTerminalClosed{unknown, -1, "Session ended."}));
}

TEST_F(TarnTerminalHostTest, InputToAShellThatStoppedReadingIsRefusedWithAnError) {
    TarnTerminalUnitSettings settings;
    settings.registry.process.maxPendingInputBytes = 128 * 1024;
    startHost(settings);
    TarnUUID id = openTerminal(*first, 80, 24, "/bin/sh");
    type(*first, id, "stty raw -echo; echo rea''dy; exec sleep 60\n");
    ASSERT_TRUE(waitForOutput(*first, id, "ready"));
    const std::string block(64 * 1024, 'k');
    for (int i = 0; i < 40; ++i)
        type(*first, id, block);
    auto refused = first->nextOfKind(TarnWireKind::error, std::chrono::milliseconds(patienceMs));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->errorMessage, "Terminal input is arriving faster than the session takes it.");
}

TEST_F(TarnTerminalHostTest, ReapsASessionLeftWithoutOwnerAfterTheServiceRestarted) {
    TarnTerminalUnitSettings settings;
    settings.reapInterval = std::chrono::milliseconds(20);
    startHost(settings);
    TarnUUID id = openTerminal(*first, 80, 24, "/bin/sh");
    ASSERT_TRUE(waitForOutput(*first, id, " "));

    // A restart drops every connection, so the session loses its owner; the timer must run again.
    host.service().stop();
    host.start();
    first = host.pairedClient();
    ASSERT_TRUE(first);
    ASSERT_EQ(listOf(*first).size(), 1u);
    now = TarnDate(now.secondsSinceReferenceDate() + 1'800);
    auto closed = waitForClosed(*first, id);
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->exitCode, -1);
    EXPECT_TRUE(listOf(*first).empty());
}

} // namespace
