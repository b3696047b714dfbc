#include "platform/keychain/TarnFileSecretStore.h"

#include "platform/keychain/TarnFileLock.h"
#include "platform/keychain/TarnKeychainLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t privateFolderMode = 0700;

bool writeAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    done += written;
  }
  return true;
}

void syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return;
  ::fsync(fd);
  ::close(fd);
}

} // namespace

TarnFileSecretStore::TarnFileSecretStore(QString folder) : folder_(std::move(folder)) {}

QString TarnFileSecretStore::defaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarnhold");
}

QString TarnFileSecretStore::filePath() const { return folder_ + QStringLiteral("/secrets.json"); }

std::optional<QByteArray> TarnFileSecretStore::read(const QString& account) {
  const std::optional<QJsonObject> secrets = load();
  if (!secrets || !secrets->contains(account))
    return std::nullopt;
  const QJsonValue value = secrets->value(account);
  if (!value.isString())
    return std::nullopt;
  return QByteArray::fromBase64(value.toString().toLatin1());
}

bool TarnFileSecretStore::write(const QString& account, const QByteArray& secret) {
  return change(Change::store, account, secret);
}

bool TarnFileSecretStore::erase(const QString& account) { return change(Change::erase, account, {}); }

bool TarnFileSecretStore::change(Change change, const QString& account, const QByteArray& secret) {
  if (!preparePrivateFolder())
    return false;
  const TarnFileLock lock(folder_ + QStringLiteral("/secrets.lock"));
  if (!lock.held()) {
    qCWarning(tarnKeychainLog) << "cannot lock" << folder_ << std::strerror(errno);
    return false;
  }
  // An unreadable file is kept as it is rather than replaced by one that
  // holds only this change: the other secrets in it may still be recovered.
  std::optional<QJsonObject> secrets = load();
  if (!secrets)
    return false;
  if (change == Change::erase) {
    if (!secrets->contains(account))
      return true;
    secrets->remove(account);
  } else {
    secrets->insert(account, QString::fromLatin1(secret.toBase64()));
  }
  return save(*secrets);
}

std::optional<QJsonObject> TarnFileSecretStore::load() const {
  QFile file(filePath());
  if (!file.open(QIODevice::ReadOnly)) {
    if (!file.exists())
      return QJsonObject();
    qCWarning(tarnKeychainLog) << "cannot read" << filePath() << file.errorString();
    return std::nullopt;
  }
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    qCWarning(tarnKeychainLog) << filePath() << "is not a secrets file:" << error.errorString();
    return std::nullopt;
  }
  return document.object();
}

bool TarnFileSecretStore::save(const QJsonObject& secrets) const {
  QByteArray temporaryPath = QFile::encodeName(filePath() + QStringLiteral(".XXXXXX"));
  // mkstemp creates the file with mode 0600.
  const int fd = ::mkostemp(temporaryPath.data(), O_CLOEXEC);
  if (fd < 0) {
    qCWarning(tarnKeychainLog) << "cannot create a file in" << folder_ << std::strerror(errno);
    return false;
  }
  const QByteArray bytes = QJsonDocument(secrets).toJson(QJsonDocument::Compact);
  bool saved = writeAll(fd, bytes) && ::fsync(fd) == 0;
  int error = saved ? 0 : errno;
  if (::close(fd) != 0 && saved) {
    saved = false;
    error = errno;
  }
  if (saved && ::rename(temporaryPath.constData(), QFile::encodeName(filePath()).constData()) != 0) {
    saved = false;
    error = errno;
  }
  if (!saved) {
    qCWarning(tarnKeychainLog) << "cannot write" << filePath() << std::strerror(error);
    ::unlink(temporaryPath.constData());
    return false;
  }
  syncFolder(folder_);
  return true;
}

bool TarnFileSecretStore::preparePrivateFolder() const {
  const QByteArray path = QFile::encodeName(folder_);
  QDir().mkpath(QFileInfo(folder_).path());
  if (::mkdir(path.constData(), privateFolderMode) != 0 && errno != EEXIST) {
    qCWarning(tarnKeychainLog) << "cannot create" << folder_ << std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    qCWarning(tarnKeychainLog) << folder_ << "is not a folder";
    return false;
  }
  // A folder others can read is closed before any secret goes into it.
  if ((info.st_mode & 077) != 0 && ::chmod(path.constData(), privateFolderMode) != 0) {
    qCWarning(tarnKeychainLog) << "cannot make" << folder_ << "private" << std::strerror(errno);
    return false;
  }
  return true;
}
