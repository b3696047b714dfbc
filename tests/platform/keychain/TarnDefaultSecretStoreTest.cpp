// Which backend the program gets, and what a Secret Service store does when
// there is no service to talk to. Each case runs in a process of its own:
// GLib keeps the first session bus connection for the life of the process.
#include "platform/keychain/TarnDefaultSecretStore.h"
#include "platform/keychain/TarnFileSecretStore.h"
#include "platform/keychain/TarnSecretServiceStore.h"
#include "tests/support/services/TarnPrivateBus.h"
#include "tests/support/services/TarnPrivateKeyring.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Sets an environment variable for one test, or unsets it for an empty value.
class ScopedEnvironment {
public:
  ScopedEnvironment(const char* name, const QByteArray& value) : name_(name), saved_(qgetenv(name)) { assign(value); }
  ~ScopedEnvironment() { assign(saved_); }

private:
  void assign(const QByteArray& value) {
    if (value.isEmpty())
      qunsetenv(name_);
    else
      qputenv(name_, value);
  }
  const char* name_;
  QByteArray saved_;
};

TEST(TarnDefaultSecretStoreTest, UsesTheSecretServiceWhenItHasADefaultCollection) {
  const TarnPrivateKeyring keyring;
  const std::shared_ptr<TarnSecretStore> store = makeDefaultSecretStore();
  EXPECT_NE(dynamic_cast<TarnSecretServiceStore*>(store.get()), nullptr);
}

TEST(TarnDefaultSecretStoreTest, FallsBackToTheFileWhenTheSecretServiceHasNoDefaultCollection) {
  const TarnPrivateKeyring keyring(TarnPrivateKeyring::LoginKeyring::none);
  const std::shared_ptr<TarnSecretStore> store = makeDefaultSecretStore();
  EXPECT_NE(dynamic_cast<TarnFileSecretStore*>(store.get()), nullptr);
}

TEST(TarnDefaultSecretStoreTest, FallsBackToTheFileWithoutASessionBus) {
  const ScopedEnvironment noBus("DBUS_SESSION_BUS_ADDRESS", {});
  const ScopedEnvironment noRuntimeFolder("XDG_RUNTIME_DIR", {});
  const std::shared_ptr<TarnSecretStore> store = makeDefaultSecretStore();
  EXPECT_NE(dynamic_cast<TarnFileSecretStore*>(store.get()), nullptr);
}

TEST(TarnDefaultSecretStoreTest, FallsBackToTheFileWhenNoSecretServiceIsOnTheBus) {
  QTemporaryDir folder;
  const TarnPrivateBus bus(TarnPrivateBus::Kind::session, folder.path());
  const ScopedEnvironment onlyBus("DBUS_SESSION_BUS_ADDRESS", bus.address());
  const std::shared_ptr<TarnSecretStore> store = makeDefaultSecretStore();
  EXPECT_NE(dynamic_cast<TarnFileSecretStore*>(store.get()), nullptr);
}

TEST(TarnSecretServiceStoreTest, ReportsFailureWhenTheServiceCannotBeReached) {
  QTemporaryDir folder;
  const ScopedEnvironment deadBus("DBUS_SESSION_BUS_ADDRESS",
                                  "unix:path=" + QFile::encodeName(folder.filePath(QStringLiteral("no-bus"))));
  TarnSecretServiceStore store;
  EXPECT_FALSE(store.write(QStringLiteral("account"), "secret"));
  EXPECT_EQ(store.read(QStringLiteral("account")), std::nullopt);
  EXPECT_FALSE(store.erase(QStringLiteral("account")));
}

} // namespace
