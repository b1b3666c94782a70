#include "diagnostics/logger.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "diagnostics/log_file.h"
#include "diagnostics/log_format.h"
#include "ports/bundle.h"
#include "ports/clock.h"
#include "ports/system_log.h"

namespace ornav {
namespace {

// tailLines reads no more than this from the end of the log: the log is never pruned, and the
// crash path must not pull a file of many megabytes into memory.
constexpr off_t kTailReadLimit = 1024 * 1024;

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

Logger::Logger(Files files, SystemLog* systemLog, const Clock* clock)
    : files_(std::move(files)), systemLog_(systemLog), clock_(clock) {}

void Logger::log(std::string_view message) const {
  const auto now = clock_ != nullptr ? clock_->now() : std::chrono::system_clock::now();
  const std::string line = log_format::line(message, now);
  if (systemLog_ != nullptr) {
    std::string entry = "[Ornavel] ";
    entry.append(message);
    systemLog_->write(entry);
  }
  if (!files_.temporary.empty()) {
    log_file::append(files_.temporary, line, log_file::Location::sharedTemporary);
  }
  if (!files_.stable.empty()) {
    log_file::append(files_.stable, line, log_file::Location::privateFolder);
  }
}

std::vector<std::string> Logger::tail(int limit) const {
  if (limit < 1 || files_.stable.empty()) return {};
  const auto text = readTail(files_.stable);
  if (!text) return {};
  auto lines = log_format::lastNonEmptyLines(*text, static_cast<std::size_t>(limit));
  return lines ? std::move(*lines) : std::vector<std::string>();
}

std::string Logger::stablePathIn(const Folders& folders) {
  if (folders.applicationSupport().empty()) return {};
  const std::filesystem::path logs = folders.applicationSupport() / "Ornavel" / "logs";
  std::error_code ignored;
  std::filesystem::create_directories(logs, ignored);
  return (logs / "ornav_ime.log").string();
}

void Logger::write(std::string_view message) {
  if (const Logger* logger = InstalledLogger::current()) logger->log(message);
}

std::vector<std::string> Logger::tailLines(int limit) {
  const Logger* logger = InstalledLogger::current();
  return logger != nullptr ? logger->tail(limit) : std::vector<std::string>();
}

std::string Logger::path() {
  const Logger* logger = InstalledLogger::current();
  return logger != nullptr ? logger->files().temporary : std::string();
}

std::string Logger::stablePath() {
  const Logger* logger = InstalledLogger::current();
  return logger != nullptr ? logger->files().stable : std::string();
}

}  // namespace ornav
