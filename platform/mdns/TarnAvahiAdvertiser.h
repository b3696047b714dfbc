#pragma once

#include "platform/mdns/TarnAvahiQtPoll.h"
#include "platform/mdns/TarnServiceAdvertiser.h"

#include <QTimer>

#include <avahi-client/client.h>
#include <avahi-client/publish.h>

#include <optional>

// Publishes through avahi-daemon over the system bus. When the daemon is
// missing or goes away it reports why and publishes again once the daemon
// is back; a name taken by another host is replaced by "Name #2" and so on.
class TarnAvahiAdvertiser final : public TarnServiceAdvertiser {
  Q_OBJECT

public:
  explicit TarnAvahiAdvertiser(QObject* parent = nullptr);
  ~TarnAvahiAdvertiser() override;

  void publish(const TarnServiceAdvertisement& advertisement) override;
  void withdraw() override;

  // The name the service is published under now, after any renaming.
  const QString& publishedName() const { return name_; }

private:
  static void onClientState(AvahiClient* client, AvahiClientState state, void* self);
  static void onGroupState(AvahiEntryGroup* group, AvahiEntryGroupState state, void* self);
  void handleClientState(AvahiClient* client, AvahiClientState state);
  void handleGroupState(AvahiEntryGroupState state);

  void connectToDaemon();
  void discardClient();
  void registerService();
  void dropGroup();
  void takeAlternativeName();
  // Both signals go out queued, and only if nothing was published or
  // withdrawn in between: a slot may then call back in safely.
  void announceAdvertised();
  void announceFailure(const QString& reason);

  TarnAvahiQtPoll poll_;
  AvahiClient* client_ = nullptr;
  AvahiEntryGroup* group_ = nullptr;
  std::optional<TarnServiceAdvertisement> wanted_;
  QString name_;
  QString lastFailure_;
  quint64 generation_ = 0;
  QTimer reconnectTimer_;
};
