// Downloads on macOS: each download runs on a session of its own with a delegate, so that its
// idle and whole-transfer time limits are its own. The delegate's serial queue is the download's
// worker thread: progress, the finished file and the end are reported there, one at a time.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "ports/http_session.h"

namespace ornav::mac_platform {

class UrlSessionDownloads final : public DownloadSession {
 public:
  UrlSessionDownloads() = default;
  // Cancels the downloads still running; each still ends with `completed` ("cancelled"), on its
  // own queue, after this returns.
  ~UrlSessionDownloads() override;
  UrlSessionDownloads(const UrlSessionDownloads&) = delete;
  UrlSessionDownloads& operator=(const UrlSessionDownloads&) = delete;

  std::shared_ptr<DownloadTask> download(const DownloadRequest& request,
                                         DownloadHandlers handlers) override;

 private:
  std::mutex mutex_;
  std::vector<std::weak_ptr<DownloadTask>> running_;
};

}  // namespace ornav::mac_platform
