// tarn_isolated_exec PROGRAM [ARGS...]
// Runs PROGRAM in a network namespace of its own whose only interface is an
// up loopback, and a mount namespace with an empty private /run. Multicast
// sent there never reaches a real network, and daemons with fixed paths in
// /run (avahi-daemon) never meet the machine's own. Needs root.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int fail(const char* what) {
  std::fprintf(stderr, "tarn_isolated_exec: %s: %s\n", what, std::strerror(errno));
  return 127;
}

bool raiseLoopback() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return false;
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  bool raised = ioctl(fd, SIOCGIFFLAGS, &request) == 0;
  // Loopback lacks the multicast flag by default; mDNS needs it.
  request.ifr_flags |= IFF_UP | IFF_MULTICAST;
  raised = raised && ioctl(fd, SIOCSIFFLAGS, &request) == 0;
  close(fd);
  return raised;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarn_isolated_exec PROGRAM [ARGS...]\n");
    return 64;
  }
  if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0)
    return fail("unshare");
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return fail("private mounts");
  if (mount("tmpfs", "/run", "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755") != 0)
    return fail("mount /run");
  if (mkdir("/run/avahi-daemon", 0755) != 0)
    return fail("mkdir /run/avahi-daemon");
  if (!raiseLoopback())
    return fail("loopback up");
  execvp(argv[1], argv + 1);
  return fail(argv[1]);
}
