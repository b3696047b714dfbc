// The keychain's behaviour, the same on every backend that keeps secrets.
#include "platform/keychain/TarnFileSecretStore.h"
#include "platform/keychain/TarnKeychain.h"
#include "platform/keychain/TarnMemorySecretStore.h"
#include "platform/keychain/TarnSecretServiceStore.h"
#include "tests/support/services/TarnKeyringEnvironment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

enum class Backend { memory, file, secretService };

std::string backendName(const testing::TestParamInfo<Backend>& info) {
  switch (info.param) {
  case Backend::memory: return "memory";
  case Backend::file: return "file";
  case Backend::secretService: return "secretService";
  }
  return "unknown";
}

struct Operation {
  enum class Kind { set, remove } kind;
  QString account;
  QString value;
};

struct RoundTrip {
  const char* scenario;
  std::vector<Operation> operations;
  QString account;
  std::optional<QString> expected;
};

Operation set(const char* account, const QString& value) { return {Operation::Kind::set, QString::fromUtf8(account), value}; }
Operation remove(const char* account) { return {Operation::Kind::remove, QString::fromUtf8(account), {}}; }

const QString tokenAccount = QStringLiteral("TarnholdTrustedClientToken-3F2504E0-4F89-11D3-9A0C-0305E82C3301");

class TarnKeychainBackendTest : public testing::TestWithParam<Backend> {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    if (GetParam() == Backend::secretService)
      TarnKeyringEnvironment::keyring();
    store_ = makeStore();
    if (GetParam() == Backend::secretService) {
      // The keyring outlives single tests when they share a process.
      for (const char* account : {"TarnholdSignalingJWT", "TarnholdHostSignalingJWT", "TarnholdAppleUserSub", "left",
                                  "right", "empty", "кошелёк ✓", "again", "never-written"})
        ASSERT_TRUE(store_->erase(QString::fromUtf8(account)));
      ASSERT_TRUE(store_->erase(tokenAccount));
    }
  }

  // A new store object on the same backend and place.
  std::shared_ptr<TarnSecretStore> makeStore() {
    switch (GetParam()) {
    case Backend::memory: return std::make_shared<TarnMemorySecretStore>();
    case Backend::file: return std::make_shared<TarnFileSecretStore>(folder_.filePath(QStringLiteral("tarnhold")));
    case Backend::secretService: return std::make_shared<TarnSecretServiceStore>();
    }
    return nullptr;
  }

  QTemporaryDir folder_;
  std::shared_ptr<TarnSecretStore> store_;
};

TEST_P(TarnKeychainBackendTest, RoundTrips) {
  const std::vector<RoundTrip> cases = {
      {"never written", {}, QStringLiteral("TarnholdSignalingJWT"), std::nullopt},
      {"written once", {set("TarnholdSignalingJWT", QStringLiteral("eyJ.a.b"))}, QStringLiteral("TarnholdSignalingJWT"),
       QStringLiteral("eyJ.a.b")},
      {"second write replaces the first",
       {set("TarnholdHostSignalingJWT", QStringLiteral("one")), set("TarnholdHostSignalingJWT", QStringLiteral("two"))},
       QStringLiteral("TarnholdHostSignalingJWT"), QStringLiteral("two")},
      {"removed", {set("TarnholdAppleUserSub", QStringLiteral("sub")), remove("TarnholdAppleUserSub")},
       QStringLiteral("TarnholdAppleUserSub"), std::nullopt},
      {"other accounts untouched",
       {set("left", QStringLiteral("kept")), set("right", QStringLiteral("gone")), remove("right")}, QStringLiteral("left"),
       QStringLiteral("kept")},
      {"empty text", {set("empty", QString())}, QStringLiteral("empty"), QString()},
      {"non-ASCII text and account", {set("кошелёк ✓", QStringLiteral("sécret ✓ 🔑"))}, QStringLiteral("кошелёк ✓"),
       QStringLiteral("sécret ✓ 🔑")},
      {"written after removal", {set("again", QStringLiteral("1")), remove("again"), set("again", QStringLiteral("2"))},
       QStringLiteral("again"), QStringLiteral("2")},
  };
  TarnKeychain keychain(store_);
  for (const RoundTrip& roundTrip : cases) {
    SCOPED_TRACE(roundTrip.scenario);
    for (const Operation& operation : roundTrip.operations) {
      if (operation.kind == Operation::Kind::set)
        EXPECT_TRUE(keychain.set(operation.value, operation.account));
      else
        EXPECT_TRUE(keychain.remove(operation.account));
    }
    EXPECT_EQ(keychain.get(roundTrip.account), roundTrip.expected);
  }
}

TEST_P(TarnKeychainBackendTest, RemovingAMissingAccountIsNoError) {
  TarnKeychain keychain(store_);
  EXPECT_TRUE(keychain.remove(QStringLiteral("never-written")));
  EXPECT_TRUE(keychain.remove(QStringLiteral("never-written")));
}

TEST_P(TarnKeychainBackendTest, SecretThatIsNotUtf8ReadsAsAbsent) {
  ASSERT_TRUE(store_->write(tokenAccount, QByteArray("\xff\xfe token", 8)));
  EXPECT_EQ(store_->read(tokenAccount), QByteArray("\xff\xfe token", 8));
  EXPECT_EQ(TarnKeychain(store_).get(tokenAccount), std::nullopt);
}

using TarnKeychainPersistenceTest = TarnKeychainBackendTest;

TEST_P(TarnKeychainPersistenceTest, SecretsOutliveTheStoreObject) {
  ASSERT_TRUE(TarnKeychain(store_).set(QStringLiteral("kept"), tokenAccount));
  store_.reset();
  EXPECT_EQ(TarnKeychain(makeStore()).get(tokenAccount), QStringLiteral("kept"));
}

INSTANTIATE_TEST_SUITE_P(Backends, TarnKeychainBackendTest,
                         testing::Values(Backend::memory, Backend::file, Backend::secretService), backendName);
INSTANTIATE_TEST_SUITE_P(PersistentBackends, TarnKeychainPersistenceTest,
                         testing::Values(Backend::file, Backend::secretService), backendName);

} // namespace
