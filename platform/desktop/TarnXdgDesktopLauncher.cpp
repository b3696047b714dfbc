#include "platform/desktop/TarnXdgDesktopLauncher.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {
const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString fileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");
// Long enough for a file manager that the bus starts on demand.
constexpr int showItemsTimeoutMilliseconds = 10'000;

QString parentFolder(const QString& path) {
  return QFileInfo(path).absolutePath();
}
} // namespace

TarnXdgDesktopLauncher::TarnXdgDesktopLauncher(QDBusConnection sessionBus, QString openerProgram,
                                               QObject* parent)
    : QObject(parent), sessionBus_(std::move(sessionBus)), openerProgram_(std::move(openerProgram)) {}

TarnDesktopRequestResult TarnXdgDesktopLauncher::open(const QString& path) {
  QProcess opener;
  opener.setProgram(openerProgram_);
  opener.setArguments({path});
  // The opener must never read the host's input or write into its log.
  opener.setStandardInputFile(QProcess::nullDevice());
  opener.setStandardOutputFile(QProcess::nullDevice());
  opener.setStandardErrorFile(QProcess::nullDevice());
  return opener.startDetached() ? TarnDesktopRequestResult::requested
                                : TarnDesktopRequestResult::couldNotStart;
}

TarnDesktopRequestResult TarnXdgDesktopLauncher::reveal(const QString& path) {
  if (!sessionBus_.isConnected()) {
    return open(parentFolder(path));
  }
  QDBusMessage showItems = QDBusMessage::createMethodCall(fileManagerService, fileManagerPath,
                                                          fileManagerService, QStringLiteral("ShowItems"));
  const QString uri = QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
  showItems << QStringList{uri} << QString();
  // Asynchronous, so a slow or absent file manager never stalls the event loop.
  auto* watcher = new QDBusPendingCallWatcher(sessionBus_.asyncCall(showItems, showItemsTimeoutMilliseconds), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* finished) {
    if (finished->isError()) {
      open(parentFolder(path));
    }
    finished->deleteLater();
  });
  return TarnDesktopRequestResult::requested;
}
