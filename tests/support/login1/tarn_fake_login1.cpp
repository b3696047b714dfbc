// Stand-in for org.freedesktop.login1 on the bus whose address is argv[1]. Prints "READY",
// then one line per call ("Suspend interactive=0", "LockSession session=c2", "Inhibit
// what=... id=1", ...) and "RELEASED id=N" when the holder of an inhibitor closes it.
// With "--refuse" as argv[2] every call answers with an access-denied error.
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {
bool refuseAll = false;
long nextInhibitorID = 1;

void record(const char* format, const char* member, const char* argument) {
  std::printf(format, member, argument);
  std::printf("\n");
  std::fflush(stdout);
}

int refuse(sd_bus_error* error) {
  return sd_bus_error_set(error, SD_BUS_ERROR_ACCESS_DENIED, "refused by the test");
}

int onReleased(sd_event_source* source, int fd, uint32_t, void* data) {
  std::printf("RELEASED id=%ld\n", long(intptr_t(data)));
  std::fflush(stdout);
  sd_event_source_unref(source);
  close(fd);
  return 0;
}

int inhibit(sd_bus_message* message, void* data, sd_bus_error* error) {
  const char *what, *who, *why, *mode;
  int result = sd_bus_message_read(message, "ssss", &what, &who, &why, &mode);
  if (result < 0) return result;
  if (refuseAll) return refuse(error);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) < 0) return -errno;
  long id = nextInhibitorID++;
  std::printf("Inhibit what=%s who=%s why=%s mode=%s id=%ld\n", what, who, why, mode, id);
  std::fflush(stdout);
  sd_event_add_io(static_cast<sd_event*>(data), nullptr, ends[0], EPOLLHUP, onReleased,
                  reinterpret_cast<void*>(intptr_t(id)));
  result = sd_bus_reply_method_return(message, "h", ends[1]);  // the reply holds its own copy
  close(ends[1]);
  return result;
}

int withInteractive(sd_bus_message* message, void*, sd_bus_error* error) {
  int interactive = 0;
  int result = sd_bus_message_read(message, "b", &interactive);
  if (result < 0) return result;
  if (refuseAll) return refuse(error);
  record("%s interactive=%s", sd_bus_message_get_member(message), interactive ? "1" : "0");
  return sd_bus_reply_method_return(message, "");
}

int withSession(sd_bus_message* message, void*, sd_bus_error* error) {
  const char* session = "";
  int result = sd_bus_message_read(message, "s", &session);
  if (result < 0) return result;
  if (refuseAll) return refuse(error);
  record("%s session=%s", sd_bus_message_get_member(message), session);
  return sd_bus_reply_method_return(message, "");
}

const sd_bus_vtable managerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Inhibit", "ssss", "h", inhibit, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Suspend", "b", "", withInteractive, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Reboot", "b", "", withInteractive, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("PowerOff", "b", "", withInteractive, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("LockSession", "s", "", withSession, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("TerminateSession", "s", "", withSession, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END};
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarn_fake_login1 BUS-ADDRESS [--refuse]\n");
    return 2;
  }
  refuseAll = argc > 2 && std::strcmp(argv[2], "--refuse") == 0;
  sd_event* loop = nullptr;
  sd_event_default(&loop);
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  sd_event_add_signal(loop, nullptr, SIGTERM, nullptr, nullptr);
  sd_event_add_signal(loop, nullptr, SIGINT, nullptr, nullptr);

  sd_bus* bus = nullptr;
  if (sd_bus_new(&bus) < 0 || sd_bus_set_address(bus, argv[1]) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
      sd_bus_negotiate_fds(bus, 1) < 0 || sd_bus_start(bus) < 0) {
    std::fprintf(stderr, "cannot connect to %s\n", argv[1]);
    return 1;
  }
  if (sd_bus_add_object_vtable(bus, nullptr, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                               managerTable, loop) < 0 ||
      sd_bus_request_name(bus, "org.freedesktop.login1", 0) < 0) {
    std::fprintf(stderr, "cannot serve org.freedesktop.login1\n");
    return 1;
  }
  sd_bus_attach_event(bus, loop, 0);
  std::printf("READY\n");
  std::fflush(stdout);
  sd_event_loop(loop);
  sd_bus_flush_close_unref(bus);
  sd_event_unref(loop);
  return 0;
}
