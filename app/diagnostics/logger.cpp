#include "diagnostics/logger.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <mutex>
#include <optional>

#include "diagnostics/log_file.h"
#include "diagnostics/log_format.h"
#include "ports/bundle.h"
#include "ports/clock.h"
#include "ports/platform.h"
#include "ports/system_log.h"

namespace ornav {
namespace {

constexpr const char* kTemporaryLogPath = "/tmp/ornav_ime.log";
// tailLines reads no more than this from the end of the log: the log is never pruned, and the
// crash path must not pull a file of many megabytes into memory.
constexpr off_t kTailReadLimit = 1024 * 1024;

struct Paths {
  std::mutex mutex;
  std::optional<std::string> temporaryOverride;
  std::optional<std::string> stable;  // computed once, or set by a test
};

Paths& paths() {
  static Paths instance;
  return instance;
}

std::chrono::system_clock::time_point now() {
  if (const Clock* clock = platform().clock) return clock->now();
  return std::chrono::system_clock::now();
}

// Reads at most the last kTailReadLimit bytes; when it starts inside the file, the partial first
// line is dropped.
std::optional<std::string> readTail(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> result;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const off_t start = info.st_size > kTailReadLimit ? info.st_size - kTailReadLimit : 0;
    std::string bytes(static_cast<std::size_t>(info.st_size - start), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n =
          ::pread(fd, bytes.data() + got, bytes.size() - got, start + static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    if (start > 0) {
      const std::size_t firstBreak = bytes.find('\n');
      bytes.erase(0, firstBreak == std::string::npos ? bytes.size() : firstBreak + 1);
    }
    result = std::move(bytes);
  }
  ::close(fd);
  return result;
}

}  // namespace

std::string Logger::path() {
  Paths& p = paths();
  std::lock_guard lock(p.mutex);
  return p.temporaryOverride.value_or(kTemporaryLogPath);
}

std::string Logger::stablePath() {
  Paths& p = paths();
  std::lock_guard lock(p.mutex);
  if (p.stable) return *p.stable;
  const Folders* folders = platform().folders;
  if (folders == nullptr) return {};
  const std::filesystem::path logs = folders->applicationSupport() / "Ornavel" / "logs";
  std::error_code ignored;
  std::filesystem::create_directories(logs, ignored);
  p.stable = (logs / "ornav_ime.log").string();
  return *p.stable;
}

void Logger::write(std::string_view message) {
  const std::string line = log_format::line(message, now());
  if (SystemLog* log = platform().systemLog) {
    std::string entry = "[Ornavel] ";
    entry.append(message);
    log->write(entry);
  }
  log_file::append(path(), line, log_file::Location::sharedTemporary);
  log_file::append(stablePath(), line, log_file::Location::privateFolder);
}

std::vector<std::string> Logger::tailLines(int limit) {
  if (limit < 1) return {};
  const auto text = readTail(stablePath());
  if (!text) return {};
  auto lines = log_format::lastNonEmptyLines(*text, static_cast<std::size_t>(limit));
  return lines ? std::move(*lines) : std::vector<std::string>();
}

void Logger::configureForTesting(std::string path, std::string stablePath) {
  Paths& p = paths();
  std::lock_guard lock(p.mutex);
  p.temporaryOverride = std::move(path);
  p.stable = std::move(stablePath);
}

void Logger::resetForTesting() {
  Paths& p = paths();
  std::lock_guard lock(p.mutex);
  p.temporaryOverride.reset();
  p.stable.reset();
}

}  // namespace ornav
