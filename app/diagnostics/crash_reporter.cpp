#include "diagnostics/crash_reporter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "diagnostics/crash_exception.h"
#include "diagnostics/crash_report.h"
#include "diagnostics/crash_signal.h"
#include "diagnostics/logger.h"
#include "ports/bundle.h"
#include "ports/clock.h"
#include "ports/http_session.h"
#include "ports/platform.h"
#include "ports/settings.h"
#include "ports/system_info.h"
#include "services/random_uuid.h"
#include "services/service_json.h"
#include "services/service_url.h"
#include "services/update_service.h"

namespace ornav {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLastClientAppKey = "Ornavel.lastClientApp";
constexpr std::size_t kLogTailLines = 80;
// A marker holds a few digits; anything much larger is not one.
constexpr std::uintmax_t kMarkerReadLimit = 4096;

std::atomic<int> inFlight{0};

struct Location {
  std::mutex mutex;
  std::optional<fs::path> base;  // computed once, or set by a test
};

Location& location() {
  static Location instance;
  return instance;
}

std::chrono::system_clock::time_point now() {
  if (const Clock* clock = platform().clock) return clock->now();
  return std::chrono::system_clock::now();
}

int processId() {
  if (const SystemInfo* info = platform().systemInfo) return info->processId();
  return static_cast<int>(::getpid());
}

std::string osVersion() {
  if (const SystemInfo* info = platform().systemInfo) return info->osVersion();
  return "0.0.0";
}

std::string processName() {
  if (const SystemInfo* info = platform().systemInfo) return info->processName();
  return {};
}

std::optional<std::string> readFile(const fs::path& path, std::uintmax_t limit) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return std::nullopt;
  const std::uintmax_t size = fs::file_size(path, error);
  if (error || size > limit) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}

// Writes `bytes` next to `path` and renames it into place, so a crash mid-write never leaves a
// torn file. The temporary name does not end in ".json", so the uploader never picks it up.
bool writeAtomically(const fs::path& path, const std::string& bytes) {
  const fs::path temporary =
      path.parent_path() /
      ("." + path.filename().string() + "." + std::to_string(::getpid()) + "." +
       std::to_string(crash_report::millisecondsSince1970(now())) + ".tmp");
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::string_view rest = bytes;
  bool ok = true;
  while (!rest.empty()) {
    const ssize_t written = ::write(fd, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      ok = false;
      break;
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

nlohmann::json readContext() {
  const std::string path = CrashReporter::contextPath();
  if (path.empty()) return nlohmann::json::object();
  const auto text = readFile(path, 1024 * 1024);
  if (!text) return nlohmann::json::object();
  return service_json::parseObject(*text).value_or(nlohmann::json::object());
}

// An uncaught C++ exception: writes a report, then lets the previous handler end the process.
std::terminate_handler previousTerminate = nullptr;

void onTerminate() {
  static std::atomic<bool> entered{false};
  const std::exception_ptr exception = std::current_exception();
  if (exception && !entered.exchange(true)) {
    try {
      const crash_exception::Description about = crash_exception::describe(exception);
      CrashReporter::writeReport("exception", about.name, about.reason, about.stack);
    } catch (...) {
      // Nothing may escape a terminate handler.
    }
    // One crash, one report: the abort that follows must not leave a signal marker as well.
    ::signal(SIGABRT, SIG_DFL);
  }
  if (previousTerminate != nullptr) previousTerminate();
  std::abort();
}

void uploadReportData(const std::string& body, const fs::path& file, const std::string& url) {
  HttpSession* http = platform().http;
  if (http == nullptr) return;
  HttpRequest request;
  request.url = url;
  request.method = "POST";
  request.headers = {{"Content-Type", "application/json"},
                     {"User-Agent", "Ornavel/" + UpdateService::currentVersion()}};
  request.body = body;
  request.timeoutSeconds = 15;
  ++inFlight;
  http->dataTask(request, [file](HttpResult result) {
    if (const auto* response = std::get_if<HttpResponse>(&result); response != nullptr) {
      const auto answer = service_json::parseObject(response->body);
      if (answer && service_json::isTrue(*answer, "ok")) {
        std::error_code ignored;
        fs::remove(file, ignored);
      }
    }
    --inFlight;
  });
}

}  // namespace

std::string CrashReporter::baseDir() {
  Location& where = location();
  std::lock_guard lock(where.mutex);
  if (!where.base) {
    const Folders* folders = platform().folders;
    if (folders == nullptr) return {};
    where.base = folders->applicationSupport() / "Ornavel";
  }
  return where.base->string();
}

std::string CrashReporter::dir() {
  const std::string base = baseDir();
  return base.empty() ? std::string() : (fs::path(base) / "crashes").string();
}

std::string CrashReporter::contextPath() {
  const std::string base = baseDir();
  return base.empty() ? std::string() : (fs::path(base) / "crash_context.json").string();
}

std::string CrashReporter::signalMarkerPath() {
  const std::string crashes = dir();
  return crashes.empty() ? std::string() : (fs::path(crashes) / "fatal_signal.txt").string();
}

std::string CrashReporter::reportURL() {
  return UpdateService::crashReportURL();
}

void CrashReporter::install() {
  noteStage("install-crash-handlers");
  const std::string crashes = dir();
  if (!crashes.empty()) {
    std::error_code ignored;
    fs::create_directories(crashes, ignored);
    crash_signal::prepareMarkerPath(signalMarkerPath().c_str());
  }
  static std::once_flag hooked;
  std::call_once(hooked, [] {
    previousTerminate = std::set_terminate(onTerminate);
    crash_signal::installHandlers();
  });
}

void CrashReporter::noteStage(const std::string& stage, const Details& details) {
  const std::string base = baseDir();
  if (base.empty()) return;
  const nlohmann::json context = {
      {"stage", stage},          {"details", details},
      {"host", lastClientApp()}, {"time", crash_report::iso8601(now())},
      {"pid", processId()},
  };
  std::error_code ignored;
  fs::create_directories(base, ignored);
  writeAtomically(contextPath(), service_json::serialize(context));
}

void CrashReporter::noteClientApp(const std::optional<std::string>& bundleIdentifier) {
  if (!bundleIdentifier || bundleIdentifier->empty()) return;
  if (Settings* settings = platform().settings) {
    settings->setString(kLastClientAppKey, *bundleIdentifier);
  }
}

std::string CrashReporter::lastClientApp() {
  if (const Settings* settings = platform().settings) {
    return settings->getString(kLastClientAppKey).value_or("");
  }
  return {};
}

void CrashReporter::writeReport(const std::string& type, const std::string& name,
                                const std::string& reason, const std::string& stack) {
  const std::string crashes = dir();
  if (crashes.empty()) return;
  const auto time = now();
  const Bundle* bundle = platform().bundle;
  const nlohmann::json report = {
      {"reportID", makeRandomUUID()},
      {"type", type},
      {"name", name},
      {"reason", reason},
      {"stack", stack},
      {"version", UpdateService::currentVersion()},
      {"device", UpdateService::deviceID()},
      {"host", lastClientApp()},
      {"context", readContext()},
      {"logTail", Logger::tailLines(static_cast<int>(kLogTailLines))},
      {"bundleID", bundle != nullptr ? bundle->identifier().value_or("") : std::string()},
      {"process", processName()},
      {"pid", processId()},
      {"os", osVersion()},
      {"time", crash_report::iso8601(time)},
  };
  std::error_code ignored;
  fs::create_directories(crashes, ignored);
  writeAtomically(
      fs::path(crashes) / (std::to_string(crash_report::millisecondsSince1970(time)) + ".json"),
      service_json::serialize(report));
}

std::optional<nlohmann::json> CrashReporter::signalMarkerReport(const std::string& path) {
  const auto text = readFile(path, kMarkerReadLimit);
  if (!text) return std::nullopt;
  const auto signal = crash_report::parseSignalMarker(*text);
  if (!signal) return std::nullopt;
  auto markerTime = now();
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
#ifdef __APPLE__
    const struct timespec modified = info.st_mtimespec;
#else
    const struct timespec modified = info.st_mtim;
#endif
    markerTime = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(modified.tv_sec) + std::chrono::nanoseconds(modified.tv_nsec)));
  }
  const crash_report::Installation installation{
      UpdateService::currentVersion(), UpdateService::deviceID(), lastClientApp(), osVersion()};
  return crash_report::signalReport(*signal, markerTime, installation);
}

void CrashReporter::uploadPending() {
  const std::string crashes = dir();
  if (crashes.empty()) return;
  std::error_code error;
  fs::directory_iterator entries(crashes, error);
  if (error) return;
  std::vector<std::string> names;
  for (; entries != fs::directory_iterator(); entries.increment(error)) {
    if (error) return;
    const std::string name = entries->path().filename().string();
    if (name.size() > 5 && name.compare(name.size() - 5, 5, ".json") == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());

  const fs::path marker = signalMarkerPath();
  const bool hasMarker = fs::exists(fs::symlink_status(marker, error));
  if (names.empty() && !hasMarker) return;

  const std::string url = reportURL();
  if (!service_url::isUsableEndpoint(url)) return;

  noteStage("upload-pending-crashes",
            {{"count", std::to_string(names.size() + (hasMarker ? 1 : 0))}});

  if (hasMarker) {
    if (const auto report = signalMarkerReport(marker.string())) {
      const std::string fallback = service_json::stringOr(*report, "reportID", "signal");
      if (const auto body = crash_report::sanitizedUploadData(*report, fallback)) {
        uploadReportData(*body, marker, url);
      }
    }
  }
  for (const std::string& name : names) {
    const fs::path file = fs::path(crashes) / name;
    const auto text = readFile(file, 64 * 1024 * 1024);
    if (!text) continue;
    const auto report = service_json::parseObject(*text);
    if (!report) continue;
    const std::string fallback = name.substr(0, name.size() - 5);
    if (const auto body = crash_report::sanitizedUploadData(*report, fallback)) {
      uploadReportData(*body, file, url);
    }
  }
}

void CrashReporter::configureForTesting(const std::string& base) {
  Location& where = location();
  std::lock_guard lock(where.mutex);
  if (base.empty()) {
    where.base.reset();
  } else {
    where.base = fs::path(base);
  }
}

int CrashReporter::uploadsInFlight() {
  return inFlight.load();
}

}  // namespace ornav
