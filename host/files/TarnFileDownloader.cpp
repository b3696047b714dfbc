#include "host/files/TarnFileDownloader.h"

#include "model/TarnBase64.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {
TarnWireFileDownloadResponse refused(std::string path, std::string fileName, std::string message) {
  TarnWireFileDownloadResponse response;
  response.path = std::move(path);
  response.fileName = std::move(fileName);
  response.message = std::move(message);
  return response;
}

// Reads until end of file or until `limit` bytes are in; answers 0 or the errno of a failed read.
int readAtMost(int descriptor, std::size_t limit, std::string& bytes) {
  while (bytes.size() < limit) {
    const std::size_t start = bytes.size();
    const std::size_t chunk = std::min<std::size_t>(limit - start, 1 << 20);
    bytes.resize(start + chunk);
    const ssize_t count = ::read(descriptor, bytes.data() + start, chunk);
    if (count < 0) {
      const int error = errno;
      bytes.resize(start);
      if (error == EINTR) {
        continue;
      }
      return error;
    }
    bytes.resize(start + static_cast<std::size_t>(count));
    if (count == 0) {
      break;
    }
  }
  return 0;
}
} // namespace

TarnFileDownloader::TarnFileDownloader(const TarnHomeFolder& home, std::int64_t byteLimit)
    : home_(home), confinement_(home.path()), byteLimit_(byteLimit) {}

TarnWireFileDownloadResponse TarnFileDownloader::download(const std::string& pathText) const {
  const std::string path = home_.resolvedPath(pathText);
  if (!home_.isInsideHome(path)) {
    return refused(pathText, "File", outsideHomeMessage);
  }
  const std::string name = TarnHomeFolder::lastComponent(path);
  // Non-blocking, so a FIFO or device opens at once instead of waiting for a writer.
  TarnConfinedFile file = confinement_.open(path, O_RDONLY | O_NONBLOCK);
  switch (file.failure) {
  case TarnConfinementFailure::none:
    break;
  case TarnConfinementFailure::outsideHome:
    return refused(pathText, "File", outsideHomeMessage);
  case TarnConfinementFailure::unresolvable:
    return refused(path, name, folderMessage);
  case TarnConfinementFailure::openFailed:
    return refused(path, name, std::generic_category().message(file.errorNumber));
  }

  struct stat status {};
  if (::fstat(file.descriptor.get(), &status) != 0 || S_ISDIR(status.st_mode)) {
    return refused(path, name, folderMessage);
  }
  if (!S_ISREG(status.st_mode)) {
    return refused(path, name, notRegularFileMessage);
  }
  if (status.st_size > byteLimit_) {
    return refused(path, name, tooLargeMessage);
  }
  // One byte past the limit tells a file that grew since fstat from one that fits.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(status.st_size) + 1);
  if (const int error = readAtMost(file.descriptor.get(), static_cast<std::size_t>(byteLimit_) + 1, bytes)) {
    return refused(path, name, std::generic_category().message(error));
  }
  if (static_cast<std::int64_t>(bytes.size()) > byteLimit_) {
    return refused(path, name, tooLargeMessage);
  }
  TarnWireFileDownloadResponse response;
  response.accepted = true;
  response.path = path;
  response.fileName = name;
  response.byteCount = static_cast<std::int64_t>(bytes.size());
  response.base64Data = TarnBase64::encode(bytes);
  response.message = "Downloaded " + name + ".";
  return response;
}
