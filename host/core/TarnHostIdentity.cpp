#include "host/core/TarnHostIdentity.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace {
const QString stableHostIDKey = QStringLiteral("TarnholdStableHostID");

QString readAttribute(const QString& folder, const char* name) {
  QFile file(folder + QLatin1Char('/') + QLatin1String(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).trimmed();
}
}  // namespace

TarnUUID TarnHostIdentity::stableHostID(QSettings& defaults) {
  const QString stored = defaults.value(stableHostIDKey).toString();
  if (auto parsed = TarnUUID::parse(stored.toStdString())) return *parsed;
  const TarnUUID fresh = TarnUUID::random();
  defaults.setValue(stableHostIDKey, QString::fromStdString(fresh.uuidString()));
  defaults.sync();
  return fresh;
}

bool TarnHostIdentity::hasInternalBattery(const QString& powerSupplyRoot) {
  const QDir root(powerSupplyRoot);
  for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QString folder = root.filePath(name);
    // Batteries of mice and keyboards report the scope "Device"; the machine's own do not.
    if (readAttribute(folder, "type") == QLatin1String("Battery") &&
        readAttribute(folder, "scope") != QLatin1String("Device")) {
      return true;
    }
  }
  return false;
}

QString TarnHostIdentity::modelForThisMachine(const QString& powerSupplyRoot) {
  return hasInternalBattery(powerSupplyRoot) ? QStringLiteral("MacBook") : QStringLiteral("Mac Desktop");
}

TarnWireHello TarnHostIdentity::hello() const {
  TarnWireHello hello;
  hello.hostID = hostID;
  hello.hostName = hostName.toStdString();
  hello.displayName = displayName.toStdString();
  hello.protocolVersion = TarnLocalNetwork::protocolVersion;
  hello.hostModel = hostModel.toStdString();
  return hello;
}

TarnWirePairResult TarnHostIdentity::pairResult(TarnPairVerdict verdict, const QString& message) const {
  TarnWirePairResult result;
  result.accepted = verdict == TarnPairVerdict::accepted;
  result.message = message.toStdString();
  result.hostID = hostID;
  result.hostName = hostName.toStdString();
  result.displayName = displayName.toStdString();
  result.hostModel = hostModel.toStdString();
  result.latencyMilliseconds = 0;
  return result;
}

TarnLocalNetwork::TXTRecord TarnHostIdentity::txtRecord() const {
  return TarnLocalNetwork::hostTXTRecord(hostID, hostName.toStdString(), displayName.toStdString(),
                                         hostModel.toStdString());
}
