// HTTP(S) on Linux over libcurl. Each request runs on a background thread of its own; data-task
// completions are posted to the main queue, download callbacks run on the download's thread.
// HTTPS uses the system's certificate store; only http and https are followed, redirects included.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/linux/thread_set.h"
#include "ports/http_session.h"
#include "ports/main_queue.h"

namespace ornav::linux_platform {

class CurlHttpSession : public HttpSession {
 public:
  // `mainQueue` must outlive the session. `trustedCertificates`, when given, is the PEM file of
  // the certificate authorities to trust instead of the system's (a private service, a test).
  explicit CurlHttpSession(MainQueue& mainQueue,
                           std::optional<std::filesystem::path> trustedCertificates = {});
  // Aborts requests still running (their completions report "cancelled") and joins the threads.
  ~CurlHttpSession() override;

  void dataTask(const HttpRequest& request, std::function<void(HttpResult)> completion) override;

 private:
  MainQueue& mainQueue_;
  std::optional<std::filesystem::path> trustedCertificates_;
  std::atomic<bool> closing_{false};
  ThreadSet threads_;
};

class CurlDownloadSession : public DownloadSession {
 public:
  // Temporary files are made in `temporaryFolder`.
  explicit CurlDownloadSession(std::filesystem::path temporaryFolder);
  // Cancels running downloads and waits for their `completed` callbacks.
  ~CurlDownloadSession() override;

  std::shared_ptr<DownloadTask> download(const DownloadRequest& request,
                                         DownloadHandlers handlers) override;

 private:
  class Task;
  std::filesystem::path temporaryFolder_;
  std::atomic<bool> closing_{false};
  ThreadSet threads_;
};

}  // namespace ornav::linux_platform
