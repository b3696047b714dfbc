#include "app/console/TarnConsoleOwner.h"
#include "app/console/TarnSignalWatcher.h"
#include "host/core/TarnMacHostService.h"
#include "host/files/TarnFileBrowserUnit.h"
#include "host/frames/TarnScreenFrameUnit.h"
#include "host/frames/TarnThreadedFrameCapturer.h"
#include "host/input/TarnDesktopIntegration.h"
#include "host/runner/TarnTerminalRunnerUnit.h"
#include "host/terminals/TarnTerminalUnit.h"
#include "platform/capture/TarnXScreenCapture.h"
#include "platform/desktop/TarnXdgDesktopLauncher.h"
#include "platform/keychain/TarnDefaultSecretStore.h"
#include "platform/keychain/TarnKeychain.h"
#include "platform/mdns/TarnAvahiAdvertiser.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QSettings>
#include <QSysInfo>

int main(int argc, char** argv) {
  TarnSignalWatcher::blockStopSignals();
  // Pasting needs Qt to own the X clipboard, so the program is a GUI application; without
  // any display it still serves files, commands and terminals.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  TarnSignalWatcher stopSignals([&app](int) { app.quit(); });
  QCoreApplication::setOrganizationName(QStringLiteral("Tarnhold"));
  QCoreApplication::setApplicationName(QStringLiteral("Tarnhold"));

  QSettings defaults;
  TarnHostEnvironment environment;
  environment.keychain = std::make_shared<TarnKeychain>(makeDefaultSecretStore());
  environment.defaults = &defaults;
  environment.makeAdvertiser = [] { return std::make_unique<TarnAvahiAdvertiser>(); };

  const std::string homePath = QDir::homePath().toStdString();
  TarnXdgDesktopLauncher launcher;  // outlives the service and the file unit that uses it
  TarnConsoleOwner owner;
  auto desktop = TarnDesktopIntegration::forCurrentSession(QCoreApplication::applicationFilePath());
  TarnScreenFrameUnit* frames = nullptr;
  TarnHostCallbacks callbacks = owner.callbacks();
  const auto reportEvent = callbacks.onEvent;
  callbacks.onCommand = [&](const TarnWireCommand& command, const std::optional<TarnDevice>& device) {
    desktop->handleCommand(command, device, frames ? frames->activeDisplayID() : std::nullopt, reportEvent);
  };
  callbacks.stopSessionKeepAwake = [&] { desktop->keepAwake().stopKeepAwake(); };
  TarnMacHostService service(QSysInfo::machineHostName(), QStringLiteral("Mac Display"), std::move(callbacks),
                             std::move(environment));
  auto frameUnit = std::make_unique<TarnScreenFrameUnit>(
      service, std::make_unique<TarnThreadedFrameCapturer>(std::make_unique<TarnXScreenCapture>()));
  frames = frameUnit.get();
  service.addUnit(std::move(frameUnit));
  service.addUnit(std::make_unique<TarnFileBrowserUnit>(service, homePath, launcher));
  TarnTerminalRunnerSettings runnerSettings;
  runnerSettings.homePath = homePath;
  service.addUnit(std::make_unique<TarnTerminalRunnerUnit>(service, runnerSettings));
  service.addUnit(std::make_unique<TarnTerminalUnit>(service));
  owner.attach(service);
  service.start();

  const int status = app.exec();
  service.stop();
  return status;
}
