#import "platform/mac/url_session_http.h"

#import <Foundation/Foundation.h>

#include <chrono>
#include <map>
#include <memory>
#include <utility>

#import "platform/mac/foundation_text.h"
#include "platform/mac/url_loading_rules.h"
#import "platform/mac/url_session_support.h"

namespace {

using ornav::HttpResult;

// One request on its way; touched only on the session's serial delegate queue.
struct DataTaskState {
  ornav::HttpRequest request;
  std::function<void(HttpResult)> completion;
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  ornav::mac_platform::TaskStop stop;
  std::string body;
};

void answerOnMainQueue(std::function<void(HttpResult)> completion, HttpResult result) {
  auto call = std::make_shared<std::pair<std::function<void(HttpResult)>, HttpResult>>(
      std::move(completion), std::move(result));
  dispatch_async(dispatch_get_main_queue(), ^{
    if (call->first) call->first(std::move(call->second));
  });
}

}  // namespace

@interface OrnavDataTaskDelegate : NSObject <NSURLSessionDataDelegate>
// The serial queue the session delivers this delegate's calls on.
@property(nonatomic, readonly) NSOperationQueue* queue;
- (void)startTask:(NSURLSessionDataTask*)task state:(std::shared_ptr<DataTaskState>)state;
@end

@implementation OrnavDataTaskDelegate {
  // The delegate queue is serial, so nothing else guards this.
  std::map<NSUInteger, std::shared_ptr<DataTaskState>> _states;
}

- (instancetype)init {
  self = [super init];
  if (self) {
    _queue = [[NSOperationQueue alloc] init];
    _queue.maxConcurrentOperationCount = 1;
  }
  return self;
}

- (void)startTask:(NSURLSessionDataTask*)task state:(std::shared_ptr<DataTaskState>)state {
  // Registered on the delegate queue before the task can report anything there.
  [_queue addOperationWithBlock:^{
    self->_states[task.taskIdentifier] = state;
    [task resume];
  }];
}

- (DataTaskState*)stateOf:(NSURLSessionTask*)task {
  auto found = _states.find(task.taskIdentifier);
  return found == _states.end() ? nullptr : found->second.get();
}

- (void)URLSession:(NSURLSession*)session
                          task:(NSURLSessionTask*)task
    willPerformHTTPRedirection:(NSHTTPURLResponse*)response
                    newRequest:(NSURLRequest*)request
             completionHandler:(void (^)(NSURLRequest* _Nullable))completionHandler {
  DataTaskState* state = [self stateOf:task];
  if (state == nullptr) {
    completionHandler(request);
    return;
  }
  ornav::mac_platform::decideRedirect(task, request, state->request, state->stop,
                                      completionHandler);
}

- (void)URLSession:(NSURLSession*)session
              dataTask:(NSURLSessionDataTask*)dataTask
    didReceiveResponse:(NSURLResponse*)response
     completionHandler:(void (^)(NSURLSessionResponseDisposition))completionHandler {
  DataTaskState* state = [self stateOf:dataTask];
  // An announced length past the limit ends the request before any of the body is read.
  // A long long; the ports count in int64_t, which is not long long everywhere.
  const auto announced = static_cast<std::int64_t>(response.expectedContentLength);
  if (state != nullptr &&
      ornav::mac_platform::exceedsLimit(state->request.maxResponseBytes, announced)) {
    state->stop.code = ornav::HttpError::Code::responseTooLarge;
    completionHandler(NSURLSessionResponseCancel);
    return;
  }
  completionHandler(NSURLSessionResponseAllow);
}

- (void)URLSession:(NSURLSession*)session
          dataTask:(NSURLSessionDataTask*)dataTask
    didReceiveData:(NSData*)data {
  DataTaskState* state = [self stateOf:dataTask];
  if (state == nullptr || state->stop.code) return;
  const auto total = static_cast<std::int64_t>(state->body.size() + data.length);
  if (ornav::mac_platform::exceedsLimit(state->request.maxResponseBytes, total)) {
    state->stop.code = ornav::HttpError::Code::responseTooLarge;
    [dataTask cancel];
    return;
  }
  state->body.append(static_cast<const char*>(data.bytes), data.length);
}

- (void)URLSession:(NSURLSession*)session
                    task:(NSURLSessionTask*)task
    didCompleteWithError:(NSError*)error {
  auto found = _states.find(task.taskIdentifier);
  if (found == _states.end()) return;
  const std::shared_ptr<DataTaskState> state = std::move(found->second);
  _states.erase(found);
  if (error != nil || state->stop.code) {
    answerOnMainQueue(std::move(state->completion),
                      ornav::mac_platform::httpErrorFor(error, state->stop, state->request,
                                                        std::nullopt, state->started));
    return;
  }
  answerOnMainQueue(
      std::move(state->completion),
      ornav::HttpResponse{ornav::mac_platform::statusOf(task.response),
                          ornav::mac_platform::headersOf(task.response), std::move(state->body)});
}

@end

namespace ornav::mac_platform {

struct UrlSessionHttp::Session {
  OrnavDataTaskDelegate* delegate;
  NSURLSession* session;
};

UrlSessionHttp::UrlSessionHttp() {
  OrnavDataTaskDelegate* delegate = [[OrnavDataTaskDelegate alloc] init];
  NSURLSession* session =
      [NSURLSession sessionWithConfiguration:NSURLSessionConfiguration.defaultSessionConfiguration
                                    delegate:delegate
                               delegateQueue:delegate.queue];
  session_ = std::make_unique<Session>(Session{delegate, session});
}

UrlSessionHttp::~UrlSessionHttp() {
  // The session keeps its delegate until every cancelled task has reported.
  [session_->session invalidateAndCancel];
}

void UrlSessionHttp::dataTask(const HttpRequest& request,
                              std::function<void(HttpResult)> completion) {
  // A bad address still completes asynchronously, like every other failure.
  std::optional<HttpError> refused = checkRequestUrl(request.url);
  NSURL* url = refused ? nil : [NSURL URLWithString:toNSString(request.url)];
  if (!refused && url == nil) refused = makeHttpError(HttpError::Code::badUrl, request.url);
  if (refused) {
    answerOnMainQueue(std::move(completion), *refused);
    return;
  }
  auto state = std::make_shared<DataTaskState>();
  state->request = request;
  state->completion = std::move(completion);
  NSURLSessionDataTask* task = [session_->session dataTaskWithRequest:urlRequestFor(url, request)];
  [session_->delegate startTask:task state:state];
}

}  // namespace ornav::mac_platform
