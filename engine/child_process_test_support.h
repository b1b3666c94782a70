// Test helpers for what a test must not do in its own process: lower resource limits or give up
// root rights. The tests run as root in CI, and root ignores file and folder permissions.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace ornav::testing {

// Runs `body` in a child process and returns its exit status (or -1 when it did not exit
// normally).
inline int in_child(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The user and group "nobody", which drop_root_rights() becomes.
inline constexpr uid_t kNobody = 65534;

// In a child: gives up root rights so that permissions apply; true when the process then is not
// root.
inline bool drop_root_rights() {
  if (::geteuid() != 0) return true;
  return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

}  // namespace ornav::testing
