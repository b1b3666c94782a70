// A process runner that records requests and answers from a script instead of starting anything.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "ports/process_runner.h"

namespace ornav::testing {

class FakeProcessRunner : public ProcessRunner {
 public:
  // Answers each request; by default every process "exits" with status 0 and no output.
  std::function<ProcessOutcome(const ProcessRequest&)> handler;

  ProcessOutcome run(const ProcessRequest& request) override {
    std::function<ProcessOutcome(const ProcessRequest&)> answer;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      answer = handler;
    }
    if (answer) return answer(request);
    return ProcessResult{};
  }

  // Programs started with launch(), and whether they "start".
  std::vector<ProcessRequest> launched;
  bool launchSucceeds = true;
  bool launch(const std::string& path, const std::vector<std::string>& arguments) override {
    std::lock_guard lock(mutex_);
    launched.push_back(ProcessRequest{path, arguments, std::nullopt, false, false});
    return launchSucceeds;
  }

  std::vector<ProcessRequest> requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<ProcessRequest> requests_;
};

}  // namespace ornav::testing
