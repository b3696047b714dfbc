#pragma once
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

// A throw-away home folder with a folder beside it that counts as "outside".
class TarnFileTestHome {
public:
  TarnFileTestHome() {
    ::mkdir(home().c_str(), 0700);
    ::mkdir(outside().c_str(), 0700);
  }

  std::string home() const { return root_.filePath(QStringLiteral("home")).toStdString(); }
  std::string outside() const { return root_.filePath(QStringLiteral("outside")).toStdString(); }
  std::string inHome(const std::string& relative) const { return home() + "/" + relative; }

  void makeFolder(const std::string& relative) const { ::mkdir(inHome(relative).c_str(), 0700); }

  static void writeFile(const std::string& path, const std::string& contents) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor >= 0) {
      (void)!::write(descriptor, contents.data(), contents.size());
      ::close(descriptor);
    }
  }
  // A sparse file: the size is real, the disk blocks are not.
  static void makeFileOfSize(const std::string& path, off_t size) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor >= 0) {
      (void)!::ftruncate(descriptor, size);
      ::close(descriptor);
    }
  }
  static void link(const std::string& target, const std::string& linkPath) { (void)!::symlink(target.c_str(), linkPath.c_str()); }

private:
  QTemporaryDir root_;
};
