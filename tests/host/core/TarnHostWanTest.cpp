#include "tests/support/lineclient/TarnTestHost.h"

#include <gtest/gtest.h>


namespace {

// An internet client as the transport would attach it: a responder that records.
struct RecordingResponder {
  TarnUUID id = TarnUUID::random();
  std::vector<TarnWireEnvelope> received;

  TarnWanResponder responder() {
    return [this](const TarnWireEnvelope& envelope) { received.push_back(envelope); };
  }
  std::vector<TarnWireKind> kinds() const {
    std::vector<TarnWireKind> kinds;
    for (const auto& envelope : received) kinds.push_back(envelope.kind);
    return kinds;
  }
};

TEST(TarnHostWan, AnAttachedClientMustPairLikeALocalOne) {
  TarnTestHost host;
  host.start();
  RecordingResponder remote;
  host.service().attachWANClient(remote.id, remote.responder());
  EXPECT_TRUE(remote.received.empty());
  const auto* connected = host.owner().lastEvent(QStringLiteral("Remote client connected"));
  ASSERT_TRUE(connected);
  EXPECT_EQ(connected->detail, QStringLiteral("A device connected over the internet and is pairing."));
  EXPECT_EQ(connected->symbol, QStringLiteral("globe"));

  TarnWireCommand command;
  command.id = TarnUUID::random();
  command.name = "remoteInput";
  host.service().ingestWAN(TarnWireEnvelope::carrying(command), remote.id);
  ASSERT_EQ(remote.kinds(), std::vector<TarnWireKind>{TarnWireKind::error});
  EXPECT_TRUE(host.owner().commands.empty());

  host.service().ingestWAN(TarnWireEnvelope::carrying(makePairRequest("123456")), remote.id);
  ASSERT_TRUE(waitUntil([&] { return remote.received.size() == 2; }));
  ASSERT_TRUE(remote.received[1].pairResult);
  EXPECT_TRUE(remote.received[1].pairResult->accepted);

  host.service().ingestWAN(TarnWireEnvelope::carrying(command), remote.id);
  ASSERT_EQ(host.owner().commands.size(), 1u);
  EXPECT_EQ(host.owner().commands[0].device->address, "Local Network");
}

TEST(TarnHostWan, BroadcastsReachPairedClientsOnBothRoads) {
  TarnTestHost host;
  host.start();
  RecordingResponder pairedRemote;
  RecordingResponder unpairedRemote;
  host.service().attachWANClient(pairedRemote.id, pairedRemote.responder());
  host.service().attachWANClient(unpairedRemote.id, unpairedRemote.responder());
  host.service().ingestWAN(TarnWireEnvelope::carrying(makePairRequest("123456")), pairedRemote.id);
  ASSERT_TRUE(waitUntil([&] { return pairedRemote.received.size() == 1; }));
  auto local = host.pairedClient();
  ASSERT_TRUE(local);

  host.service().sendToPairedDevices(TarnWireEnvelope::error("to paired"));
  EXPECT_EQ(pairedRemote.received.back().errorMessage, "to paired");
  EXPECT_TRUE(unpairedRemote.received.empty());
  const auto atLocal = local->nextOfKind(TarnWireKind::error);
  ASSERT_TRUE(atLocal);
  EXPECT_EQ(atLocal->errorMessage, "to paired");

  host.service().sendToAll(TarnWireEnvelope::error("to all"));
  EXPECT_EQ(unpairedRemote.received.back().errorMessage, "to all");
}

TEST(TarnHostWan, EndSessionAndStopUnpairButKeepInternetClientsAttached) {
  TarnTestHost host;
  host.start();
  RecordingResponder remote;
  host.service().attachWANClient(remote.id, remote.responder());
  host.service().ingestWAN(TarnWireEnvelope::carrying(makePairRequest("123456")), remote.id);
  ASSERT_TRUE(waitUntil([&] { return remote.received.size() == 1; }));

  host.service().endSession();
  EXPECT_EQ(remote.received.back().kind, TarnWireKind::sessionEnded);
  EXPECT_TRUE(host.service().clientIDs(TarnClientAudience::allPaired).empty());
  // Still attached: replies reach it.
  host.service().send(TarnWireEnvelope::error("still here"), remote.id);
  EXPECT_EQ(remote.received.back().errorMessage, "still here");

  host.service().ingestWAN(TarnWireEnvelope::carrying(makePairRequest("123456")), remote.id);
  ASSERT_TRUE(waitUntil([&] { return remote.received.back().kind == TarnWireKind::pairResult; }));
  host.service().stop();
  EXPECT_TRUE(host.service().clientIDs(TarnClientAudience::allPaired).empty());
  host.service().send(TarnWireEnvelope::error("after stop"), remote.id);
  EXPECT_EQ(remote.received.back().errorMessage, "after stop");
}

TEST(TarnHostWan, DetachForgetsTheClientAndItsWaitingRequest) {
  TarnTestHost host;
  host.start();
  host.owner().answerWith(TarnTestOwner::Answer::wait, &host.service());
  RecordingResponder remote;
  host.service().attachWANClient(remote.id, remote.responder());
  host.service().ingestWAN(TarnWireEnvelope::carrying(makePairRequest("123456")), remote.id);
  ASSERT_EQ(host.owner().approvalRequests.size(), 1u);

  host.service().detachWANClient(remote.id);
  EXPECT_EQ(host.owner().removedApprovals, std::vector<TarnUUID>{remote.id});
  host.service().approvePairingRequest(remote.id);
  EXPECT_TRUE(host.owner().hasEvent(QStringLiteral("Pairing unavailable")));
  host.service().send(TarnWireEnvelope::error("gone"), remote.id);
  EXPECT_TRUE(remote.received.empty());
}

}  // namespace
