#include "host/files/TarnFileBrowserUnit.h"

#include <QPointer>

TarnFileBrowserUnit::TarnFileBrowserUnit(TarnHostContext& context, std::string homePath,
                                         TarnDesktopLauncher& launcher)
    : context_(context), browser_(std::move(homePath), launcher) {
  worker_.setMaxThreadCount(1);
  worker_.setObjectName(QStringLiteral("tarn-files"));
}

TarnFileBrowserUnit::~TarnFileBrowserUnit() {
  worker_.clear();
  worker_.waitForDone();
}

std::vector<std::string> TarnFileBrowserUnit::commandNames() const {
  return {std::string(TarnHostCommandName::listFiles), std::string(TarnHostCommandName::openFile),
          std::string(TarnHostCommandName::revealFile), std::string(TarnHostCommandName::downloadFile)};
}

void TarnFileBrowserUnit::handleCommand(const TarnWireCommand& command, const TarnUUID& clientID) {
  const std::string& path = command.payload;
  if (command.name == TarnHostCommandName::listFiles) {
    runInOrder([lister = browser_.lister(), path] { return TarnWireEnvelope::carrying(lister.list(path)); },
               [this, clientID](const TarnWireEnvelope& reply) { context_.send(reply, clientID); });
  } else if (command.name == TarnHostCommandName::openFile) {
    context_.reportEvent(QStringLiteral("Open file"), QString::fromStdString(browser_.open(path)),
                         QStringLiteral("arrow.up.forward.app"));
  } else if (command.name == TarnHostCommandName::revealFile) {
    context_.reportEvent(QStringLiteral("Reveal file"), QString::fromStdString(browser_.reveal(path)),
                         QStringLiteral("folder"));
  } else if (command.name == TarnHostCommandName::downloadFile) {
    runInOrder(
        [downloader = browser_.downloader(), path] { return TarnWireEnvelope::carrying(downloader.download(path)); },
        [this, clientID](const TarnWireEnvelope& reply) {
          context_.send(reply, clientID);
          reportDownload(*reply.fileDownloadResponse);
        });
  }
}

void TarnFileBrowserUnit::runInOrder(std::function<TarnWireEnvelope()> work,
                                     std::function<void(const TarnWireEnvelope&)> deliver) {
  QPointer<QObject> service = context_.lifetimeObject();
  worker_.start([this, work = std::move(work), deliver = std::move(deliver), service] {
    TarnWireEnvelope reply = work();
    QMetaObject::invokeMethod(
        &replyAnchor_,
        [deliver, service, reply = std::move(reply)] {
          if (service) {
            deliver(reply);
          }
        },
        Qt::QueuedConnection);
  });
}

void TarnFileBrowserUnit::reportDownload(const TarnWireFileDownloadResponse& response) {
  const QString detail = QString::fromStdString(response.message);
  if (response.accepted) {
    context_.reportEvent(QStringLiteral("File sent"), detail, QStringLiteral("arrow.down.doc"));
  } else {
    context_.reportEvent(QStringLiteral("File not sent"), detail, QStringLiteral("exclamationmark.triangle"));
  }
}
