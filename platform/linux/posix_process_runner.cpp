#include "platform/linux/posix_process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace ornav::linux_platform {

namespace {

// Closes what it holds when it goes out of scope.
struct Fd {
  int fd = -1;
  Fd() = default;
  explicit Fd(int value) : fd(value) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { reset(); }
  void reset() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
};

struct Pipe {
  Fd read;
  Fd write;
  bool open() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    read.fd = ends[0];
    write.fd = ends[1];
    return true;
  }
};

std::string launchError(const std::string& path, int error) {
  return "无法启动 " + path + "：" + std::strerror(error);
}

// Writing to a child that already closed its stdin must fail with EPIPE, not kill this process:
// SIGPIPE is blocked for this thread while the pipes are served, and one that became pending is
// consumed before the old mask comes back.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &old_);
  }
  ~SigpipeGuard() {
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGPIPE) && !sigismember(&old_, SIGPIPE)) {
      sigset_t pipeOnly;
      sigemptyset(&pipeOnly);
      sigaddset(&pipeOnly, SIGPIPE);
      timespec zero{0, 0};
      while (sigtimedwait(&pipeOnly, nullptr, &zero) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }

 private:
  sigset_t old_;
};

// Starts `path` with `arguments` and the given file actions (which it consumes). Descriptors this
// process opened without close-on-exec do not leak into the child, and the child starts with
// default signal handling and an empty mask, whatever this thread has. Answers posix_spawn's
// error number (0 when started).
int spawn(const std::string& path, const std::vector<std::string>& arguments,
          posix_spawn_file_actions_t& actions, short extraFlags, pid_t& pid) {
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | extraFlags);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const auto& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int spawned =
      ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return spawned;
}

}  // namespace

ProcessOutcome PosixProcessRunner::run(const ProcessRequest& request) {
  // No search of PATH and no shell: the program is exactly the path given.
  if (request.path.empty() || request.path.find('/') == std::string::npos) {
    return ProcessLaunchError{launchError(request.path, ENOENT)};
  }
  struct stat info {};
  if (::stat(request.path.c_str(), &info) != 0) {
    return ProcessLaunchError{launchError(request.path, errno)};
  }
  if (S_ISDIR(info.st_mode) || ::access(request.path.c_str(), X_OK) != 0) {
    return ProcessLaunchError{launchError(request.path, EACCES)};
  }

  Pipe input, output, error;
  if (!input.open() || !output.open() || !error.open()) {
    return ProcessLaunchError{launchError(request.path, errno)};
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input.read.fd, STDIN_FILENO);
  if (request.captureStandardOutput) {
    posix_spawn_file_actions_adddup2(&actions, output.write.fd, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  if (request.captureStandardError) {
    posix_spawn_file_actions_adddup2(&actions, error.write.fd, STDERR_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = -1;
  const int spawned = spawn(request.path, request.arguments, actions, 0, pid);
  if (spawned != 0) return ProcessLaunchError{launchError(request.path, spawned)};

  // Our copies of the child's ends go, so end-of-file arrives when the child closes its own.
  input.read.reset();
  output.write.reset();
  error.write.reset();
  if (!request.captureStandardOutput) output.read.reset();
  if (!request.captureStandardError) error.read.reset();

  ProcessResult result;
  {
    SigpipeGuard guard;
    const std::string stdinData = request.standardInput.value_or("");
    std::size_t stdinDone = 0;
    if (stdinData.empty()) input.write.reset();
    if (input.write.fd >= 0) ::fcntl(input.write.fd, F_SETFL, O_NONBLOCK);

    std::array<char, 65536> buffer;
    for (;;) {
      std::array<pollfd, 3> fds{};
      nfds_t count = 0;
      int stdinSlot = -1, stdoutSlot = -1, stderrSlot = -1;
      if (input.write.fd >= 0) {
        stdinSlot = static_cast<int>(count);
        fds[count++] = {input.write.fd, POLLOUT, 0};
      }
      if (output.read.fd >= 0) {
        stdoutSlot = static_cast<int>(count);
        fds[count++] = {output.read.fd, POLLIN, 0};
      }
      if (error.read.fd >= 0) {
        stderrSlot = static_cast<int>(count);
        fds[count++] = {error.read.fd, POLLIN, 0};
      }
      if (count == 0) break;
      if (::poll(fds.data(), count, -1) < 0) {
        if (errno == EINTR) continue;
        break;
      }
      if (stdinSlot >= 0 && fds[stdinSlot].revents) {
        ssize_t n =
            ::write(input.write.fd, stdinData.data() + stdinDone, stdinData.size() - stdinDone);
        if (n > 0) stdinDone += static_cast<std::size_t>(n);
        // Done, or the child stopped reading (EPIPE): either way its stdin is closed.
        if (stdinDone == stdinData.size() || (n < 0 && errno != EAGAIN && errno != EINTR)) {
          input.write.reset();
        }
      }
      auto drain = [&buffer](Fd& fd, short revents, std::string& into) {
        if (!revents) return;
        ssize_t n = ::read(fd.fd, buffer.data(), buffer.size());
        if (n > 0) {
          into.append(buffer.data(), static_cast<std::size_t>(n));
        } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
          fd.reset();
        }
      };
      if (stdoutSlot >= 0) drain(output.read, fds[stdoutSlot].revents, result.standardOutput);
      if (stderrSlot >= 0) drain(error.read, fds[stderrSlot].revents, result.standardError);
    }
  }

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      result.exitStatus = -1;
      return result;
    }
  }
  if (WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.terminatingSignal = WTERMSIG(status);
    result.exitStatus = 128 + WTERMSIG(status);
  }
  return result;
}

bool PosixProcessRunner::launch(const std::string& path,
                                const std::vector<std::string>& arguments) {
  if (path.empty() || path.find('/') == std::string::npos || ::access(path.c_str(), X_OK) != 0) {
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    posix_spawn_file_actions_addopen(&actions, stream, "/dev/null", O_RDWR, 0);
  }
  // A session of its own: the program outlives this one and never gets its terminal's signals.
  pid_t pid = -1;
  if (spawn(path, arguments, actions, POSIX_SPAWN_SETSID, pid) != 0) return false;
  // Reaped whenever it ends, so it never lingers as a zombie of this process.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace ornav::linux_platform
