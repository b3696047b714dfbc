#pragma once

#include "host/core/TarnMacHostService.h"
#include "platform/keychain/TarnKeychain.h"
#include "platform/keychain/TarnMemorySecretStore.h"
#include "platform/mdns/TarnRecordingAdvertiser.h"
#include "tests/support/lineclient/TarnEventWait.h"
#include "tests/support/lineclient/TarnLineClient.h"
#include "tests/support/lineclient/TarnTestOwner.h"

#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Makes sure a QCoreApplication exists for the test process.
void ensureTestApplication();

// A host service on a free loopback port with an in-memory keychain, defaults in a
// temporary folder and recording advertisers, owned by a recording test owner.
class TarnTestHost {
public:
  struct Options {
    TarnConnectionLimits limits;
    TarnRecordingAdvertiser::Reply advertiserReply = TarnRecordingAdvertiser::Reply::advertiseOnPublish;
    quint16 port = 0;
    // A real advertiser in place of the recording ones.
    TarnAdvertiserFactory makeAdvertiser;
  };

  TarnTestHost();
  explicit TarnTestHost(Options options);
  ~TarnTestHost();

  // The service is made on first use, so a test can prepare the defaults and keychain first.
  TarnMacHostService& service();
  // Starts the service, waits for its advertisement when the advertiser answers, and returns its port.
  quint16 start();

  // A client that connected and received its hello.
  std::unique_ptr<TarnLineClient> connectClient();
  // A client paired by code and the owner's approval; the pairing result is taken.
  std::unique_ptr<TarnLineClient> pairedClient(const TarnWirePairRequest& request);
  std::unique_ptr<TarnLineClient> pairedClient(const std::string& model = "iPhone");

  QSettings& defaults() { return *defaults_; }
  TarnMemorySecretStore& secrets() { return *store_; }
  TarnKeychain& keychain() { return *keychain_; }
  TarnTestOwner& owner() { return owner_; }
  TarnRecordingAdvertiser* currentAdvertiser() const;

private:
  Options options_;
  QTemporaryDir folder_;
  std::unique_ptr<QSettings> defaults_;
  std::shared_ptr<TarnMemorySecretStore> store_;
  std::shared_ptr<TarnKeychain> keychain_;
  TarnTestOwner owner_;
  std::vector<QPointer<TarnRecordingAdvertiser>> advertisers_;
  std::unique_ptr<TarnMacHostService> service_;
};
