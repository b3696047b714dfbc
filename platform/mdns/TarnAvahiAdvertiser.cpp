#include "platform/mdns/TarnAvahiAdvertiser.h"

#include "platform/mdns/TarnMdnsLog.h"

#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>

#include <QMetaObject>

namespace {

constexpr int reconnectIntervalMilliseconds = 5000;
// Each attempt takes a new alternative name; a bound keeps a daemon that
// refuses every name from spinning us forever.
constexpr int maxLocalRenames = 100;
// DNS-SD instance names are one DNS label.
constexpr qsizetype maxServiceNameBytes = 63;

// Cuts the name to one label's length without splitting a UTF-8 sequence.
QByteArray serviceNameBytes(const QString& name) {
  QByteArray bytes = name.toUtf8();
  if (bytes.size() <= maxServiceNameBytes)
    return bytes;
  qsizetype end = maxServiceNameBytes;
  while (end > 0 && (uchar(bytes[end]) & 0xC0) == 0x80)
    --end;
  bytes.truncate(end);
  return bytes;
}

QString avahiReason(int error) { return QString::fromUtf8(avahi_strerror(error)); }

QString publishFailedReason(int error) {
  return QStringLiteral("The mDNS service could not be published: %1.").arg(avahiReason(error));
}

QString daemonMissingReason() {
  return QStringLiteral("avahi-daemon is not running; the service is published as soon as it starts.");
}

} // namespace

TarnAvahiAdvertiser::TarnAvahiAdvertiser(QObject* parent) : TarnServiceAdvertiser(parent) {
  reconnectTimer_.setSingleShot(true);
  reconnectTimer_.setInterval(reconnectIntervalMilliseconds);
  connect(&reconnectTimer_, &QTimer::timeout, this, &TarnAvahiAdvertiser::connectToDaemon);
}

TarnAvahiAdvertiser::~TarnAvahiAdvertiser() {
  withdraw();
  discardClient();
}

void TarnAvahiAdvertiser::publish(const TarnServiceAdvertisement& advertisement) {
  ++generation_;
  wanted_ = advertisement;
  name_ = QString::fromUtf8(serviceNameBytes(advertisement.name));
  lastFailure_.clear();
  if (!client_) {
    connectToDaemon(); // registers from the client's running state
    return;
  }
  if (avahi_client_get_state(client_) == AVAHI_CLIENT_S_RUNNING)
    registerService();
  else if (avahi_client_get_state(client_) == AVAHI_CLIENT_CONNECTING)
    announceFailure(daemonMissingReason());
}

void TarnAvahiAdvertiser::withdraw() {
  ++generation_;
  wanted_.reset();
  lastFailure_.clear();
  dropGroup();
}

void TarnAvahiAdvertiser::connectToDaemon() {
  if (client_ || !wanted_)
    return;
  int error = 0;
  // NO_FAIL: without a daemon the client waits for one instead of failing.
  client_ = avahi_client_new(poll_.api(), AVAHI_CLIENT_NO_FAIL, &TarnAvahiAdvertiser::onClientState, this, &error);
  if (!client_) {
    announceFailure(QStringLiteral("Cannot reach avahi-daemon over the system bus: %1.").arg(avahiReason(error)));
    reconnectTimer_.start();
  }
}

void TarnAvahiAdvertiser::discardClient() {
  dropGroup();
  if (client_)
    avahi_client_free(client_);
  client_ = nullptr;
}

void TarnAvahiAdvertiser::onClientState(AvahiClient* client, AvahiClientState state, void* self) {
  static_cast<TarnAvahiAdvertiser*>(self)->handleClientState(client, state);
}

void TarnAvahiAdvertiser::onGroupState(AvahiEntryGroup*, AvahiEntryGroupState state, void* self) {
  static_cast<TarnAvahiAdvertiser*>(self)->handleGroupState(state);
}

void TarnAvahiAdvertiser::handleClientState(AvahiClient* client, AvahiClientState state) {
  // The first report comes from inside avahi_client_new, before it returns.
  client_ = client;
  switch (state) {
  case AVAHI_CLIENT_S_RUNNING:
    qCDebug(tarnMdnsLog) << "avahi-daemon is running";
    if (wanted_)
      registerService();
    break;
  case AVAHI_CLIENT_S_COLLISION:
  case AVAHI_CLIENT_S_REGISTERING:
    // The daemon renames the host; our records go back in once it runs again.
    if (group_)
      avahi_entry_group_reset(group_);
    break;
  case AVAHI_CLIENT_CONNECTING:
    // The daemon is gone (or never was); a group made with it is dead.
    dropGroup();
    if (wanted_)
      announceFailure(daemonMissingReason());
    break;
  case AVAHI_CLIENT_FAILURE: {
    const int error = avahi_client_errno(client);
    qCWarning(tarnMdnsLog) << "avahi client failed:" << avahi_strerror(error);
    if (wanted_)
      announceFailure(QStringLiteral("The mDNS client failed: %1.").arg(avahiReason(error)));
    // A client may not be freed from its own callback.
    QMetaObject::invokeMethod(this, [this] {
      discardClient();
      reconnectTimer_.start();
    }, Qt::QueuedConnection);
    break;
  }
  }
}

void TarnAvahiAdvertiser::handleGroupState(AvahiEntryGroupState state) {
  switch (state) {
  case AVAHI_ENTRY_GROUP_ESTABLISHED:
    qCDebug(tarnMdnsLog) << "published as" << name_;
    announceAdvertised();
    break;
  case AVAHI_ENTRY_GROUP_COLLISION:
    // Another host on the network has this name.
    takeAlternativeName();
    registerService();
    break;
  case AVAHI_ENTRY_GROUP_FAILURE:
    announceFailure(publishFailedReason(avahi_client_errno(client_)));
    break;
  case AVAHI_ENTRY_GROUP_UNCOMMITED:
  case AVAHI_ENTRY_GROUP_REGISTERING:
    break;
  }
}

void TarnAvahiAdvertiser::registerService() {
  if (!wanted_ || !client_)
    return;
  if (!group_)
    group_ = avahi_entry_group_new(client_, &TarnAvahiAdvertiser::onGroupState, this);
  else
    avahi_entry_group_reset(group_);
  if (!group_) {
    announceFailure(publishFailedReason(avahi_client_errno(client_)));
    return;
  }

  AvahiStringList* txt = nullptr;
  for (const TarnTxtEntry& entry : wanted_->txt)
    txt = avahi_string_list_add_pair(txt, entry.key.toUtf8().constData(), entry.value.toUtf8().constData());
  txt = avahi_string_list_reverse(txt); // the list was built back to front

  const QByteArray type = wanted_->type.toUtf8();
  int result = AVAHI_ERR_COLLISION;
  for (int attempt = 0; attempt < maxLocalRenames && result == AVAHI_ERR_COLLISION; ++attempt) {
    if (attempt > 0)
      takeAlternativeName(); // a service of this daemon already holds the name
    result = avahi_entry_group_add_service_strlst(group_, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0),
                                                  name_.toUtf8().constData(), type.constData(), nullptr, nullptr,
                                                  wanted_->port, txt);
  }
  avahi_string_list_free(txt);
  if (result >= 0)
    result = avahi_entry_group_commit(group_);
  if (result < 0)
    announceFailure(publishFailedReason(result));
}

void TarnAvahiAdvertiser::dropGroup() {
  // Freeing the group withdraws its records, with goodbye packets.
  if (group_)
    avahi_entry_group_free(group_);
  group_ = nullptr;
}

void TarnAvahiAdvertiser::takeAlternativeName() {
  char* alternative = avahi_alternative_service_name(name_.toUtf8().constData());
  qCInfo(tarnMdnsLog) << name_ << "is taken; trying" << alternative;
  name_ = QString::fromUtf8(alternative);
  avahi_free(alternative);
}

void TarnAvahiAdvertiser::announceAdvertised() {
  lastFailure_.clear();
  QMetaObject::invokeMethod(this, [this, generation = generation_] {
    if (generation == generation_ && wanted_)
      Q_EMIT advertised();
  }, Qt::QueuedConnection);
}

void TarnAvahiAdvertiser::announceFailure(const QString& reason) {
  // Retries report the same reason again and again; say it once.
  if (reason == lastFailure_)
    return;
  lastFailure_ = reason;
  qCWarning(tarnMdnsLog) << reason;
  QMetaObject::invokeMethod(this, [this, generation = generation_, reason] {
    if (generation == generation_ && wanted_)
      Q_EMIT advertisingFailed(reason);
  }, Qt::QueuedConnection);
}
