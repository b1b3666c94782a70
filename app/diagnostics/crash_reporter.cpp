#include "diagnostics/crash_reporter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <vector>

#include "base/files.h"
#include "base/json_reading.h"
#include "base/url_text.h"
#include "base/uuid.h"
#include "diagnostics/context_file.h"
#include "diagnostics/crash_exception.h"
#include "diagnostics/crash_report.h"
#include "diagnostics/crash_signal.h"
#include "diagnostics/logger.h"
#include "ports/clock.h"
#include "ports/http_session.h"
#include "ports/settings.h"
#include "ports/system_info.h"

namespace ornav {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLastClientAppKey = "Ornavel.lastClientApp";
constexpr std::size_t kLogTailLines = 80;
// A marker holds a few digits; anything much larger is not one.
constexpr std::uintmax_t kMarkerReadLimit = 4096;
constexpr std::uintmax_t kContextReadLimit = 1024 * 1024;
constexpr std::uintmax_t kReportReadLimit = 64 * 1024 * 1024;

// The reporter whose handlers are installed; the terminate hook writes through it.
std::atomic<CrashReporter*> handlingReporter{nullptr};

// A report only has to survive a crash of this process, which an atomic rename guarantees without
// flushing to disk. The temporary name does not end in ".json", so the uploader never picks one up.
void replaceFile(const fs::path& path, const std::string& bytes) {
  writeFileAtomically(path, bytes, {.mode = 0600, .flushed = false});
}

// An uncaught C++ exception: writes a report, then lets the previous handler end the process.
std::terminate_handler previousTerminate = nullptr;

void onTerminate() {
  static std::atomic<bool> entered{false};
  const std::exception_ptr exception = std::current_exception();
  CrashReporter* reporter = handlingReporter.load();
  if (exception && reporter != nullptr && !entered.exchange(true)) {
    try {
      const crash_exception::Description about = crash_exception::describe(exception);
      reporter->writeReport("exception", about.name, about.reason, about.stack);
    } catch (...) {
      // Nothing may escape a terminate handler.
    }
    // One crash, one report: the abort that follows must not leave a signal marker as well.
    ::signal(SIGABRT, SIG_DFL);
  }
  if (previousTerminate != nullptr) previousTerminate();
  std::abort();
}

}  // namespace

CrashReporter::CrashReporter(Setup setup)
    : setup_(std::move(setup)),
      context_(setup_.baseDir.empty() ? fs::path() : setup_.baseDir / "crash_context.json"),
      processId_(setup_.systemInfo != nullptr ? setup_.systemInfo->processId()
                                              : static_cast<int>(::getpid())) {}

CrashReporter::~CrashReporter() {
  CrashReporter* self = this;
  handlingReporter.compare_exchange_strong(self, nullptr);
}

std::chrono::system_clock::time_point CrashReporter::now() const {
  return setup_.clock != nullptr ? setup_.clock->now() : std::chrono::system_clock::now();
}

std::string CrashReporter::baseDir() const {
  return setup_.baseDir.string();
}

std::string CrashReporter::dir() const {
  return setup_.baseDir.empty() ? std::string() : (setup_.baseDir / "crashes").string();
}

std::string CrashReporter::contextPath() const {
  return setup_.baseDir.empty() ? std::string() : (setup_.baseDir / "crash_context.json").string();
}

std::string CrashReporter::signalMarkerPath() const {
  const std::string crashes = dir();
  return crashes.empty() ? std::string() : (fs::path(crashes) / "fatal_signal.txt").string();
}

void CrashReporter::install() {
  noteStage("install-crash-handlers");
  const std::string crashes = dir();
  if (!crashes.empty()) {
    std::error_code ignored;
    fs::create_directories(crashes, ignored);
    crash_signal::prepareMarkerPath(signalMarkerPath().c_str());
  }
  handlingReporter.store(this);
  static std::once_flag hooked;
  std::call_once(hooked, [] {
    previousTerminate = std::set_terminate(onTerminate);
    crash_signal::installHandlers();
  });
}

void CrashReporter::noteStage(const std::string& stage, const Details& details) {
  if (setup_.baseDir.empty()) return;
  const nlohmann::json context = {
      {"stage", stage},          {"details", details},
      {"host", lastClientApp()}, {"time", crash_report::iso8601(now())},
      {"pid", processId_},
  };
  context_.replace(json_reading::serialize(context));
}

void CrashReporter::noteClientApp(const std::optional<std::string>& bundleIdentifier) {
  if (!bundleIdentifier || bundleIdentifier->empty()) return;
  if (setup_.settings != nullptr) setup_.settings->setString(kLastClientAppKey, *bundleIdentifier);
}

std::string CrashReporter::lastClientApp() const {
  if (setup_.settings == nullptr) return {};
  return setup_.settings->getString(kLastClientAppKey).value_or("");
}

void CrashReporter::writeReport(const std::string& type, const std::string& name,
                                const std::string& reason, const std::string& stack) {
  const std::string crashes = dir();
  if (crashes.empty()) return;
  const auto time = now();
  const SystemInfo* info = setup_.systemInfo;
  nlohmann::json context = nlohmann::json::object();
  if (const auto text = readWholeFile(contextPath(), nullptr, kContextReadLimit)) {
    context = json_reading::parseObject(*text).value_or(nlohmann::json::object());
  }
  const nlohmann::json report = {
      {"reportID", makeRandomUUID()},
      {"type", type},
      {"name", name},
      {"reason", reason},
      {"stack", stack},
      {"version", setup_.version},
      {"device", setup_.deviceID},
      {"host", lastClientApp()},
      {"context", std::move(context)},
      {"logTail", setup_.logger != nullptr ? setup_.logger->tail(static_cast<int>(kLogTailLines))
                                           : std::vector<std::string>()},
      {"bundleID", setup_.bundleIdentifier},
      {"process", info != nullptr ? info->processName() : std::string()},
      {"pid", info != nullptr ? info->processId() : static_cast<int>(::getpid())},
      {"os", info != nullptr ? info->osVersion() : std::string("0.0.0")},
      {"time", crash_report::iso8601(time)},
  };
  replaceFile(
      fs::path(crashes) / (std::to_string(crash_report::millisecondsSince1970(time)) + ".json"),
      json_reading::serialize(report));
}

std::optional<nlohmann::json> CrashReporter::signalMarkerReport(const std::string& path) const {
  const auto text = readWholeFile(path, nullptr, kMarkerReadLimit);
  if (!text) return std::nullopt;
  const auto signal = crash_report::parseSignalMarker(*text);
  if (!signal) return std::nullopt;
  auto markerTime = now();
  std::error_code error;
  const auto modified = fs::last_write_time(path, error);
  // The file clock's duration is the system clock's on Linux, not on every system (Apple's C++
  // library counts in a finer unit), so the time is converted explicitly.
  if (!error) {
    markerTime = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        std::chrono::file_clock::to_sys(modified));
  }
  const crash_report::Installation installation{
      setup_.version, setup_.deviceID, lastClientApp(),
      setup_.systemInfo != nullptr ? setup_.systemInfo->osVersion() : std::string("0.0.0")};
  return crash_report::signalReport(*signal, markerTime, installation);
}

void CrashReporter::uploadReportData(const std::string& body, const fs::path& file) {
  if (setup_.http == nullptr) return;
  HttpRequest request;
  request.url = setup_.reportURL;
  request.method = "POST";
  request.headers = {{"Content-Type", "application/json"},
                     {"User-Agent", "Ornavel/" + setup_.version}};
  request.body = body;
  request.timeoutSeconds = 15;
  ++*inFlight_;
  setup_.http->dataTask(request, [file, inFlight = inFlight_](HttpResult result) {
    if (const auto* response = std::get_if<HttpResponse>(&result); response != nullptr) {
      const auto answer = json_reading::parseObject(response->body);
      if (answer && json_reading::isTrue(*answer, "ok")) {
        std::error_code ignored;
        fs::remove(file, ignored);
      }
    }
    --*inFlight;
  });
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

  if (!url_text::isUsableEndpoint(setup_.reportURL)) return;

  noteStage("upload-pending-crashes",
            {{"count", std::to_string(names.size() + (hasMarker ? 1 : 0))}});

  if (hasMarker) {
    if (const auto report = signalMarkerReport(marker.string())) {
      const std::string fallback = json_reading::stringOr(*report, "reportID", "signal");
      if (const auto body = crash_report::sanitizedUploadData(*report, fallback)) {
        uploadReportData(*body, marker);
      }
    }
  }
  for (const std::string& name : names) {
    const fs::path file = fs::path(crashes) / name;
    const auto text = readWholeFile(file, nullptr, kReportReadLimit);
    if (!text) continue;
    const auto report = json_reading::parseObject(*text);
    if (!report) continue;
    const std::string fallback = name.substr(0, name.size() - 5);
    if (const auto body = crash_report::sanitizedUploadData(*report, fallback)) {
      uploadReportData(*body, file);
    }
  }
}

}  // namespace ornav
