#include "diagnostics/crash_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace ornav::crash_signal {
namespace {

// Written once before the handlers are installed, only read afterwards.
char markerPath[4096];

// Room for the handler when the fault was a stack overflow on the main thread.
constexpr std::size_t kAlternateStackSize = 64 * 1024;
alignas(16) char alternateStack[kAlternateStackSize];

constexpr int kFatalSignals[] = {SIGILL, SIGSEGV, SIGBUS, SIGABRT, SIGFPE};

extern "C" void onFatalSignal(int signal) {
  writeSignalMarker(signal);
  // SA_RESETHAND already restored the default action; the signal stays blocked until the handler
  // returns and then ends the process (a faulting instruction simply faults again).
  raise(signal);
}

}  // namespace

bool prepareMarkerPath(const char* path) {
  const std::size_t length = std::strlen(path);
  if (length == 0 || length >= sizeof markerPath) {
    markerPath[0] = '\0';
    return false;
  }
  std::memcpy(markerPath, path, length + 1);
  return true;
}

void installHandlers() {
  stack_t stack{};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  stack.ss_flags = 0;
  sigaltstack(&stack, nullptr);

  struct sigaction action {};
  action.sa_handler = onFatalSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_ONSTACK;
  for (const int signal : kFatalSignals)
    sigaction(signal, &action, nullptr);
}

void writeSignalMarker(int signal) {
  if (markerPath[0] == '\0') return;
  const int fd = open(markerPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return;
  // Decimal digits of the signal number and LF, formed in a fixed buffer.
  char digits[16];
  char text[16];
  int count = 0;
  bool negative = signal < 0;
  unsigned value = negative ? 0u - static_cast<unsigned>(signal) : static_cast<unsigned>(signal);
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && count < 12);
  int length = 0;
  if (negative) text[length++] = '-';
  while (count > 0)
    text[length++] = digits[--count];
  text[length++] = '\n';
  const ssize_t ignored = write(fd, text, static_cast<std::size_t>(length));
  (void)ignored;
  close(fd);
}

}  // namespace ornav::crash_signal
