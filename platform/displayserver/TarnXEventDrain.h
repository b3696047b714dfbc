#pragma once

typedef struct _XDisplay Display;

// Reads and drops the events queued on a connection that never asks for any. Every
// client still gets MappingNotify (keyboard mapping changes, including our own), and
// Xlib queues them on each round trip; left unread they pile up for the life of the
// connection. Keymap changes are applied to Xlib's cached keymap on the way.
void tarnDrainXEvents(Display* display);
