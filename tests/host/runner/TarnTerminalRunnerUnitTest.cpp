#include "host/runner/TarnTerminalRunnerUnit.h"
#include "tests/host/runner/TarnRunnerTestFixture.h"
#include "tests/support/hostunit/TarnRecordingHostContext.h"
#include "tests/support/lineclient/TarnTestHost.h"

#include <QFile>

#include <signal.h>

#include <gtest/gtest.h>

namespace {
// A login shell under the sanitizers on a busy machine can take a while.
constexpr std::chrono::seconds commandDeadline{30};

class TarnTerminalRunnerUnitTest : public TarnRunnerTestFixture {
protected:
  void SetUp() override {
    TarnRunnerTestFixture::SetUp();
    ensureTestApplication();
    context_.pairedClients = {alice_, bob_};
    unit_ = std::make_unique<TarnTerminalRunnerUnit>(context_, settings());
  }

  // Runs one command for `client` and waits for its reply.
  TarnWireTerminalResponse run(const TarnUUID& client, const std::string& command) {
    const std::size_t before = context_.sent.size();
    unit_->handleCommand(TarnWireCommand{TarnUUID::random(), "runTerminalCommand",
                                         request(command).encodedString(), TarnDate::now()},
                         client);
    EXPECT_TRUE(waitUntil([&] { return context_.sent.size() > before; }, commandDeadline));
    const auto& sent = context_.sent.back();
    EXPECT_EQ(sent.clientID, client);
    EXPECT_EQ(sent.envelope.kind, TarnWireKind::terminalResponse);
    return sent.envelope.terminalResponse.value_or(TarnWireTerminalResponse{});
  }

  TarnRecordingHostContext context_;
  TarnUUID alice_ = TarnUUID::random();
  TarnUUID bob_ = TarnUUID::random();
  std::unique_ptr<TarnTerminalRunnerUnit> unit_;
};

TEST_F(TarnTerminalRunnerUnitTest, AnswersABadPayloadWithAnError) {
  unit_->handleCommand(TarnWireCommand{TarnUUID::random(), "runTerminalCommand", "{}", TarnDate::now()}, alice_);
  ASSERT_EQ(context_.sent.size(), 1u);
  EXPECT_EQ(context_.sent[0].clientID, alice_);
  EXPECT_EQ(context_.sent[0].envelope.kind, TarnWireKind::error);
  EXPECT_EQ(context_.sent[0].envelope.errorMessage, "The terminal command payload was invalid.");
}

TEST_F(TarnTerminalRunnerUnitTest, EachClientKeepsItsOwnFolderUntilItLeaves) {
  const std::string sub = makeFolder("sub");
  EXPECT_EQ(run(alice_, "cd sub").workingDirectory, sub);
  EXPECT_EQ(run(alice_, "pwd").output, sub);
  EXPECT_EQ(run(bob_, "pwd").output, home());
  unit_->clientDeparted(alice_);
  EXPECT_EQ(run(alice_, "pwd").output, home());
}

TEST_F(TarnTerminalRunnerUnitTest, EndingTheSessionForgetsEveryFolder) {
  makeFolder("sub");
  run(alice_, "cd sub");
  unit_->sessionEnded();
  EXPECT_EQ(run(alice_, "pwd").output, home());
}

TEST_F(TarnTerminalRunnerUnitTest, LogsEachOutcome) {
  run(alice_, "true");
  run(alice_, "exit 2");
  ASSERT_EQ(context_.events.size(), 2u);
  EXPECT_EQ(context_.events[0].title, QStringLiteral("Terminal command completed"));
  EXPECT_EQ(context_.events[0].symbol, QStringLiteral("terminal"));
  EXPECT_TRUE(context_.events[0].detail.startsWith(QStringLiteral("Exited 0 in ")));
  EXPECT_EQ(context_.events[1].title, QStringLiteral("Terminal command failed"));
  EXPECT_EQ(context_.events[1].symbol, QStringLiteral("exclamationmark.triangle"));
  EXPECT_TRUE(context_.events[1].detail.startsWith(QStringLiteral("Exited 2 in ")));
}

TEST_F(TarnTerminalRunnerUnitTest, GoingAwayStopsRunningCommandsAtOnce) {
  unit_->handleCommand(TarnWireCommand{TarnUUID::random(), "runTerminalCommand",
                                       request("echo $$ > shell.pid; sleep 100").encodedString(), TarnDate::now()},
                       alice_);
  ASSERT_TRUE(waitUntil([&] { return QFile::exists(QString::fromStdString(home() + "/shell.pid")); }, commandDeadline));
  unit_.reset(); // well before the 20 s limit
  EXPECT_TRUE(context_.sent.empty());
  QFile pidFile(QString::fromStdString(home() + "/shell.pid"));
  ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
  const pid_t shell = pidFile.readAll().trimmed().toInt();
  ASSERT_GT(shell, 0);
  EXPECT_NE(::kill(shell, 0), 0); // reaped, not even a zombie
}

} // namespace
