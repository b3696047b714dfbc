#include "platform/keychain/TarnFileSecretStore.h"
#include "platform/keychain/TarnKeychain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

mode_t permissionsOf(const QString& path) {
  struct stat info {};
  EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
  return info.st_mode & 07777;
}

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Caps the size of files this process may write, so a write fails even for
// root, to whom permission bits mean nothing.
class FileSizeCap {
public:
  explicit FileSizeCap(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit capped{bytes, saved_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~FileSizeCap() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

class TarnFileSecretStoreTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(root_.isValid()); }

  QString folder() const { return root_.filePath(QStringLiteral("share/tarnhold")); }
  QStringList filesInFolder() const { return QDir(folder()).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir root_;
};

TEST_F(TarnFileSecretStoreTest, FolderAndFileArePrivate) {
  TarnFileSecretStore store(folder());
  ASSERT_TRUE(store.write(QStringLiteral("account"), "secret"));
  EXPECT_EQ(permissionsOf(folder()), 0700u);
  EXPECT_EQ(permissionsOf(store.filePath()), 0600u);
}

TEST_F(TarnFileSecretStoreTest, OpenFolderIsClosedBeforeTheFirstWrite) {
  ASSERT_TRUE(QDir().mkpath(folder()));
  ASSERT_EQ(::chmod(QFile::encodeName(folder()).constData(), 0755), 0);
  TarnFileSecretStore store(folder());
  ASSERT_TRUE(store.write(QStringLiteral("account"), "secret"));
  EXPECT_EQ(permissionsOf(folder()), 0700u);
}

TEST_F(TarnFileSecretStoreTest, FailedWriteKeepsTheOldSecretAndLeavesNoTemporaryFile) {
  TarnFileSecretStore store(folder());
  TarnKeychain keychain(std::make_shared<TarnFileSecretStore>(folder()));
  ASSERT_TRUE(keychain.set(QStringLiteral("old token"), QStringLiteral("account")));
  const QByteArray before = contentsOf(store.filePath());
  {
    const FileSizeCap cap(16);
    EXPECT_FALSE(keychain.set(QString(4096, QLatin1Char('x')), QStringLiteral("account")));
    EXPECT_FALSE(keychain.set(QStringLiteral("second"), QStringLiteral("other")));
  }
  EXPECT_EQ(keychain.get(QStringLiteral("account")), QStringLiteral("old token"));
  EXPECT_EQ(keychain.get(QStringLiteral("other")), std::nullopt);
  EXPECT_EQ(contentsOf(store.filePath()), before);
  EXPECT_EQ(filesInFolder(), (QStringList{QStringLiteral("secrets.json"), QStringLiteral("secrets.lock")}));
}

TEST_F(TarnFileSecretStoreTest, UnreadableFileIsKeptAndNotOverwritten) {
  TarnFileSecretStore store(folder());
  ASSERT_TRUE(store.write(QStringLiteral("account"), "secret"));
  QFile file(store.filePath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("{\"account\": \"c2Vj");
  file.close();

  EXPECT_EQ(store.read(QStringLiteral("account")), std::nullopt);
  EXPECT_FALSE(store.write(QStringLiteral("other"), "value"));
  EXPECT_FALSE(store.erase(QStringLiteral("account")));
  EXPECT_EQ(contentsOf(store.filePath()), QByteArray("{\"account\": \"c2Vj"));
}

TEST_F(TarnFileSecretStoreTest, FolderThatIsAFileFailsEveryWrite) {
  ASSERT_TRUE(QDir().mkpath(root_.filePath(QStringLiteral("share"))));
  QFile blocker(folder());
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  TarnFileSecretStore store(folder());
  EXPECT_FALSE(store.write(QStringLiteral("account"), "secret"));
  EXPECT_EQ(store.read(QStringLiteral("account")), std::nullopt);
}

TEST(TarnFileSecretStoreDefaultFolder, FollowsXdgDataHome) {
  QTemporaryDir dataHome;
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
  EXPECT_EQ(TarnFileSecretStore::defaultFolder(), dataHome.path() + QStringLiteral("/tarnhold"));
  if (saved.isEmpty())
    qunsetenv("XDG_DATA_HOME");
  else
    qputenv("XDG_DATA_HOME", saved);
}

} // namespace
