#include "host/core/TarnHostIdentity.h"
#include "host/core/TarnPairingCode.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

TEST(TarnPairingCode, KeepsOnlyNumericCharacters) {
  const std::vector<std::pair<QString, QString>> cases = {
      {QStringLiteral("123 456"), QStringLiteral("123456")},
      {QStringLiteral("1-2-3 4_5.6"), QStringLiteral("123456")},
      {QStringLiteral("abc"), QString()},
      {QString(), QString()},
      // Other numeric characters count too: Arabic-Indic digits and a vulgar fraction.
      {QStringLiteral("\u0661\u0662 \u00BD"), QStringLiteral("\u0661\u0662\u00BD")},
  };
  for (const auto& [typed, digits] : cases) EXPECT_EQ(normalizedPairingCode(typed), digits) << typed.toStdString();
}

TEST(TarnPairingCode, RecognisesWatchModelsInAnyCase) {
  EXPECT_TRUE(isWatchModel(QStringLiteral("Apple Watch")));
  EXPECT_TRUE(isWatchModel(QStringLiteral("SMARTWATCH")));
  EXPECT_FALSE(isWatchModel(QStringLiteral("iPhone")));
}

TEST(TarnHostIdentity, KeepsOneStableHostIdentifier) {
  QTemporaryDir folder;
  QSettings defaults(folder.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
  defaults.setValue(QStringLiteral("TarnholdStableHostID"), QStringLiteral("not an identifier"));
  const TarnUUID first = TarnHostIdentity::stableHostID(defaults);
  EXPECT_EQ(defaults.value(QStringLiteral("TarnholdStableHostID")).toString().toStdString(), first.uuidString());
  EXPECT_EQ(TarnHostIdentity::stableHostID(defaults), first);
}

// A power-supply folder as the kernel shows it.
class TarnPowerSupplies : public testing::Test {
protected:
  void addSupply(const QString& name, const QString& type, const QString& scope = {}) {
    QDir(root.path()).mkpath(name);
    writeAttribute(name, QStringLiteral("type"), type);
    if (!scope.isEmpty()) writeAttribute(name, QStringLiteral("scope"), scope);
  }
  bool hasBattery() const { return TarnHostIdentity::hasInternalBattery(root.path()); }

  QTemporaryDir root;

private:
  void writeAttribute(const QString& supply, const QString& attribute, const QString& value) {
    QFile file(root.filePath(supply + QLatin1Char('/') + attribute));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(value.toUtf8() + "\n");
  }
};

TEST_F(TarnPowerSupplies, AMainsAdapterOrAMouseBatteryIsNoInternalBattery) {
  EXPECT_FALSE(hasBattery());
  addSupply(QStringLiteral("AC"), QStringLiteral("Mains"));
  addSupply(QStringLiteral("hidpp_battery_0"), QStringLiteral("Battery"), QStringLiteral("Device"));
  EXPECT_FALSE(hasBattery());
  addSupply(QStringLiteral("BAT0"), QStringLiteral("Battery"));
  EXPECT_TRUE(hasBattery());
}

TEST(TarnHostIdentity, AMissingPowerSupplyFolderMeansADesktop) {
  EXPECT_EQ(TarnHostIdentity::modelForThisMachine(QStringLiteral("/nonexistent/power_supply")),
            QStringLiteral("Mac Desktop"));
}

}  // namespace
