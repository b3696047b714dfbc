#include "platform/keychain/TarnKeychain.h"
#include "platform/keychain/TarnMemorySecretStore.h"

#include <gtest/gtest.h>

namespace {

TEST(TarnKeychainTest, RefusedWriteIsReportedAndTheOldSecretStays) {
  auto store = std::make_shared<TarnMemorySecretStore>();
  TarnKeychain keychain(store);
  ASSERT_TRUE(keychain.set(QStringLiteral("first"), QStringLiteral("account")));

  store->setWriteOutcome(TarnMemorySecretStore::WriteOutcome::fail);
  EXPECT_FALSE(keychain.set(QStringLiteral("second"), QStringLiteral("account")));
  EXPECT_FALSE(keychain.remove(QStringLiteral("account")));
  EXPECT_EQ(keychain.get(QStringLiteral("account")), QStringLiteral("first"));
}

} // namespace
