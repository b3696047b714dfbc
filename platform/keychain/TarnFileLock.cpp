#include "platform/keychain/TarnFileLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TarnFileLock::TarnFileLock(const QString& path)
    : fd_(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
  if (fd_ < 0)
    return;
  int result;
  do
    result = ::flock(fd_, LOCK_EX);
  while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int lockError = errno; // kept for the caller's report
    ::close(fd_);
    fd_ = -1;
    errno = lockError;
  }
}

TarnFileLock::~TarnFileLock() {
  if (fd_ >= 0)
    ::close(fd_);
}
