#include "tests/support/services/TarnPrivateKeyring.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

TarnPrivateKeyring::TarnPrivateKeyring(LoginKeyring loginKeyring) : previousAddress_(qgetenv("DBUS_SESSION_BUS_ADDRESS")) {
  if (!folder_.isValid())
    throw std::runtime_error("no temporary folder");
  const QString root = folder_.path();
  for (const char* sub : {"home/.local/share", "home/.config", "run"})
    QDir(root).mkpath(QString::fromLatin1(sub));
  QFile::setPermissions(root + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  bus_ = std::make_unique<TarnPrivateBus>(TarnPrivateBus::Kind::session, root);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(bus_->address()));
  environment.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
  environment.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/home/.local/share"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/home/.config"));
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/run"));
  environment.remove(QStringLiteral("DISPLAY"));
  QStringList arguments = {QStringLiteral("--foreground"), QStringLiteral("--components=secrets")};
  // --unlock reads the login keyring's password from standard input and
  // creates that keyring unlocked when it does not exist yet.
  if (loginKeyring == LoginKeyring::unlocked)
    arguments << QStringLiteral("--unlock");
  keyring_ = std::make_unique<TarnTestDaemon>(QStringLiteral("gnome-keyring-daemon"), arguments, environment);
  if (loginKeyring == LoginKeyring::unlocked)
    keyring_->feedInput("test-password");
  if (!bus_->waitForName(QStringLiteral("org.freedesktop.secrets"), std::chrono::seconds(10)))
    throw std::runtime_error("gnome-keyring-daemon did not come up: " + keyring_->errorOutput().toStdString());
  qputenv("DBUS_SESSION_BUS_ADDRESS", bus_->address());
}

TarnPrivateKeyring::~TarnPrivateKeyring() {
  keyring_.reset();
  bus_.reset();
  if (previousAddress_.isEmpty())
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  else
    qputenv("DBUS_SESSION_BUS_ADDRESS", previousAddress_);
}
