#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class QTcpSocket;
class TarnServiceAdvertiser;

struct TarnListenEndpoint {
  QHostAddress address{QHostAddress::Any};
  quint16 port = 52520;
};

// One listening socket with its mDNS advertisement. The service makes a fresh one on
// every start, so reports of an earlier one can be told apart and ignored.
class TarnHostListener : public QObject {
  Q_OBJECT

public:
  TarnHostListener(std::unique_ptr<TarnServiceAdvertiser> advertiser, QObject* parent);
  ~TarnHostListener() override;

  // Listens on the endpoint, or on any free port when that one is taken.
  bool listen(const TarnListenEndpoint& endpoint);
  QString errorString() const { return server_.errorString(); }
  quint16 port() const { return server_.serverPort(); }
  void advertise(const QString& name, const std::vector<std::pair<std::string, std::string>>& txtRecord);
  QTcpSocket* nextPendingConnection() { return server_.nextPendingConnection(); }

Q_SIGNALS:
  void connectionPending();
  void advertised();
  void advertisingFailed(const QString& reason);
  void failed(const QString& reason);

private:
  QTcpServer server_;
  std::unique_ptr<TarnServiceAdvertiser> advertiser_;
};
