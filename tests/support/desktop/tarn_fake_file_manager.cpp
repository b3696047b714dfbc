// A stand-in file manager for tests: owns org.freedesktop.FileManager1 on the bus named by
// DBUS_SESSION_BUS_ADDRESS, appends "<method> <uri...>" to the log file given as the first
// argument, and prints READY once the name is taken.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QStringList>

#include <cstdio>

class FakeFileManager : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
  explicit FakeFileManager(QString logPath) : logPath_(std::move(logPath)) {}

public Q_SLOTS:
  void ShowItems(const QStringList& uris, const QString&) { record(QStringLiteral("ShowItems"), uris); }
  void ShowFolders(const QStringList& uris, const QString&) { record(QStringLiteral("ShowFolders"), uris); }

private:
  void record(const QString& method, const QStringList& uris) {
    QFile log(logPath_);
    if (log.open(QIODevice::Append)) {
      log.write((method + QLatin1Char(' ') + uris.join(QLatin1Char(' ')) + QLatin1Char('\n')).toUtf8());
    }
  }
  QString logPath_;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) {
    return 64;
  }
  FakeFileManager manager(QString::fromLocal8Bit(argv[1]));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager, QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QStringLiteral("org.freedesktop.FileManager1"))) {
    return 1;
  }
  std::puts("READY");
  std::fflush(stdout);
  return app.exec();
}

#include "tarn_fake_file_manager.moc"
