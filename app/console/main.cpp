#include "app/console/TarnConsoleOwner.h"
#include "app/console/TarnSignalWatcher.h"
#include "host/core/TarnMacHostService.h"
#include "host/files/TarnFileBrowserUnit.h"
#include "host/frames/TarnScreenFrameUnit.h"
#include "host/frames/TarnThreadedFrameCapturer.h"
#include "host/runner/TarnTerminalRunnerUnit.h"
#include "host/terminals/TarnTerminalUnit.h"
#include "platform/capture/TarnXScreenCapture.h"
#include "platform/desktop/TarnXdgDesktopLauncher.h"
#include "platform/keychain/TarnDefaultSecretStore.h"
#include "platform/keychain/TarnKeychain.h"
#include "platform/mdns/TarnAvahiAdvertiser.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QSysInfo>

int main(int argc, char** argv) {
  TarnSignalWatcher::blockStopSignals();
  QCoreApplication app(argc, argv);
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
  TarnMacHostService service(QSysInfo::machineHostName(), QStringLiteral("Mac Display"), owner.callbacks(),
                             std::move(environment));
  service.addUnit(std::make_unique<TarnScreenFrameUnit>(
      service, std::make_unique<TarnThreadedFrameCapturer>(std::make_unique<TarnXScreenCapture>())));
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
