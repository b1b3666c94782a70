#include "platform/linux/curl_http_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/linux/curl_transfer.h"

namespace ornav::linux_platform {

CurlHttpSession::CurlHttpSession(MainQueue& mainQueue,
                                 std::optional<std::filesystem::path> trustedCertificates)
    : mainQueue_(mainQueue), trustedCertificates_(std::move(trustedCertificates)) {}

CurlHttpSession::~CurlHttpSession() {
  closing_ = true;
  threads_.joinAll();
}

void CurlHttpSession::dataTask(const HttpRequest& request,
                               std::function<void(HttpResult)> completion) {
  // A bad address still completes asynchronously, like every other failure.
  if (auto bad = checkUrl(request.url)) {
    mainQueue_.post([completion = std::move(completion), error = *bad] { completion(error); });
    return;
  }
  threads_.spawn([this, request, completion = std::move(completion)]() mutable {
    std::string body;
    TransferOptions options;
    options.request = std::move(request);
    options.trustedCertificates = trustedCertificates_;
    options.cancelled = [this] { return closing_.load(); };
    options.sink = [&body](const char* data, std::size_t size) {
      body.append(data, size);
      return true;
    };
    TransferOutcome outcome = runTransfer(options);
    HttpResult result =
        outcome.error
            ? HttpResult(*outcome.error)
            : HttpResult(HttpResponse{outcome.status, std::move(outcome.headers), std::move(body)});
    mainQueue_.post([completion = std::move(completion), result = std::move(result)]() mutable {
      completion(std::move(result));
    });
  });
}

class CurlDownloadSession::Task : public DownloadTask {
 public:
  void cancel() override { cancelled = true; }
  std::atomic<bool> cancelled{false};
};

CurlDownloadSession::CurlDownloadSession(std::filesystem::path temporaryFolder)
    : temporaryFolder_(std::move(temporaryFolder)) {}

CurlDownloadSession::~CurlDownloadSession() {
  closing_ = true;
  threads_.joinAll();
}

namespace {
// A fresh file in `folder` that only this process can read; -1 (and `path` empty) on failure.
int makeTemporaryFile(const std::filesystem::path& folder, std::string& path) {
  std::string pattern = (folder / "ornav-download-XXXXXX").string();
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  path = fd >= 0 ? pattern : std::string();
  return fd;
}
}  // namespace

std::shared_ptr<DownloadTask> CurlDownloadSession::download(const DownloadRequest& request,
                                                            DownloadHandlers handlers) {
  auto task = std::make_shared<Task>();
  threads_.spawn([this, request, handlers = std::move(handlers), task] {
    auto finish = [&](std::optional<HttpError> error) {
      if (handlers.completed) handlers.completed(std::move(error));
    };

    std::string path;
    int fd = makeTemporaryFile(temporaryFolder_, path);
    if (fd < 0) {
      finish(HttpError{.code = HttpError::Code::fileError,
                       .url = request.request.url,
                       .detail = std::strerror(errno)});
      return;
    }
    std::int64_t written = 0;
    TransferOptions options;
    options.request = request.request;
    options.resourceTimeoutSeconds = request.resourceTimeoutSeconds;
    // Progress counts the bytes as they land in the file, so the body is not decoded on the way.
    options.acceptCompressed = false;
    // The session's shutdown and the task's own cancel both end the transfer.
    options.cancelled = [&] { return task->cancelled || closing_; };
    options.sink = [&](const char* data, std::size_t size) {
      std::size_t done = 0;
      while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
          if (errno == EINTR) continue;
          return false;
        }
        done += static_cast<std::size_t>(n);
      }
      written += static_cast<std::int64_t>(size);
      if (handlers.progress) handlers.progress(written, currentExpectedLength());
      return true;
    };
    TransferOutcome outcome = runTransfer(options);
    const bool closedOk = ::close(fd) == 0;
    if (!outcome.error && !closedOk) {
      outcome.error = HttpError{.code = HttpError::Code::fileError, .url = request.request.url};
    }
    if (!outcome.error && handlers.finished) handlers.finished(path, outcome.status);
    ::unlink(path.c_str());  // gone unless `finished` moved it away
    finish(outcome.error);
  });
  return task;
}

}  // namespace ornav::linux_platform
