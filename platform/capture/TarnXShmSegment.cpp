#include "platform/capture/TarnXShmSegment.h"

#include <X11/Xlib-xcb.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <cstdlib>

void TarnXShmSegment::release() {
  if (memory_) {
    xcb_connection_t* connection = XGetXCBConnection(display_);
    xcb_shm_detach(connection, segment_);
    xcb_flush(connection);
    shmdt(memory_);
  }
  memory_ = nullptr;
  capacity_ = 0;
  segment_ = 0;
}

bool TarnXShmSegment::reserve(size_t bytes, std::string& error) {
  if (memory_ && capacity_ >= bytes) return true;
  release();
  xcb_connection_t* connection = XGetXCBConnection(display_);
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  if (!extension || !extension->present) {
    error = "The X server offers no MIT-SHM extension.";
    return false;
  }
  int systemID = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (systemID < 0) {
    error = "No shared memory segment could be made for screen capture.";
    return false;
  }
  void* address = shmat(systemID, nullptr, 0);
  // Marked for removal at once: the kernel frees it when both sides have detached,
  // even if this process dies.
  shmctl(systemID, IPC_RMID, nullptr);
  if (address == reinterpret_cast<void*>(-1)) {
    error = "No shared memory segment could be made for screen capture.";
    return false;
  }
  // Checked, so a refusal comes back here instead of reaching Xlib's process-wide error handler.
  uint32_t segment = xcb_generate_id(connection);
  xcb_generic_error_t* attachError =
      xcb_request_check(connection, xcb_shm_attach_checked(connection, segment, uint32_t(systemID), 0));
  if (attachError) {
    std::free(attachError);
    shmdt(address);
    error = "The X server refused shared memory (MIT-SHM); it may be a remote display.";
    return false;
  }
  segment_ = segment;
  memory_ = static_cast<uint8_t*>(address);
  capacity_ = bytes;
  return true;
}
