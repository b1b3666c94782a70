#include "platform/linux/system_services.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

namespace ornav::linux_platform {

namespace {
std::filesystem::path absoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value && value[0] == '/') return value;
  return {};
}
}  // namespace

std::filesystem::path UserFolders::home() const {
  if (auto home = absoluteEnv("HOME"); !home.empty()) return home;
  // No usable $HOME (a service started without one): ask the user database.
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return "/tmp";
}

std::filesystem::path UserFolders::applicationSupport() const {
  if (auto data = absoluteEnv("XDG_DATA_HOME"); !data.empty()) return data;
  return home() / ".local" / "share";
}

std::filesystem::path UserFolders::caches() const {
  if (auto cache = absoluteEnv("XDG_CACHE_HOME"); !cache.empty()) return cache;
  return home() / ".cache";
}

std::filesystem::path UserFolders::temporary() const {
  if (auto tmp = absoluteEnv("TMPDIR"); !tmp.empty()) return tmp;
  return "/tmp";
}

void StderrSystemLog::write(const std::string& message) {
  std::string line = message + "\n";
  const char* data = line.data();
  std::size_t left = line.size();
  while (left > 0) {
    ssize_t n = ::write(STDERR_FILENO, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;  // nowhere to report a failing log
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
}

std::string ProcessSystemInfo::processName() const {
  std::ifstream comm("/proc/self/comm");
  std::string name;
  if (std::getline(comm, name) && !name.empty()) return name;
  return program_invocation_short_name ? program_invocation_short_name : "";
}

int ProcessSystemInfo::processId() const {
  return static_cast<int>(::getpid());
}

std::string ProcessSystemInfo::osVersion() const {
  utsname info{};
  if (::uname(&info) != 0) return "0.0.0";
  return versionTriple(info.release);
}

std::string versionTriple(const std::string& release) {
  std::string parts[3] = {"0", "0", "0"};
  std::size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    std::size_t end = pos;
    while (end < release.size() && release[end] >= '0' && release[end] <= '9')
      ++end;
    if (end == pos) break;
    parts[i] = release.substr(pos, end - pos);
    if (end >= release.size() || release[end] != '.') break;
    pos = end + 1;
  }
  return parts[0] + "." + parts[1] + "." + parts[2];
}

}  // namespace ornav::linux_platform
