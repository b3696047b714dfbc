#include "platform/autostart/TarnAutostartEntry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class TarnAutostartEntryTest : public ::testing::Test {
protected:
  QString folder() const { return home.filePath(QStringLiteral("config/autostart")); }
  QString path() const { return folder() + QStringLiteral("/tarnhold.desktop"); }
  QTemporaryDir home;
  TarnAutostartEntry entry{folder(), QStringLiteral("tarnhold.desktop"),
                           {QStringLiteral("/opt/tarn hold/tarnhold"), QStringLiteral("--quiet")}};
};

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}
}  // namespace

TEST_F(TarnAutostartEntryTest, InstallsReadsBackAndRemoves) {
  EXPECT_FALSE(entry.isInstalled());
  EXPECT_TRUE(entry.remove());  // nothing to remove is not a failure

  ASSERT_TRUE(entry.install());  // creates the folder
  EXPECT_TRUE(entry.isInstalled());
  QFile file(path());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray text = file.readAll();
  EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
  EXPECT_TRUE(text.contains("\nExec=\"/opt/tarn hold/tarnhold\" \"--quiet\"\n"));
  EXPECT_TRUE(text.contains("\nType=Application\n"));

  ASSERT_TRUE(entry.install());  // again: replaced, still one entry
  EXPECT_TRUE(entry.remove());
  EXPECT_FALSE(entry.isInstalled());
}

TEST_F(TarnAutostartEntryTest, AHiddenEntryCountsAsOff) {
  ASSERT_TRUE(entry.install());
  writeFile(path(), "[Desktop Entry]\nType=Application\nHidden=true\n");
  EXPECT_FALSE(entry.isInstalled());
}

TEST_F(TarnAutostartEntryTest, AFolderThatCannotBeMadeFailsTheInstall) {
  writeFile(home.filePath(QStringLiteral("config")), "a file where the folder should be");
  EXPECT_FALSE(entry.install());
  EXPECT_FALSE(entry.isInstalled());
}

TEST(TarnAutostartEntryExec, QuotesReservedCharacters) {
  const std::pair<QString, QString> cases[] = {
      {QStringLiteral("/usr/bin/tarnhold"), QStringLiteral("\"/usr/bin/tarnhold\"")},
      {QStringLiteral("/a b/c"), QStringLiteral("\"/a b/c\"")},
      {QStringLiteral("say \"hi\""), QStringLiteral("\"say \\\\\"hi\\\\\"\"")},
      {QStringLiteral("$HOME`x`\\"), QStringLiteral("\"\\\\$HOME\\\\`x\\\\`\\\\\\\\\"")},
      {QStringLiteral("100%"), QStringLiteral("\"100%%\"")},
  };
  for (const auto& [argument, expected] : cases)
    EXPECT_EQ(TarnAutostartEntry::execLine({argument}), expected) << argument.toStdString();
}
