#include "app/console/TarnConsoleOwner.h"
#include "app/console/TarnSignalWatcher.h"
#include "host/core/TarnMacHostService.h"
#include "platform/keychain/TarnDefaultSecretStore.h"
#include "platform/keychain/TarnKeychain.h"
#include "platform/mdns/TarnAvahiAdvertiser.h"

#include <QCoreApplication>
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

  TarnConsoleOwner owner;
  TarnMacHostService service(QSysInfo::machineHostName(), QStringLiteral("Mac Display"), owner.callbacks(),
                             std::move(environment));
  owner.attach(service);
  service.start();

  const int status = app.exec();
  service.stop();
  return status;
}
