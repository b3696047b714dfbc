#include "host/files/TarnFileBrowserUnit.h"
#include "platform/desktop/TarnRecordingDesktopLauncher.h"
#include "tests/host/files/TarnFileTestHome.h"
#include "tests/support/hostunit/TarnRecordingHostContext.h"
#include "tests/support/lineclient/TarnTestHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

class TarnFileBrowserUnitTest : public ::testing::Test {
protected:
  void SetUp() override { ensureTestApplication(); }

  void handle(std::string_view name, std::string payload) {
    unit_.handleCommand(TarnWireCommand{TarnUUID::random(), std::string(name), std::move(payload), TarnDate::now()},
                        client_);
  }

  TarnFileTestHome files_;
  TarnRecordingDesktopLauncher launcher_;
  TarnRecordingHostContext context_;
  TarnUUID client_ = TarnUUID::random();
  TarnFileBrowserUnit unit_{context_, files_.home(), launcher_};
};

TEST_F(TarnFileBrowserUnitTest, ServesTheFourFileCommands) {
  EXPECT_THAT(unit_.commandNames(), ::testing::ElementsAre("listFiles", "openFile", "revealFile", "downloadFile"));
}

TEST_F(TarnFileBrowserUnitTest, RepliesLeaveInTheOrderTheCommandsCame) {
  TarnFileTestHome::writeFile(files_.inHome("a.txt"), "a");
  handle(TarnHostCommandName::downloadFile, "~/a.txt");
  handle(TarnHostCommandName::listFiles, "~");
  handle(TarnHostCommandName::downloadFile, "/etc/passwd");
  ASSERT_TRUE(waitUntil([&] { return context_.sent.size() == 3; }));

  for (const auto& sent : context_.sent) {
    EXPECT_EQ(sent.clientID, client_);
  }
  EXPECT_EQ(context_.sent[0].envelope.kind, TarnWireKind::fileDownloadResponse);
  EXPECT_TRUE(context_.sent[0].envelope.fileDownloadResponse->accepted);
  EXPECT_EQ(context_.sent[1].envelope.kind, TarnWireKind::fileListResponse);
  EXPECT_EQ(context_.sent[1].envelope.fileListResponse->entries.size(), 1u);
  EXPECT_EQ(context_.sent[2].envelope.kind, TarnWireKind::fileDownloadResponse);
  EXPECT_FALSE(context_.sent[2].envelope.fileDownloadResponse->accepted);

  // Each download is logged after its reply; a listing is not logged.
  ASSERT_EQ(context_.events.size(), 2u);
  EXPECT_EQ(context_.events[0].title, QStringLiteral("File sent"));
  EXPECT_EQ(context_.events[0].detail, QStringLiteral("Downloaded a.txt."));
  EXPECT_EQ(context_.events[0].symbol, QStringLiteral("arrow.down.doc"));
  EXPECT_EQ(context_.events[1].title, QStringLiteral("File not sent"));
  EXPECT_EQ(context_.events[1].detail,
            QStringLiteral("Tarnhold can download only files inside the Mac home folder."));
  EXPECT_EQ(context_.events[1].symbol, QStringLiteral("exclamationmark.triangle"));
}

TEST_F(TarnFileBrowserUnitTest, OpenAndRevealAreLoggedWithoutAReply) {
  TarnFileTestHome::writeFile(files_.inHome("a.txt"), "a");
  handle(TarnHostCommandName::openFile, "~/a.txt");
  handle(TarnHostCommandName::revealFile, "/etc");
  EXPECT_TRUE(context_.sent.empty());
  ASSERT_EQ(context_.events.size(), 2u);
  EXPECT_EQ(context_.events[0].title, QStringLiteral("Open file"));
  EXPECT_EQ(context_.events[0].detail, QStringLiteral("Opened a.txt on the Mac."));
  EXPECT_EQ(context_.events[0].symbol, QStringLiteral("arrow.up.forward.app"));
  EXPECT_EQ(context_.events[1].title, QStringLiteral("Reveal file"));
  EXPECT_EQ(context_.events[1].detail, QStringLiteral("Tarnhold can reveal only files inside the Mac home folder."));
  EXPECT_EQ(context_.events[1].symbol, QStringLiteral("folder"));
}

TEST_F(TarnFileBrowserUnitTest, AReplyForAServiceThatIsGoneIsDropped) {
  handle(TarnHostCommandName::listFiles, "~");
  context_.endLifetime();
  // Replies keep their order, so once the second one is in, the first has been dealt with.
  context_.lifetime = std::make_unique<QObject>();
  handle(TarnHostCommandName::listFiles, "/etc");
  ASSERT_TRUE(waitUntil([&] { return !context_.sent.empty(); }));
  ASSERT_EQ(context_.sent.size(), 1u);
  EXPECT_EQ(context_.sent[0].envelope.fileListResponse->message,
            "Tarnhold can browse only inside the Mac home folder.");
}

} // namespace
