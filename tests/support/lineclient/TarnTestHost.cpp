#include "tests/support/lineclient/TarnTestHost.h"

#include <QCoreApplication>
#include "tests/support/lineclient/TarnEventWait.h"

void ensureTestApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "tarnhold-test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
}

TarnTestHost::TarnTestHost() : TarnTestHost(Options{}) {}

TarnTestHost::TarnTestHost(Options options)
    : options_(options),
      store_(std::make_shared<TarnMemorySecretStore>()),
      keychain_(std::make_shared<TarnKeychain>(store_)) {
  ensureTestApplication();
  defaults_ = std::make_unique<QSettings>(folder_.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
}

TarnTestHost::~TarnTestHost() { service_.reset(); }

TarnMacHostService& TarnTestHost::service() {
  if (service_) return *service_;
  TarnHostEnvironment environment;
  environment.keychain = keychain_;
  environment.defaults = defaults_.get();
  environment.endpoint = {QHostAddress::LocalHost, options_.port};
  environment.limits = options_.limits;
  environment.makeAdvertiser = options_.makeAdvertiser ? options_.makeAdvertiser : [this]() -> std::unique_ptr<TarnServiceAdvertiser> {
    auto advertiser = std::make_unique<TarnRecordingAdvertiser>(options_.advertiserReply);
    advertisers_.emplace_back(advertiser.get());
    return advertiser;
  };
  service_ = std::make_unique<TarnMacHostService>(QStringLiteral("Test Host"), QStringLiteral("Test Display"),
                                                  owner_.callbacks(), std::move(environment));
  owner_.answerWith(TarnTestOwner::Answer::approve, service_.get());
  return *service_;
}

quint16 TarnTestHost::start() {
  const std::size_t statesBefore = owner_.advertisingStates.size();
  service().start();
  // The recording advertiser answers later, as a daemon would.
  if (!options_.makeAdvertiser && options_.advertiserReply == TarnRecordingAdvertiser::Reply::advertiseOnPublish) {
    (void)waitUntil([&] {
      return owner_.advertisingStates.size() > statesBefore + 1 && owner_.advertisingStates.back();
    });
  }
  return service().listeningPort();
}

TarnRecordingAdvertiser* TarnTestHost::currentAdvertiser() const {
  return advertisers_.empty() ? nullptr : advertisers_.back().data();
}

std::unique_ptr<TarnLineClient> TarnTestHost::connectClient() {
  auto client = std::make_unique<TarnLineClient>();
  if (!client->connectTo(service().listeningPort()) || !client->nextOfKind(TarnWireKind::hello)) return nullptr;
  return client;
}

std::unique_ptr<TarnLineClient> TarnTestHost::pairedClient(const TarnWirePairRequest& request) {
  auto client = connectClient();
  if (!client) return nullptr;
  client->sendPairRequest(request);
  const auto result = client->nextOfKind(TarnWireKind::pairResult);
  if (!result || !result->pairResult || !result->pairResult->accepted) return nullptr;
  return client;
}

std::unique_ptr<TarnLineClient> TarnTestHost::pairedClient(const std::string& model) {
  return pairedClient(makePairRequest(owner_.pairingCode.toStdString(), TarnUUID::random(), model));
}
