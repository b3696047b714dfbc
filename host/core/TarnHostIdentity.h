#pragma once

#include "model/TarnModels.h"

#include <QString>

#include <utility>
#include <vector>

class QSettings;

enum class TarnPairVerdict { refused, accepted };

// Who the host says it is: in the greeting, in every pairing result and in its advertisement.
struct TarnHostIdentity {
  TarnUUID hostID;
  QString hostName;
  QString displayName;
  QString hostModel;

  // The identifier kept under "TarnholdStableHostID", made and stored on first use.
  static TarnUUID stableHostID(QSettings& defaults);
  // "MacBook" on a machine with an internal battery, else "Mac Desktop".
  static QString modelForThisMachine(const QString& powerSupplyRoot = QStringLiteral("/sys/class/power_supply"));
  static bool hasInternalBattery(const QString& powerSupplyRoot);

  TarnWireHello hello() const;
  TarnWirePairResult pairResult(TarnPairVerdict verdict, const QString& message) const;
  TarnLocalNetwork::TXTRecord txtRecord() const;
};
