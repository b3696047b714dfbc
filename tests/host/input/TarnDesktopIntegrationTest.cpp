#include "host/input/TarnDesktopIntegration.h"
#include "tests/support/login1/TarnFakeLogin1.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

namespace {
struct Event {
  QString title, detail, symbol;
  bool operator==(const Event&) const = default;
};

TarnWireCommand remoteInput(TarnRemoteInputAction action, double x, double y, std::optional<std::string> text = {}) {
  return {TarnUUID::random(), "remoteInput", TarnRemoteInputPayload(action, x, y, 0, 0, std::move(text)).encodedString(),
          TarnDate::now()};
}

// The whole road of a "remoteInput" command on a private X server, into a small X client.
class TarnDesktopIntegrationTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(server.isRunning());
    ASSERT_TRUE(login1.isReady());
    ASSERT_TRUE(recorder.start({TARN_KEY_RECORDER_PATH}));
    ASSERT_TRUE(recorder.waitForLine("READY\n"));
    qputenv("QT_QPA_PLATFORM", "xcb");
    application = std::make_unique<QGuiApplication>(argc, argv);
    integration = std::make_unique<TarnDesktopIntegration>(
        TarnSessionEnvironment{server.display(), "", "x11"}, TarnLogindClient(login1.connection(), QStringLiteral("c2")),
        TarnAutostartEntry(home.path(), QStringLiteral("tarnhold.desktop"), {QStringLiteral("/usr/bin/tarnhold")}));
  }
  void handle(const TarnWireCommand& command, const std::optional<TarnDevice>& device = TarnDevice{}) {
    integration->handleCommand(command, device, std::nullopt, [this](const QString& title, const QString& detail,
                                                                     const QString& symbol) {
      events.push_back({title, detail, symbol});
    });
  }
  // Key presses the recorder saw after READY, as "keysym state" pairs.
  std::vector<std::string> keys(size_t count) {
    recorder.waitForLineCount(count + 1);
    std::vector<std::string> lines = recorder.lines();
    return {lines.begin() + 1, lines.end()};
  }

  TarnXvfbServer server;
  TarnFakeLogin1 login1;
  TarnChildProcess recorder;
  QTemporaryDir home;
  int argc = 1;
  char name[8] = "test";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QGuiApplication> application;
  std::unique_ptr<TarnDesktopIntegration> integration;
  std::vector<Event> events;
};
}  // namespace

TEST_F(TarnDesktopIntegrationTest, PointerMovesSilentlyToTheSpotOnTheDisplay) {
  handle(remoteInput(TarnRemoteInputAction::pointerMove, 0.25, 1.0));
  EXPECT_TRUE(events.empty());
  TarnXDisplay display(server.display());
  Window root = 0, child = 0;
  int x = 0, y = 0, windowX = 0, windowY = 0;
  unsigned mask = 0;
  XQueryPointer(display.get(), DefaultRootWindow(display.get()), &root, &child, &x, &y, &windowX, &windowY, &mask);
  EXPECT_EQ(x, 480);
  EXPECT_EQ(y, 1079);
}

TEST_F(TarnDesktopIntegrationTest, TypedAndPastedTextArrive) {
  handle(remoteInput(TarnRemoteInputAction::typeText, 0, 0, "h\u00e9!"));
  handle(remoteInput(TarnRemoteInputAction::smartPaste, 0, 0, "pasted \u2713 text"));
  // h, é (on a borrowed key), Shift and 1 for "!", then Control and v.
  std::vector<std::string> typed = keys(6);
  ASSERT_EQ(typed.size(), 6u);
  EXPECT_EQ(typed[0], "KEY 0x68 state=0x0");
  EXPECT_EQ(typed[1], "KEY 0xe9 state=0x0");
  EXPECT_EQ(typed[3], "KEY 0x21 state=0x1");
  EXPECT_EQ(typed[5], "KEY 0x76 state=0x4");
  EXPECT_EQ(events, (std::vector<Event>{
                        {QStringLiteral("Type Text"), QStringLiteral("Pasted keyboard text into the active Mac app."),
                         QStringLiteral("text.cursor")},
                        {QStringLiteral("Smart Paste"),
                         QStringLiteral("Smart Paste staged text on the Mac and pasted into the active app."),
                         QStringLiteral("doc.on.clipboard")}}));

  // The application that got Control+V reads the clipboard from the host.
  const std::string expected = "pasted \u2713 text";
  TarnChildProcess reader;
  ASSERT_TRUE(reader.start({"xclip", "-o", "-selection", "clipboard"}));
  for (int turn = 0; turn < 500 && reader.output().size() < expected.size(); ++turn) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    reader.readOnce(10);
  }
  EXPECT_EQ(reader.output(), expected);
}

TEST_F(TarnDesktopIntegrationTest, SystemActionsAndUndecodableCommandsAreReported) {
  handle(remoteInput(TarnRemoteInputAction::lockMac, 0, 0));
  EXPECT_EQ(login1.calls(), std::vector<std::string>{"LockSession session=c2"});
  handle({TarnUUID::random(), "remoteInput", "{\"action\":\"Right Click\"}", TarnDate::now()});
  handle({TarnUUID::random(), "somethingElse", "payload", TarnDate::now()}, std::nullopt);
  EXPECT_EQ(events, (std::vector<Event>{
                        {QStringLiteral("Lock Mac"), QStringLiteral("Lock command sent to macOS."), QStringLiteral("lock")},
                        {QStringLiteral("remoteInput"), QStringLiteral("{\"action\":\"Right Click\"}"),
                         QStringLiteral("iphone")},
                        {QStringLiteral("somethingElse"), QStringLiteral("payload"),
                         QStringLiteral("point.topleft.down.curvedto.point.bottomright.up")}}));
}

TEST_F(TarnDesktopIntegrationTest, LoginItemSwitchesTheAutostartEntry) {
  EXPECT_FALSE(integration->launchAtLogin());
  EXPECT_TRUE(integration->setLaunchAtLogin(TarnSwitch::on));
  EXPECT_TRUE(integration->launchAtLogin());
  EXPECT_TRUE(integration->setLaunchAtLogin(TarnSwitch::off));
  EXPECT_FALSE(integration->launchAtLogin());
}

TEST(TarnDesktopIntegrationWayland, InputIsRefusedButSessionActionsStillWork) {
  TarnFakeLogin1 login1;
  ASSERT_TRUE(login1.isReady());
  QTemporaryDir home;
  TarnDesktopIntegration integration(
      TarnSessionEnvironment{":0", "wayland-0", "wayland"}, TarnLogindClient(login1.connection(), QStringLiteral("c9")),
      TarnAutostartEntry(home.path(), QStringLiteral("tarnhold.desktop"), {QStringLiteral("/usr/bin/tarnhold")}));
  std::vector<Event> events;
  auto report = [&](const QString& title, const QString& detail, const QString& symbol) {
    events.push_back({title, detail, symbol});
  };
  integration.handleCommand(remoteInput(TarnRemoteInputAction::primaryClick, 0, 0), TarnDevice{}, std::nullopt, report);
  integration.handleCommand(remoteInput(TarnRemoteInputAction::sleepMac, 0, 0), TarnDevice{}, std::nullopt, report);
  EXPECT_EQ(events, (std::vector<Event>{
                        {QStringLiteral("Primary Click"),
                         QStringLiteral("Enable Accessibility for Tarnhold Host before remote input can control the Mac."),
                         QStringLiteral("cursorarrow.click.2")},
                        {QStringLiteral("Sleep Mac"), QStringLiteral("Sleep command sent to macOS."),
                         QStringLiteral("moon.zzz.fill")}}));
  EXPECT_EQ(login1.calls(), std::vector<std::string>{"Suspend interactive=0"});
}
