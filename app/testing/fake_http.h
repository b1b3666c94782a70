// HTTP fakes: a session whose requests wait for the test to answer them (or an automatic
// responder), and a download session whose transfers the test drives step by step.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ports/http_session.h"
#include "ports/main_queue.h"

namespace ornav::testing {

class FakeHttpSession : public HttpSession {
 public:
  // Completions are posted to `mainQueue`, as the real session does.
  explicit FakeHttpSession(MainQueue& mainQueue) : mainQueue_(mainQueue) {}

  void dataTask(const HttpRequest& request, std::function<void(HttpResult)> completion) override;

  // Answers every later request at once (still through the main queue); null turns it off.
  void setResponder(std::function<HttpResult(const HttpRequest&)> responder);

  // Every request made so far, in order.
  std::vector<HttpRequest> requests() const;
  // Requests not yet answered.
  std::size_t pendingCount() const;
  // Answers the oldest unanswered request (posting its completion); false when none waits.
  bool respond(HttpResult result);
  bool respondJson(int status, const std::string& body);
  bool fail(HttpError::Code code, const std::string& detail);

 private:
  struct Pending {
    HttpRequest request;
    std::function<void(HttpResult)> completion;
  };
  MainQueue& mainQueue_;
  mutable std::mutex mutex_;
  std::vector<HttpRequest> requests_;
  std::vector<Pending> pending_;
  std::function<HttpResult(const HttpRequest&)> responder_;
};

class FakeDownloadSession : public DownloadSession {
 public:
  class FakeTask : public DownloadTask {
   public:
    void cancel() override { cancelled = true; }
    bool cancelled = false;
  };
  struct Transfer {
    DownloadRequest request;
    DownloadHandlers handlers;
    std::shared_ptr<FakeTask> task;
  };

  std::shared_ptr<DownloadTask> download(const DownloadRequest& request,
                                         DownloadHandlers handlers) override {
    auto task = std::make_shared<FakeTask>();
    transfers.push_back({request, std::move(handlers), task});
    return task;
  }

  // The test calls the handlers of transfers[i] itself (on its own thread), e.g.
  // transfers[0].handlers.progress(10, 100).
  std::vector<Transfer> transfers;
};

}  // namespace ornav::testing
