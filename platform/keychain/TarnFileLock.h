#pragma once

#include <QString>

// An exclusive lock on a lock file, held for the object's life, so that
// processes sharing a file never interleave their read-modify-write.
class TarnFileLock {
public:
  // Waits for the lock; the file is made (mode 0600) when missing.
  explicit TarnFileLock(const QString& path);
  ~TarnFileLock();
  TarnFileLock(const TarnFileLock&) = delete;
  TarnFileLock& operator=(const TarnFileLock&) = delete;

  bool held() const { return fd_ >= 0; }

private:
  int fd_;
};
