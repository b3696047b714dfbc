#include "host/core/TarnTrustTokenStore.h"
#include "tests/support/lineclient/TarnTestHost.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>

namespace {

const QString tokensKey = QStringLiteral("TarnholdTrustedClientTokens");

// Sends a request and returns the pairing result it gets.
std::optional<TarnWirePairResult> pair(TarnLineClient& client, const TarnWirePairRequest& request) {
  client.sendPairRequest(request);
  const auto reply = client.nextOfKind(TarnWireKind::pairResult);
  if (!reply || !reply->pairResult) return std::nullopt;
  return reply->pairResult;
}

bool contains(const std::vector<TarnUUID>& ids, const TarnUUID& id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

struct CodeCase {
  const char* name;
  std::string offered;
  QString shown;
  bool accepted;
};

class TarnHostPairingCode : public testing::TestWithParam<CodeCase> {};

TEST_P(TarnHostPairingCode, ComparesOnlyTheDigits) {
  TarnTestHost host;
  host.owner().pairingCode = GetParam().shown;
  host.start();
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  const auto result = pair(*client, makePairRequest(GetParam().offered));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->accepted, GetParam().accepted);
  if (!GetParam().accepted) {
    EXPECT_EQ(result->message, "Pairing code did not match.");
    EXPECT_EQ(result->latencyMilliseconds, 0);
    EXPECT_FALSE(result->trustToken);
    EXPECT_TRUE(host.owner().approvalRequests.empty());
    ASSERT_TRUE(host.owner().hasEvent(QStringLiteral("Pairing rejected")));
    EXPECT_EQ(host.owner().lastEvent(QStringLiteral("Pairing rejected"))->detail,
              QStringLiteral("Test Phone entered an invalid code."));
    EXPECT_TRUE(client->isConnected());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TarnHostPairingCode,
    testing::Values(CodeCase{"exact", "123456", QStringLiteral("123 456"), true},
                    CodeCase{"spaced", "123 456", QStringLiteral("123 456"), true},
                    CodeCase{"dashed", "1-2-3-4-5-6", QStringLiteral("123 456"), true},
                    CodeCase{"wrong", "123457", QStringLiteral("123 456"), false},
                    CodeCase{"empty", "", QStringLiteral("123 456"), false},
                    CodeCase{"empty against a code without digits", "", QStringLiteral("abc"), false},
                    CodeCase{"letters only", "abc", QStringLiteral("abc"), false}),
    [](const testing::TestParamInfo<CodeCase>& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST(TarnHostPairing, ApprovalPairsTheClientWithANewTokenInTheKeychain) {
  TarnTestHost host;
  host.start();
  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  const TarnWirePairRequest request = makePairRequest("123 456");
  client->sendPairRequest(request);
  ASSERT_TRUE(waitUntil([&] { return host.owner().approvalRequests.size() == 1; }));
  const TarnPairingApprovalRequest approval = host.owner().approvalRequests[0];
  EXPECT_EQ(approval.clientID, request.clientID);
  EXPECT_EQ(approval.clientName, "Test Phone");
  EXPECT_FALSE(approval.isWatchClient);
  EXPECT_EQ(host.owner().eventTitles(),
            (std::vector<QString>{QStringLiteral("Host available"), QStringLiteral("Pairing request"),
                                  QStringLiteral("Approve pairing")}));
  // Nothing goes to the client until the local user answers.
  EXPECT_EQ(client->received().size(), 1u);

  host.service().approvePairingRequest(approval.id);
  const auto result = client->nextOfKind(TarnWireKind::pairResult);
  ASSERT_TRUE(result && result->pairResult);
  EXPECT_TRUE(result->pairResult->accepted);
  EXPECT_EQ(result->pairResult->message, "Approved on Mac. Secured local peer session.");
  EXPECT_EQ(result->pairResult->latencyMilliseconds, 18);
  EXPECT_EQ(result->pairResult->hostID, host.service().hostDeviceID());
  ASSERT_TRUE(result->pairResult->trustToken);
  const QString token = QString::fromStdString(*result->pairResult->trustToken);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"))
                  .match(token)
                  .hasMatch());
  EXPECT_EQ(host.keychain().get(TarnTrustTokenStore::accountName(request.clientID)), token);

  EXPECT_EQ(host.owner().removedApprovals, std::vector<TarnUUID>{approval.id});
  ASSERT_EQ(host.owner().pairedDevices.size(), 1u);
  EXPECT_EQ(host.owner().pairedDevices[0].id, request.clientID);
  EXPECT_EQ(host.owner().pairedDevices[0].address, "Local Network");
  EXPECT_EQ(host.owner().pairedDevices[0].trustLevel, TarnTrustLevel::owner);
  EXPECT_EQ(host.owner().securedLatencies, std::vector<int>{18});
  EXPECT_EQ(host.service().clientIDs(TarnClientAudience::allPaired), std::vector<TarnUUID>{approval.id});
}

TEST(TarnHostPairing, RejectionRefusesTheClientAndKeepsItConnected) {
  TarnTestHost host;
  host.start();
  host.owner().answerWith(TarnTestOwner::Answer::reject, &host.service());
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  const auto result = pair(*client, makePairRequest("123456"));
  ASSERT_TRUE(result);
  EXPECT_FALSE(result->accepted);
  EXPECT_EQ(result->message, "Pairing request was denied on the Mac.");
  ASSERT_TRUE(host.owner().hasEvent(QStringLiteral("Pairing denied")));
  EXPECT_EQ(host.owner().lastEvent(QStringLiteral("Pairing denied"))->detail,
            QStringLiteral("Test Phone was not allowed to control this Mac."));
  EXPECT_TRUE(client->isConnected());
  EXPECT_TRUE(host.service().clientIDs(TarnClientAudience::allPaired).empty());
}

TEST(TarnHostPairing, ATrustedDeviceReconnectsWithoutCodeOrApproval) {
  TarnTestHost host;
  host.start();
  const TarnWirePairRequest first = makePairRequest("123456");
  auto original = host.connectClient();
  ASSERT_TRUE(original);
  const auto issued = pair(*original, first);
  ASSERT_TRUE(issued && issued->trustToken);

  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  TarnWirePairRequest again = makePairRequest("000000", first.clientID);
  again.trustToken = issued->trustToken;
  auto reconnected = host.connectClient();
  ASSERT_TRUE(reconnected);
  const auto restored = pair(*reconnected, again);
  ASSERT_TRUE(restored);
  EXPECT_TRUE(restored->accepted);
  EXPECT_EQ(restored->message, "Trusted local session restored.");
  EXPECT_EQ(restored->trustToken, issued->trustToken);
  EXPECT_EQ(host.owner().approvalRequests.size(), 1u);

  // A token of another device, or a wrong one, counts as none: the code decides.
  TarnWirePairRequest forged = makePairRequest("000000");
  forged.trustToken = issued->trustToken;
  auto stranger = host.connectClient();
  ASSERT_TRUE(stranger);
  const auto refused = pair(*stranger, forged);
  ASSERT_TRUE(refused);
  EXPECT_FALSE(refused->accepted);
}

TEST(TarnHostPairing, PairingByCodeAgainKeepsTheDevicesToken) {
  TarnTestHost host;
  host.start();
  const TarnWirePairRequest request = makePairRequest("123456");
  std::vector<std::string> tokens;
  for (int round = 0; round < 2; ++round) {
    auto client = host.connectClient();
    ASSERT_TRUE(client);
    const auto result = pair(*client, request);
    ASSERT_TRUE(result && result->accepted && result->trustToken);
    tokens.push_back(*result->trustToken);
  }
  EXPECT_EQ(tokens[0], tokens[1]);
}

TEST(TarnHostPairing, KeepsATokenTheKeychainRefusedForThisRunAndSaysSo) {
  TarnTestHost host;
  host.start();
  host.secrets().setWriteOutcome(TarnMemorySecretStore::WriteOutcome::fail);
  const TarnWirePairRequest request = makePairRequest("123456");
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  const auto issued = pair(*client, request);
  ASSERT_TRUE(issued && issued->accepted && issued->trustToken);
  ASSERT_TRUE(host.owner().hasEvent(QStringLiteral("Trust token not saved")));
  EXPECT_EQ(host.owner().lastEvent(QStringLiteral("Trust token not saved"))->symbol,
            QStringLiteral("exclamationmark.triangle"));

  TarnWirePairRequest again = makePairRequest("", request.clientID);
  again.trustToken = issued->trustToken;
  auto reconnected = host.connectClient();
  ASSERT_TRUE(reconnected);
  const auto restored = pair(*reconnected, again);
  ASSERT_TRUE(restored);
  EXPECT_TRUE(restored->accepted);
  EXPECT_EQ(restored->message, "Trusted local session restored.");
}

TEST(TarnHostPairing, MovesEveryLegacyTokenIntoTheKeychainAtStartUp) {
  TarnTestHost host;
  const TarnUUID phone = TarnUUID::random();
  const TarnUUID tablet = TarnUUID::random();
  QVariantMap legacy;
  legacy.insert(QString::fromStdString(phone.uuidString()), QStringLiteral("phone-token"));
  legacy.insert(QString::fromStdString(tablet.uuidString()), QStringLiteral("tablet-token"));
  host.defaults().setValue(tokensKey, legacy);

  host.start();
  EXPECT_FALSE(host.defaults().contains(tokensKey));
  EXPECT_EQ(host.keychain().get(TarnTrustTokenStore::accountName(phone)), QStringLiteral("phone-token"));
  EXPECT_EQ(host.keychain().get(TarnTrustTokenStore::accountName(tablet)), QStringLiteral("tablet-token"));

  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  TarnWirePairRequest request = makePairRequest("", phone);
  request.trustToken = "phone-token";
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  const auto restored = pair(*client, request);
  ASSERT_TRUE(restored);
  EXPECT_TRUE(restored->accepted);
}

TEST(TarnHostPairing, AnEntryThatIsNoTokenDoesNotHoldBackTheOthers) {
  TarnTestHost host;
  const TarnUUID phone = TarnUUID::random();
  QVariantMap legacy;
  legacy.insert(QString::fromStdString(phone.uuidString()), QStringLiteral("phone-token"));
  legacy.insert(QString::fromStdString(TarnUUID::random().uuidString()), 42);
  host.defaults().setValue(tokensKey, legacy);

  host.start();
  EXPECT_FALSE(host.defaults().contains(tokensKey));
  EXPECT_EQ(host.keychain().get(TarnTrustTokenStore::accountName(phone)), QStringLiteral("phone-token"));
}

TEST(TarnHostPairing, AKeychainTokenOutranksAStaleLegacyOne) {
  TarnTestHost host;
  const TarnUUID phone = TarnUUID::random();
  ASSERT_TRUE(host.keychain().set(QStringLiteral("current-token"), TarnTrustTokenStore::accountName(phone)));
  QVariantMap legacy;
  legacy.insert(QString::fromStdString(phone.uuidString()), QStringLiteral("stale-token"));
  host.defaults().setValue(tokensKey, legacy);

  host.start();
  EXPECT_FALSE(host.defaults().contains(tokensKey));
  EXPECT_EQ(host.keychain().get(TarnTrustTokenStore::accountName(phone)), QStringLiteral("current-token"));
}

TEST(TarnHostPairing, KeepsLegacyTokensTheKeychainRefusesWhereTheyWere) {
  TarnTestHost host;
  const TarnUUID phone = TarnUUID::random();
  QVariantMap legacy;
  legacy.insert(QString::fromStdString(phone.uuidString()), QStringLiteral("phone-token"));
  host.defaults().setValue(tokensKey, legacy);
  host.secrets().setWriteOutcome(TarnMemorySecretStore::WriteOutcome::fail);

  host.start();
  EXPECT_EQ(host.defaults().value(tokensKey).toMap(), legacy);
  TarnWirePairRequest request = makePairRequest("", phone);
  request.trustToken = "phone-token";
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  const auto restored = pair(*client, request);
  ASSERT_TRUE(restored);
  EXPECT_TRUE(restored->accepted);
}

TEST(TarnHostPairing, OnlyTheLatestConnectionOfADeviceWaits) {
  TarnTestHost host;
  host.start();
  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  const TarnWirePairRequest request = makePairRequest("123456");
  auto first = host.connectClient();
  auto second = host.connectClient();
  ASSERT_TRUE(first && second);
  first->sendPairRequest(request);
  ASSERT_TRUE(waitUntil([&] { return host.owner().approvalRequests.size() == 1; }));
  second->sendPairRequest(request);
  ASSERT_TRUE(waitUntil([&] { return host.owner().approvalRequests.size() == 2; }));
  const TarnUUID firstID = host.owner().approvalRequests[0].id;
  const TarnUUID secondID = host.owner().approvalRequests[1].id;
  EXPECT_EQ(host.owner().removedApprovals, std::vector<TarnUUID>{firstID});

  host.service().approvePairingRequest(firstID);
  EXPECT_TRUE(host.owner().hasEvent(QStringLiteral("Pairing unavailable")));
  host.service().approvePairingRequest(secondID);
  const auto result = second->nextOfKind(TarnWireKind::pairResult);
  ASSERT_TRUE(result && result->pairResult);
  EXPECT_TRUE(result->pairResult->accepted);
}

TEST(TarnHostPairing, AClientThatLeavesWhileWaitingCanNoLongerBeApprovedOrDenied) {
  TarnTestHost host;
  host.start();
  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  auto client = host.connectClient();
  ASSERT_TRUE(client);
  client->sendPairRequest(makePairRequest("123456"));
  ASSERT_TRUE(waitUntil([&] { return host.owner().approvalRequests.size() == 1; }));
  const TarnUUID waitingID = host.owner().approvalRequests[0].id;
  client->disconnectNow();
  ASSERT_TRUE(waitUntil([&] { return contains(host.owner().removedApprovals, waitingID); }));

  const std::size_t eventsBefore = host.owner().events.size();
  host.service().rejectPairingRequest(waitingID);
  EXPECT_EQ(host.owner().events.size(), eventsBefore);
  host.service().approvePairingRequest(waitingID);
  ASSERT_TRUE(host.owner().hasEvent(QStringLiteral("Pairing unavailable")));
  const auto* unavailable = host.owner().lastEvent(QStringLiteral("Pairing unavailable"));
  EXPECT_EQ(unavailable->detail, QStringLiteral("The waiting device disconnected before approval."));
  EXPECT_EQ(unavailable->symbol, QStringLiteral("exclamationmark.triangle"));
  EXPECT_TRUE(host.owner().pairedDevices.empty());
}

TEST(TarnHostPairing, AWatchPairsWithoutScreenStreaming) {
  TarnTestHost host;
  host.start();
  auto watch = host.pairedClient(makePairRequest("123456", TarnUUID::random(), "Apple Watch", "Wrist"));
  ASSERT_TRUE(watch);
  ASSERT_EQ(host.owner().approvalRequests.size(), 1u);
  EXPECT_TRUE(host.owner().approvalRequests[0].isWatchClient);
  EXPECT_EQ(host.owner().lastEvent(QStringLiteral("Pairing request"))->symbol, QStringLiteral("applewatch"));
  EXPECT_EQ(host.owner().lastEvent(QStringLiteral("Approve pairing"))->symbol,
            QStringLiteral("applewatch.radiowaves.left.and.right"));
  ASSERT_TRUE(host.owner().hasEvent(QStringLiteral("Watch connected")));
  EXPECT_EQ(host.owner().lastEvent(QStringLiteral("Watch connected"))->detail,
            QStringLiteral("Wrist is using direct local controls without screen streaming."));

  auto phone = host.pairedClient();
  ASSERT_TRUE(phone);
  EXPECT_EQ(host.service().clientIDs(TarnClientAudience::allPaired).size(), 2u);
  EXPECT_EQ(host.service().clientIDs(TarnClientAudience::pairedNonWatch).size(), 1u);
}

}  // namespace
