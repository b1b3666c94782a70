// What the data-task and download sessions share: the NSURLRequest of an HttpRequest, the
// headers of a response, the HttpError of a finished task, and the delegate answer that refuses
// a redirect from https to anything else. Objective-C++ only.
#pragma once

#import <Foundation/Foundation.h>

#include <chrono>
#include <optional>

#include "ports/http_session.h"

NS_ASSUME_NONNULL_BEGIN

namespace ornav::mac_platform {

NSMutableURLRequest* urlRequestFor(NSURL* url, const HttpRequest& request);

// The response's headers as received (names in the server's spelling); none for a response
// that is not HTTP.
HttpHeaders headersOf(NSURLResponse* _Nullable response);
int statusOf(NSURLResponse* _Nullable response);

// Why this layer ended a task itself, when it did.
struct TaskStop {
  std::optional<HttpError::Code> code;
};

// The failure of a task that ended with `error` (or that this layer stopped): the kind, the
// request's address and host, the time limit for a time-out, and Foundation's own words.
HttpError httpErrorFor(NSError* _Nullable error, const TaskStop& stop, const HttpRequest& request,
                       std::optional<double> resourceTimeoutSeconds,
                       std::chrono::steady_clock::time_point started);

// Follows the redirect, or refuses it (recording the stop and cancelling the task) when the
// request was made to an https address and the redirect leads elsewhere than https.
void decideRedirect(NSURLSessionTask* task, NSURLRequest* redirect, const HttpRequest& request,
                    TaskStop& stop, void (^completionHandler)(NSURLRequest* _Nullable));

}  // namespace ornav::mac_platform

NS_ASSUME_NONNULL_END
