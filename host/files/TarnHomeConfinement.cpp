#include "host/files/TarnHomeConfinement.h"
#include "host/files/TarnHomeFolder.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {
std::unique_ptr<char, decltype(&std::free)> canonicalPath(const std::string& path) {
  return {::realpath(path.c_str(), nullptr), &std::free};
}
} // namespace

TarnHomeConfinement::TarnHomeConfinement(std::string homePath) : homePath_(std::move(homePath)) {}

TarnConfinedPath TarnHomeConfinement::realPath(const std::string& path) const {
  const auto realHome = canonicalPath(homePath_);
  if (!realHome) {
    return {{}, TarnConfinementFailure::unresolvable, errno};
  }
  const auto real = canonicalPath(path);
  if (!real) {
    return {{}, TarnConfinementFailure::unresolvable, errno};
  }
  if (!TarnHomeFolder(realHome.get()).isInsideHome(real.get())) {
    return {{}, TarnConfinementFailure::outsideHome, 0};
  }
  return {real.get(), TarnConfinementFailure::none, 0};
}

TarnConfinedFile TarnHomeConfinement::open(const std::string& path, int flags) const {
  const TarnConfinedPath resolved = realPath(path);
  if (resolved.failure != TarnConfinementFailure::none) {
    return {TarnFileDescriptor(), resolved.failure, resolved.errorNumber};
  }
  const auto realHome = canonicalPath(homePath_);
  if (!realHome) {
    return {TarnFileDescriptor(), TarnConfinementFailure::unresolvable, errno};
  }
  const std::string home = realHome.get();
  const TarnFileDescriptor homeDescriptor(::open(home.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!homeDescriptor.isOpen()) {
    return {TarnFileDescriptor(), TarnConfinementFailure::openFailed, errno};
  }
  const std::size_t prefixLength = home == "/" ? 1 : home.size() + 1;
  const std::string relative = resolved.realPath == home ? "." : resolved.realPath.substr(prefixLength);

  open_how how{};
  how.flags = static_cast<std::uint64_t>(flags | O_CLOEXEC | O_NOCTTY);
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  // EAGAIN means a rename raced with the lookup; a few retries, then give up.
  long descriptor = -1;
  for (int attempt = 0; attempt < 8; ++attempt) {
    descriptor = ::syscall(SYS_openat2, homeDescriptor.get(), relative.c_str(), &how, sizeof how);
    if (descriptor >= 0 || (errno != EINTR && errno != EAGAIN)) {
      break;
    }
  }
  if (descriptor < 0) {
    // EXDEV: the path left home while it was being opened.
    const auto failure = errno == EXDEV ? TarnConfinementFailure::outsideHome : TarnConfinementFailure::openFailed;
    return {TarnFileDescriptor(), failure, errno};
  }
  return {TarnFileDescriptor(static_cast<int>(descriptor)), TarnConfinementFailure::none, 0};
}
