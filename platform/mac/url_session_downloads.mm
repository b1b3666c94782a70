#import "platform/mac/url_session_downloads.h"

#import <Foundation/Foundation.h>

#include <chrono>
#include <utility>

#import "platform/mac/foundation_text.h"
#include "platform/mac/url_loading_rules.h"
#import "platform/mac/url_session_support.h"

namespace {

// One download; touched only on its session's serial delegate queue.
struct DownloadState {
  ornav::DownloadRequest request;
  ornav::DownloadHandlers handlers;
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  ornav::mac_platform::TaskStop stop;
};

}  // namespace

@interface OrnavDownloadDelegate : NSObject <NSURLSessionDownloadDelegate>
- (instancetype)initWithState:(std::unique_ptr<DownloadState>)state NS_DESIGNATED_INITIALIZER;
- (instancetype)init NS_UNAVAILABLE;
@property(nonatomic, readonly) NSOperationQueue* queue;
// The caller's handle stays alive while the download runs, so that it can still be cancelled.
- (void)keepHandle:(std::shared_ptr<ornav::DownloadTask>)handle;
@end

@implementation OrnavDownloadDelegate {
  std::unique_ptr<DownloadState> _state;
  std::shared_ptr<ornav::DownloadTask> _handle;
}

- (instancetype)initWithState:(std::unique_ptr<DownloadState>)state {
  self = [super init];
  if (self) {
    _state = std::move(state);
    _queue = [[NSOperationQueue alloc] init];
    _queue.maxConcurrentOperationCount = 1;
  }
  return self;
}

- (void)keepHandle:(std::shared_ptr<ornav::DownloadTask>)handle {
  _handle = std::move(handle);
}

- (void)URLSession:(NSURLSession*)session
                          task:(NSURLSessionTask*)task
    willPerformHTTPRedirection:(NSHTTPURLResponse*)response
                    newRequest:(NSURLRequest*)request
             completionHandler:(void (^)(NSURLRequest* _Nullable))completionHandler {
  ornav::mac_platform::decideRedirect(task, request, _state->request.request, _state->stop,
                                      completionHandler);
}

- (void)URLSession:(NSURLSession*)session
                 downloadTask:(NSURLSessionDownloadTask*)downloadTask
                 didWriteData:(int64_t)bytesWritten
            totalBytesWritten:(int64_t)totalBytesWritten
    totalBytesExpectedToWrite:(int64_t)totalBytesExpectedToWrite {
  if (_state->stop.code) return;
  // int64_t is long long on a Mac: the casts say which width the ports get.
  const auto written = static_cast<std::int64_t>(totalBytesWritten);
  const auto expected =
      totalBytesExpectedToWrite >= 0 ? static_cast<std::int64_t>(totalBytesExpectedToWrite) : -1;
  const std::int64_t limit = _state->request.request.maxResponseBytes;
  if (ornav::mac_platform::exceedsLimit(limit, written) ||
      ornav::mac_platform::exceedsLimit(limit, expected)) {
    _state->stop.code = ornav::HttpError::Code::responseTooLarge;
    [downloadTask cancel];
    return;
  }
  if (_state->handlers.progress) _state->handlers.progress(written, expected);
}

- (void)URLSession:(NSURLSession*)session
                 downloadTask:(NSURLSessionDownloadTask*)downloadTask
    didFinishDownloadingToURL:(NSURL*)location {
  // The system removes the file when this returns, as the port's `finished` expects.
  if (_state->stop.code || !_state->handlers.finished) return;
  _state->handlers.finished(ornav::mac_platform::toStdString(location.path),
                            ornav::mac_platform::statusOf(downloadTask.response));
}

- (void)URLSession:(NSURLSession*)session
                    task:(NSURLSessionTask*)task
    didCompleteWithError:(NSError*)error {
  std::optional<ornav::HttpError> failure;
  if (error != nil || _state->stop.code) {
    failure =
        ornav::mac_platform::httpErrorFor(error, _state->stop, _state->request.request,
                                          _state->request.resourceTimeoutSeconds, _state->started);
  }
  if (_state->handlers.completed) _state->handlers.completed(std::move(failure));
}

@end

namespace ornav::mac_platform {

namespace {

class UrlSessionDownloadTask final : public DownloadTask {
 public:
  explicit UrlSessionDownloadTask(NSURLSessionDownloadTask* task) : task_(task) {}
  void cancel() override { [task_ cancel]; }

 private:
  NSURLSessionDownloadTask* task_;
};

// A download that ends before it starts: the task exists but has nothing to cancel.
class EndedDownloadTask final : public DownloadTask {
 public:
  void cancel() override {}
};

}  // namespace

UrlSessionDownloads::~UrlSessionDownloads() {
  std::lock_guard lock(mutex_);
  for (const auto& weak : running_) {
    if (auto task = weak.lock()) task->cancel();
  }
}

std::shared_ptr<DownloadTask> UrlSessionDownloads::download(const DownloadRequest& request,
                                                            DownloadHandlers handlers) {
  std::optional<HttpError> refused = checkRequestUrl(request.request.url);
  NSURL* url = refused ? nil : [NSURL URLWithString:toNSString(request.request.url)];
  if (!refused && url == nil) refused = makeHttpError(HttpError::Code::badUrl, request.request.url);
  if (refused) {
    // Reported on a queue of its own, like every other end of a download.
    auto completed = std::make_shared<std::function<void(std::optional<HttpError>)>>(
        std::move(handlers.completed));
    auto error = std::make_shared<HttpError>(*refused);
    dispatch_async(dispatch_get_global_queue(QOS_CLASS_USER_INITIATED, 0), ^{
      if (*completed) (*completed)(*error);
    });
    return std::make_shared<EndedDownloadTask>();
  }

  NSURLSessionConfiguration* configuration = NSURLSessionConfiguration.defaultSessionConfiguration;
  if (request.request.timeoutSeconds > 0) {
    configuration.timeoutIntervalForRequest = request.request.timeoutSeconds;
  }
  if (request.resourceTimeoutSeconds > 0) {
    configuration.timeoutIntervalForResource = request.resourceTimeoutSeconds;
  }
  auto state = std::make_unique<DownloadState>();
  state->request = request;
  state->handlers = std::move(handlers);
  OrnavDownloadDelegate* delegate = [[OrnavDownloadDelegate alloc] initWithState:std::move(state)];
  NSURLSession* session = [NSURLSession sessionWithConfiguration:configuration
                                                        delegate:delegate
                                                   delegateQueue:delegate.queue];
  NSURLSessionDownloadTask* task =
      [session downloadTaskWithRequest:urlRequestFor(url, request.request)];
  auto handle = std::make_shared<UrlSessionDownloadTask>(task);
  [delegate keepHandle:handle];
  [task resume];
  // The session lets go of its delegate (and the delegate of the handle) once the download ended.
  [session finishTasksAndInvalidate];

  std::lock_guard lock(mutex_);
  std::erase_if(running_, [](const auto& weak) { return weak.expired(); });
  running_.push_back(handle);
  return handle;
}

}  // namespace ornav::mac_platform
