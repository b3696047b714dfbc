#include "platform/input/TarnQtClipboardWriter.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(TarnQtClipboardWriter, OwnsTheClipboardSelectionForOtherClients) {
  EXPECT_FALSE(TarnQtClipboardWriter().setText(QStringLiteral("no application yet")));

  TarnXvfbServer server;
  ASSERT_TRUE(server.isRunning());
  qputenv("QT_QPA_PLATFORM", "xcb");
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);

  const QString text = QStringLiteral("pasted \u00e9\u20ac text");
  ASSERT_TRUE(TarnQtClipboardWriter().setText(text));
  // xclip asks the owner, which answers from its event loop.
  TarnChildProcess reader;
  ASSERT_TRUE(reader.start({"xclip", "-o", "-selection", "clipboard"}));
  const std::string expected = text.toStdString();
  for (int turn = 0; turn < 500 && reader.output().size() < expected.size(); ++turn) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    reader.readOnce(10);
  }
  EXPECT_EQ(reader.output(), expected);
}
