#pragma once
#include "platform/desktop/TarnDesktopLauncher.h"

#include <QDBusConnection>
#include <QObject>

// Opens with xdg-open and reveals through the file manager's org.freedesktop.FileManager1
// service; without a file manager the parent folder is opened instead.
// Lives on the thread of the event loop that delivers the file manager's replies.
class TarnXdgDesktopLauncher : public QObject, public TarnDesktopLauncher {
  Q_OBJECT
public:
  explicit TarnXdgDesktopLauncher(QDBusConnection sessionBus = QDBusConnection::sessionBus(),
                                  QString openerProgram = QStringLiteral("xdg-open"),
                                  QObject* parent = nullptr);

  TarnDesktopRequestResult open(const QString& path) override;
  TarnDesktopRequestResult reveal(const QString& path) override;

private:
  QDBusConnection sessionBus_;
  QString openerProgram_;
};
