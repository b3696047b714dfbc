#include "tests/support/services/TarnIsolatedAvahi.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

// Loopback only, no workstation or hardware records, and a rate limit high
// enough for tests that publish and withdraw in quick succession.
constexpr const char* daemonConfiguration = R"([server]
host-name=tarnhold-test
use-ipv4=yes
use-ipv6=no
allow-interfaces=lo
ratelimit-interval-usec=1000000
ratelimit-burst=1000
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
)";

// Undoes avahi-browse's label escaping: "\032" is a byte in decimal, "\." a dot.
QString unescapeLabel(const QByteArray& label) {
  QByteArray bytes;
  for (qsizetype i = 0; i < label.size(); ++i) {
    if (label[i] != '\\' || i + 1 >= label.size()) {
      bytes += label[i];
    } else if (i + 3 < label.size() && std::isdigit(label[i + 1]) && std::isdigit(label[i + 2]) &&
               std::isdigit(label[i + 3])) {
      bytes += char(label.mid(i + 1, 3).toInt());
      i += 3;
    } else {
      bytes += label[++i];
    }
  }
  return QString::fromUtf8(bytes);
}

// "\"k=v\" \"k2=v2\"" into its pairs.
std::map<QString, QString> parseTxt(const QByteArray& text) {
  std::map<QString, QString> entries;
  qsizetype at = text.indexOf('"');
  while (at >= 0) {
    const qsizetype end = text.indexOf('"', at + 1);
    if (end < 0)
      break;
    const QString entry = QString::fromUtf8(text.mid(at + 1, end - at - 1));
    const qsizetype equals = entry.indexOf(QLatin1Char('='));
    if (equals < 0)
      entries[entry] = QString();
    else
      entries[entry.left(equals)] = entry.mid(equals + 1);
    at = text.indexOf('"', end + 1);
  }
  return entries;
}

} // namespace

TarnIsolatedAvahi::TarnIsolatedAvahi(const TarnPrivateBus& systemBus, Start start) : bus_(systemBus) {
  QFile configuration(folder_.filePath(QStringLiteral("avahi-daemon.conf")));
  if (!folder_.isValid() || !configuration.open(QIODevice::WriteOnly) || configuration.write(daemonConfiguration) < 0)
    throw std::runtime_error("cannot write the avahi-daemon configuration");
  configuration.close();
  if (start == Start::now)
    startDaemon();
}

TarnIsolatedAvahi::~TarnIsolatedAvahi() { stopDaemon(); }

void TarnIsolatedAvahi::startDaemon() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QString::fromUtf8(bus_.address()));
  avahi_ = std::make_unique<TarnTestDaemon>(
      QStringLiteral(TARN_ISOLATED_EXEC),
      QStringList{QStringLiteral("avahi-daemon"), QStringLiteral("--file=") + folder_.filePath(QStringLiteral("avahi-daemon.conf")),
                  QStringLiteral("--no-drop-root"), QStringLiteral("--no-chroot"), QStringLiteral("--no-rlimits"),
                  QStringLiteral("--no-proc-title")},
      environment);
  if (!bus_.waitForName(QStringLiteral("org.freedesktop.Avahi"), std::chrono::seconds(10)))
    throw std::runtime_error("avahi-daemon did not come up: " + avahi_->errorOutput().toStdString());
}

void TarnIsolatedAvahi::stopDaemon() { avahi_.reset(); }

std::vector<TarnBrowsedService> TarnIsolatedAvahi::browse() const {
  QProcess browser;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QString::fromUtf8(bus_.address()));
  browser.setProcessEnvironment(environment);
  browser.start(QStringLiteral("avahi-browse"),
                QStringList{QStringLiteral("--resolve"), QStringLiteral("--parsable"), QStringLiteral("--terminate"),
                            QStringLiteral("--no-db-lookup"), QStringLiteral("_tarnhold._tcp")});
  if (!browser.waitForFinished(10000)) {
    browser.kill();
    browser.waitForFinished();
    return {};
  }
  std::vector<TarnBrowsedService> services;
  for (const QByteArray& line : browser.readAllStandardOutput().split('\n')) {
    // =;interface;protocol;name;type;domain;host;address;port;txt
    const QList<QByteArray> fields = line.split(';');
    if (fields.size() < 10 || fields[0] != "=")
      continue;
    TarnBrowsedService service;
    service.name = unescapeLabel(fields[3]);
    service.port = quint16(fields[8].toUInt());
    qsizetype txtStart = 0;
    for (int separator = 0; separator < 9; ++separator)
      txtStart = line.indexOf(';', txtStart) + 1;
    service.txt = parseTxt(line.mid(txtStart));
    services.push_back(std::move(service));
  }
  return services;
}

std::optional<TarnBrowsedService> TarnIsolatedAvahi::waitForService(const QString& name,
                                                                    std::chrono::milliseconds limit) const {
  const QDeadlineTimer deadline(limit);
  do {
    for (const TarnBrowsedService& service : browse()) {
      if (service.name == name)
        return service;
    }
    QThread::msleep(100);
  } while (!deadline.hasExpired());
  return std::nullopt;
}

bool TarnIsolatedAvahi::waitForServiceGone(const QString& name, std::chrono::milliseconds limit) const {
  const QDeadlineTimer deadline(limit);
  do {
    const std::vector<TarnBrowsedService> services = browse();
    if (std::none_of(services.begin(), services.end(), [&](const auto& service) { return service.name == name; }))
      return true;
    QThread::msleep(100);
  } while (!deadline.hasExpired());
  return false;
}
