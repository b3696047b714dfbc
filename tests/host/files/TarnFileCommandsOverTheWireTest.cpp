#include "host/files/TarnFileBrowserUnit.h"
#include "platform/desktop/TarnRecordingDesktopLauncher.h"
#include "tests/host/files/TarnFileTestHome.h"
#include "tests/support/lineclient/TarnTestHost.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The file commands through a real host service and a paired client on loopback.
TEST(TarnFileCommandsOverTheWire, RepliesComeBackInOrderAndOpenIsOnlyLogged) {
  TarnFileTestHome files;
  TarnFileTestHome::writeFile(files.inHome("a.txt"), "abc");
  TarnRecordingDesktopLauncher launcher;
  TarnTestHost host;
  host.service().addUnit(std::make_unique<TarnFileBrowserUnit>(host.service(), files.home(), launcher));
  host.start();
  auto client = host.pairedClient();
  ASSERT_TRUE(client);

  client->sendCommand("downloadFile", "~/a.txt");
  client->sendCommand("openFile", "~/a.txt");
  client->sendCommand("listFiles", "~");
  client->sendCommand("downloadFile", "~/missing");

  const auto first = client->next();
  const auto second = client->next();
  const auto third = client->next();
  ASSERT_TRUE(first && second && third);
  ASSERT_EQ(first->kind, TarnWireKind::fileDownloadResponse);
  EXPECT_EQ(first->fileDownloadResponse->base64Data, "YWJj");
  ASSERT_EQ(second->kind, TarnWireKind::fileListResponse);
  ASSERT_EQ(second->fileListResponse->entries.size(), 1u);
  EXPECT_EQ(second->fileListResponse->entries[0].name, "a.txt");
  ASSERT_EQ(third->kind, TarnWireKind::fileDownloadResponse);
  EXPECT_FALSE(third->fileDownloadResponse->accepted);

  ASSERT_TRUE(waitUntil([&] { return host.owner().events.size() >= 3; }));
  std::vector<QString> titles;
  for (const auto& event : host.owner().events) {
    titles.push_back(event.title);
  }
  EXPECT_NE(std::find(titles.begin(), titles.end(), QStringLiteral("Open file")), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), QStringLiteral("File sent")), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), QStringLiteral("File not sent")), titles.end());
  EXPECT_EQ(launcher.openedPaths.size(), 1);
}

} // namespace
