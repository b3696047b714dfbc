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

struct RealPaths {
  std::string home;
  TarnConfinedPath item;
};

RealPaths resolveBoth(const std::string& homePath, const std::string& path) {
  const auto realHome = canonicalPath(homePath);
  if (!realHome) {
    return {{}, {{}, TarnConfinementFailure::unresolvable, errno}};
  }
  const auto real = canonicalPath(path);
  if (!real) {
    return {realHome.get(), {{}, TarnConfinementFailure::unresolvable, errno}};
  }
  if (!TarnHomeFolder(realHome.get()).isInsideHome(real.get())) {
    return {realHome.get(), {{}, TarnConfinementFailure::outsideHome, 0}};
  }
  return {realHome.get(), {real.get(), TarnConfinementFailure::none, 0}};
}
} // namespace

TarnHomeConfinement::TarnHomeConfinement(std::string homePath) : homePath_(std::move(homePath)) {}

TarnConfinedPath TarnHomeConfinement::realPath(const std::string& path) const {
  return resolveBoth(homePath_, path).item;
}

TarnConfinedFile TarnHomeConfinement::open(const std::string& path, int flags) const {
  const RealPaths real = resolveBoth(homePath_, path);
  if (real.item.failure != TarnConfinementFailure::none) {
    return {TarnFileDescriptor(), real.item.failure, real.item.errorNumber};
  }
  const TarnFileDescriptor homeDescriptor(::open(real.home.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!homeDescriptor.isOpen()) {
    return {TarnFileDescriptor(), TarnConfinementFailure::openFailed, errno};
  }
  const std::size_t prefixLength = real.home == "/" ? 1 : real.home.size() + 1;
  const std::string relative = real.item.realPath == real.home ? "." : real.item.realPath.substr(prefixLength);

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
    // EXDEV: a component was swapped for a link leading out of home after the check.
    const auto failure = errno == EXDEV ? TarnConfinementFailure::outsideHome : TarnConfinementFailure::openFailed;
    return {TarnFileDescriptor(), failure, errno};
  }
  return {TarnFileDescriptor(static_cast<int>(descriptor)), TarnConfinementFailure::none, 0};
}
