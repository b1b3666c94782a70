#include "testing/fake_http.h"

namespace ornav::testing {

void FakeHttpSession::dataTask(const HttpRequest& request,
                               std::function<void(HttpResult)> completion) {
  std::function<HttpResult(const HttpRequest&)> responder;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    responder = responder_;
    if (!responder) {
      pending_.push_back({request, std::move(completion)});
      return;
    }
  }
  HttpResult result = responder(request);
  mainQueue_.post([completion = std::move(completion), result = std::move(result)]() mutable {
    completion(std::move(result));
  });
}

void FakeHttpSession::setResponder(std::function<HttpResult(const HttpRequest&)> responder) {
  std::lock_guard lock(mutex_);
  responder_ = std::move(responder);
}

std::vector<HttpRequest> FakeHttpSession::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t FakeHttpSession::pendingCount() const {
  std::lock_guard lock(mutex_);
  return pending_.size();
}

bool FakeHttpSession::respond(HttpResult result) {
  Pending oldest;
  {
    std::lock_guard lock(mutex_);
    if (pending_.empty()) return false;
    oldest = std::move(pending_.front());
    pending_.erase(pending_.begin());
  }
  mainQueue_.post([completion = std::move(oldest.completion),
                   result = std::move(result)]() mutable { completion(std::move(result)); });
  return true;
}

bool FakeHttpSession::respondJson(int status, const std::string& body) {
  return respond(HttpResponse{status, {{"Content-Type", "application/json"}}, body});
}

bool FakeHttpSession::fail(HttpError::Code code, const std::string& detail) {
  return respond(HttpError{.code = code, .detail = detail});
}

}  // namespace ornav::testing
