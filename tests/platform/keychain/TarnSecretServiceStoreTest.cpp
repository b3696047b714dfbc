#include "platform/keychain/TarnSecretServiceStore.h"
#include "tests/support/services/TarnKeyringEnvironment.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>

#include <gtest/gtest.h>

namespace {

// Asks the keyring itself, over D-Bus, how many items the account has under
// the store's schema.
int itemCount(const QString& account) {
  QDBusConnection bus =
      QDBusConnection::connectToBus(QString::fromUtf8(TarnKeyringEnvironment::keyring().busAddress()),
                                    QStringLiteral("item-count"));
  QDBusMessage search = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
      QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("SearchItems"));
  const QMap<QString, QString> attributes = {{QStringLiteral("xdg:schema"), QStringLiteral("app.tarnhold.Secret")},
                                             {QStringLiteral("account"), account}};
  qDBusRegisterMetaType<QMap<QString, QString>>();
  search << QVariant::fromValue(attributes);
  const QDBusMessage reply = bus.call(search);
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  int count = 0;
  for (const QVariant& paths : reply.arguments())
    count += int(qdbus_cast<QList<QDBusObjectPath>>(paths).size());
  return count;
}

TEST(TarnSecretServiceStoreTest, ReplacingASecretLeavesOneItem) {
  TarnKeyringEnvironment::keyring();
  TarnSecretServiceStore store;
  const QString account = QStringLiteral("TarnholdHostSignalingJWT-replace");
  ASSERT_TRUE(store.write(account, "first"));
  ASSERT_TRUE(store.write(account, "second"));
  EXPECT_EQ(itemCount(account), 1);
  EXPECT_EQ(store.read(account), QByteArray("second"));

  ASSERT_TRUE(store.erase(account));
  EXPECT_EQ(itemCount(account), 0);
}

} // namespace
