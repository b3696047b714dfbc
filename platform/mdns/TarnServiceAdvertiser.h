#pragma once

#include "platform/mdns/TarnServiceAdvertisement.h"

#include <QObject>
#include <QString>

// Publishes one service on the local network. Lives on the main thread.
class TarnServiceAdvertiser : public QObject {
  Q_OBJECT

public:
  using QObject::QObject;
  ~TarnServiceAdvertiser() override = default;

  // Replaces whatever was published before.
  virtual void publish(const TarnServiceAdvertisement& advertisement) = 0;
  // Takes the service off the network; no signal follows.
  virtual void withdraw() = 0;

Q_SIGNALS:
  // The service is registered under its (possibly alternative) name.
  void advertised();
  // The service is not on the network, and why; an advertiser that can
  // recover keeps trying and emits advertised() once it succeeds.
  void advertisingFailed(const QString& reason);
};
