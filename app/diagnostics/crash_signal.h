// The fatal-signal path. Everything the handler needs is prepared before any signal can arrive:
// the marker path sits in a fixed static buffer, and the handler itself only calls open, write,
// close and raise (all async-signal-safe). It never allocates, locks or logs.
#pragma once

namespace ornav::crash_signal {

// Copies `markerPath` into the handler's static buffer. False (and the marker disabled) when the
// path does not fit. Call before installHandlers, on one thread.
bool prepareMarkerPath(const char* markerPath);

// Installs one handler for SIGILL, SIGSEGV, SIGBUS, SIGABRT and SIGFPE (in that order), running on
// an alternate stack so that a stack overflow is recorded too. The kernel restores each signal's
// default action on entry; the handler writes the marker and raises the signal again, so the
// process ends exactly as it would have without the handler.
void installHandlers();

// Writes "<signal>\n" to the prepared marker path, replacing it, mode 0600. Async-signal-safe.
void writeSignalMarker(int signal);

}  // namespace ornav::crash_signal
