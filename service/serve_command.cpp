#include "serve_command.h"

#include <pthread.h>
#include <signal.h>

#include <condition_variable>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <thread>

#include "http_front_end.h"
#include "service_handlers.h"
#include "service_log.h"
#include "storage.h"

namespace ornav::service {
namespace {

struct ServeOptions {
  std::string database;
  FrontEndOptions frontEnd;
  ServiceLimits limits;
  std::int64_t minDevices = 5;
  std::int64_t rebuildEverySeconds = 3600;
  std::int64_t retentionDays = 0;  // 0: keep everything
};

// "HOST:PORT", "[IPV6]:PORT".
bool parseListen(const std::string& text, FrontEndOptions& options) {
  const auto colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  std::string host = text.substr(0, colon);
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  const std::string port = text.substr(colon + 1);
  if (port.empty() || port.size() > 5 ||
      port.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const int number = std::stoi(port);
  if (number > 65535) return false;
  options.host = host;
  options.port = number;
  return true;
}

std::optional<ServeOptions> parse(CommandLine& arguments) {
  ServeOptions options;
  options.database = arguments.value("--database").value_or("");
  const std::optional<std::string> listen = arguments.value("--listen");
  const auto certificate = arguments.value("--tls-cert");
  const auto key = arguments.value("--tls-key");
  if (certificate && key) options.frontEnd.tls = TlsFiles{*certificate, *key};
  options.minDevices = arguments.integer("--min-devices", 1, 1000000).value_or(5);
  options.rebuildEverySeconds = arguments.integer("--rebuild-every", 0, 1 << 30).value_or(3600);
  options.frontEnd.threads = static_cast<int>(arguments.integer("--threads", 1, 256).value_or(8));
  options.frontEnd.readTimeoutSeconds =
      static_cast<int>(arguments.integer("--read-timeout", 1, 3600).value_or(10));
  options.frontEnd.trustForwardedFor = arguments.present("--trust-forwarded-for");
  options.frontEnd.accessLog = arguments.present("--access-log");
  options.retentionDays = arguments.integer("--retention-days", 0, 36500).value_or(0);
  ServiceLimits& limits = options.limits;
  limits.uploadsPerHour =
      arguments.integer("--uploads-per-hour", 0, 1 << 30).value_or(limits.uploadsPerHour);
  limits.feedbackPerHour =
      arguments.integer("--feedback-per-hour", 0, 1 << 30).value_or(limits.feedbackPerHour);
  limits.crashReportsPerHour = arguments.integer("--crash-reports-per-hour", 0, 1 << 30)
                                   .value_or(limits.crashReportsPerHour);
  limits.storingRequestsPerAddress = arguments.integer("--requests-per-address", 0, 1 << 30)
                                         .value_or(limits.storingRequestsPerAddress);
  std::string problem = arguments.problem();
  if (problem.empty() && options.database.empty()) problem = "--database URL is needed";
  if (problem.empty() && (!listen || !parseListen(*listen, options.frontEnd))) {
    problem = "--listen ADDRESS:PORT is needed";
  }
  if (problem.empty() && certificate.has_value() != key.has_value()) {
    problem = "--tls-cert and --tls-key go together";
  }
  if (!problem.empty()) {
    std::cerr << "ornavel-service serve: " << problem << "\n";
    return std::nullopt;
  }
  return options;
}

// Every `seconds` until stopped: builds a dictionary version, and removes what is older than the
// retention time when one is set.
class ScheduledWork {
 public:
  ScheduledWork(Storage& storage, std::int64_t minDevices, std::int64_t seconds,
                std::int64_t retentionDays)
      : storage_(storage),
        minDevices_(minDevices),
        seconds_(seconds),
        retentionDays_(retentionDays) {
    if (seconds_ > 0) thread_ = std::thread([this] { loop(); });
  }
  ~ScheduledWork() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

 private:
  void loop() {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::seconds(seconds_), [this] { return stopping_; })) {
      lock.unlock();
      try {
        const RebuildOutcome outcome = storage_.rebuildDictionary(minDevices_, wallClockSeconds());
        if (outcome.changed) {
          logLine("dictionary version " + std::to_string(outcome.version) + ": " +
                  std::to_string(outcome.words) + " words");
        }
        if (retentionDays_ > 0) {
          const PurgeOutcome purged = storage_.purge(wallClockSeconds() - retentionDays_ * 86400);
          if (purged.feedback + purged.crashReports + purged.uploads + purged.devices > 0) {
            logLine("removed data older than " + std::to_string(retentionDays_) +
                    " days: " + std::to_string(purged.feedback) + " feedback, " +
                    std::to_string(purged.crashReports) + " crash reports, " +
                    std::to_string(purged.uploads) + " upload records, " +
                    std::to_string(purged.devices) + " devices");
          }
        }
      } catch (const StorageError& error) {
        logLine(std::string("scheduled work failed: ") + error.what());
      }
      lock.lock();
    }
  }

  Storage& storage_;
  std::int64_t minDevices_;
  std::int64_t seconds_;
  std::int64_t retentionDays_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

int runServe(CommandLine& arguments) {
  const std::optional<ServeOptions> options = parse(arguments);
  if (!options) return 2;

  // A write that meets a file-size limit fails (and the request gets 503) instead of ending the
  // process; a client that hangs up mid-answer is its own affair.
  ::signal(SIGXFSZ, SIG_IGN);
  ::signal(SIGPIPE, SIG_IGN);
  // The signals that end the service are taken by one thread, started before any other.
  sigset_t endSignals;
  sigemptyset(&endSignals);
  sigaddset(&endSignals, SIGINT);
  sigaddset(&endSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

  std::unique_ptr<Storage> storage;
  std::unique_ptr<ServiceHandlers> handlers;
  std::unique_ptr<HttpFrontEnd> frontEnd;
  try {
    storage =
        Storage::open(options->database, static_cast<std::size_t>(options->frontEnd.threads) + 2);
    if (storage->readOnly()) {
      logLine("the database is read-only: requests that store anything are answered with 503");
    }
    handlers = std::make_unique<ServiceHandlers>(*storage, options->limits);
    frontEnd = std::make_unique<HttpFrontEnd>(*handlers, options->frontEnd);
  } catch (const std::exception& error) {
    logLine(std::string("cannot start: ") + error.what());
    return 1;
  }

  std::thread signals([&] {
    int received = 0;
    sigwait(&endSignals, &received);
    frontEnd->stop();
  });
  {
    ScheduledWork scheduled(*storage, options->minDevices, options->rebuildEverySeconds,
                            options->retentionDays);
    std::printf("ornavel-service: listening on %s\n", frontEnd->baseURL().c_str());
    std::fflush(stdout);
    logLine("serving " + frontEnd->baseURL() + ", dictionary from " +
            std::to_string(options->minDevices) + " devices");
    frontEnd->run();
  }
  // run() also ends when listening fails; the signal thread is then still waiting.
  pthread_kill(signals.native_handle(), SIGTERM);
  signals.join();
  logLine("stopped");
  return 0;
}

}  // namespace ornav::service
