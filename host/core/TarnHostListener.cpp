#include "host/core/TarnHostListener.h"

#include "model/TarnLocalNetwork.h"
#include "platform/mdns/TarnServiceAdvertiser.h"

#include <QTcpSocket>

TarnHostListener::TarnHostListener(std::unique_ptr<TarnServiceAdvertiser> advertiser, QObject* parent)
    : QObject(parent), advertiser_(std::move(advertiser)) {
  connect(&server_, &QTcpServer::newConnection, this, &TarnHostListener::connectionPending);
  connect(&server_, &QTcpServer::acceptError, this,
          [this](QAbstractSocket::SocketError) { Q_EMIT failed(server_.errorString()); });
  connect(advertiser_.get(), &TarnServiceAdvertiser::advertised, this, &TarnHostListener::advertised);
  connect(advertiser_.get(), &TarnServiceAdvertiser::advertisingFailed, this, &TarnHostListener::advertisingFailed);
}

TarnHostListener::~TarnHostListener() {
  // Whatever the advertiser says while it withdraws belongs to a listener that is gone.
  advertiser_->disconnect(this);
  advertiser_->withdraw();
  server_.close();
}

bool TarnHostListener::listen(const TarnListenEndpoint& endpoint) {
  if (server_.listen(endpoint.address, endpoint.port)) return true;
  return endpoint.port != 0 && server_.listen(endpoint.address, 0);
}

void TarnHostListener::advertise(const QString& name,
                                 const std::vector<std::pair<std::string, std::string>>& txtRecord) {
  TarnServiceAdvertisement advertisement;
  advertisement.name = name;
  advertisement.type = QString::fromUtf8(TarnLocalNetwork::serviceType.data(),
                                         static_cast<qsizetype>(TarnLocalNetwork::serviceType.size()));
  advertisement.port = port();
  for (const auto& [key, value] : txtRecord) {
    advertisement.txt.push_back({QString::fromStdString(key), QString::fromStdString(value)});
  }
  advertiser_->publish(advertisement);
}
