#include <gtest/gtest.h>

#include "platform/displayserver/TarnXDisplay.h"
#include "tests/support/xvfb/TarnXvfbServer.h"

#include <X11/Xlib.h>

#include <memory>

TEST(TarnXDisplayTest, HostOutlivesItsXServerAndRefusedRequests) {
  auto server = std::make_unique<TarnXvfbServer>("640x480x24");
  ASSERT_TRUE(server->isRunning());
  TarnXDisplay display(server->display());
  ASSERT_TRUE(display.isOpen());

  // A request the server refuses (a window that does not exist) is only logged.
  XMapWindow(display.get(), 0x7fffffff);
  XSync(display.get(), False);

  server.reset();
  // Calls on the lost connection return instead of ending the process.
  XNoOp(display.get());
  XSync(display.get(), False);
  XSync(display.get(), False);
  SUCCEED();
}
