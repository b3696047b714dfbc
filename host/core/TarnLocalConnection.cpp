#include "host/core/TarnLocalConnection.h"

#include <QPointer>
#include <QTcpSocket>

TarnLocalConnection::TarnLocalConnection(QTcpSocket* socket, const TarnUUID& id, const TarnConnectionLimits& limits,
                                         Handlers handlers, QObject* parent)
    : QObject(parent),
      socket_(socket),
      id_(id),
      limits_(limits),
      handlers_(std::move(handlers)),
      decoder_(limits.unpairedLineBytes) {
  socket_->setParent(this);
  // Qt stops taking bytes from the kernel while this much waits unread, so one
  // connection never holds more than a chunk beyond its undecoded tail.
  socket_->setReadBufferSize(TarnConnectionLimits::receiveChunkBytes);
  connect(socket_, &QTcpSocket::readyRead, this, &TarnLocalConnection::readAvailable);
  connect(socket_, &QTcpSocket::disconnected, this, &TarnLocalConnection::handlePeerGone);
  connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
    // A remote close is followed by disconnected(), which reads what is left first.
    if (error != QAbstractSocket::RemoteHostClosedError) handlePeerGone();
  });
  idleTimer_.setSingleShot(true);
  idleTimer_.setTimerType(Qt::PreciseTimer);
  idleTimer_.setInterval(limits_.unpairedIdleTimeout);
  connect(&idleTimer_, &QTimer::timeout, this, [this] {
    if (socket_ && handlers_.idle) handlers_.idle(id_);
  });
  idleTimer_.start();
}

TarnLocalConnection::~TarnLocalConnection() {
  if (socket_) socket_->disconnect(this);
}

void TarnLocalConnection::send(const std::string& line) {
  if (!socket_ || droppingForBacklog_) return;
  socket_->write(line.data(), static_cast<qint64>(line.size()));
  if (static_cast<std::size_t>(socket_->bytesToWrite()) <= limits_.maxUnsentBytes) return;
  // Ended from the event loop: the sender may be walking its list of recipients right now.
  droppingForBacklog_ = true;
  QMetaObject::invokeMethod(this, [this] {
    if (socket_) finish();
  }, Qt::QueuedConnection);
}

void TarnLocalConnection::markPaired() {
  idleTimer_.stop();
  decoder_.setMaxBufferedBytes(limits_.pairedLineBytes);
}

void TarnLocalConnection::restartIdleTimer() {
  if (socket_) idleTimer_.start();
}

void TarnLocalConnection::readAvailable() {
  const QPointer<TarnLocalConnection> alive(this);
  while (socket_ && socket_->bytesAvailable() > 0) {
    const QByteArray chunk = socket_->read(TarnConnectionLimits::receiveChunkBytes);
    if (chunk.isEmpty()) break;
    if (idleTimer_.isActive()) idleTimer_.start();
    const auto received = decoder_.append(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
    for (const TarnWireEnvelope& envelope : received.envelopes) {
      handlers_.envelopeReceived(id_, envelope);
      // Handling may have closed this connection (stop, end of session).
      if (!alive || !socket_) return;
    }
    if (received.overflowed) {
      finish();
      return;
    }
  }
}

void TarnLocalConnection::handlePeerGone() {
  if (!socket_) return;
  const QPointer<TarnLocalConnection> alive(this);
  readAvailable();
  if (alive && socket_) finish();
}

void TarnLocalConnection::finish() {
  idleTimer_.stop();
  QTcpSocket* socket = std::exchange(socket_, nullptr);
  socket->disconnect(this);
  socket->abort();
  socket->deleteLater();
  if (handlers_.ended) handlers_.ended(id_);
}

void TarnLocalConnection::close(QObject* lingerParent) {
  if (!socket_) return;
  idleTimer_.stop();
  QTcpSocket* socket = std::exchange(socket_, nullptr);
  socket->disconnect(this);
  socket->setParent(lingerParent);
  connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  QTimer::singleShot(limits_.closeFlushTimeout, socket, [socket] {
    socket->abort();
    socket->deleteLater();
  });
  socket->disconnectFromHost();
  if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}
