// A test bench for the service operations: the real Linux ports (run loop as the main queue,
// libcurl data tasks and downloads, file settings, worker pool) talking to the loopback test
// server, with a settable clock, a scripted process runner and the log in a temporary folder; the
// service client and the log are installed as the application would install its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/temporary_folder.h"
#include "diagnostics/logger.h"
#include "platform/linux/linux_platform.h"
#include "ports/bundle.h"
#include "services/service_client.h"
#include "testing/fake_clock.h"
#include "testing/fake_process_runner.h"
#include "testing/fake_system.h"
#include "testing/local_http_server.h"

namespace ornav::service_testing {

// User folders whose caches folder a test can move (to a path with a quote, or onto a file).
class MovableFolders : public Folders {
 public:
  explicit MovableFolders(std::filesystem::path root)
      : root_(std::move(root)), cachesPath(root_ / "caches") {}
  std::filesystem::path home() const override { return root_ / "home"; }
  std::filesystem::path applicationSupport() const override { return root_ / "support"; }
  std::filesystem::path caches() const override { return cachesPath; }
  std::filesystem::path temporary() const override { return root_ / "tmp"; }

 private:
  std::filesystem::path root_;

 public:
  std::filesystem::path cachesPath;
};

// "http://127.0.0.1:<port>/" where nothing listens.
std::string deadBaseURL();

// What a completion received, and whether every call came on the main thread.
template <typename T>
struct Outcome {
  std::vector<T> values;
  int offMainCalls = 0;
};

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the main queue until `done` or a generous limit; fails the test on the limit.
  void runUntil(const std::function<bool()>& done, double seconds = 20);
  // Lets the main queue run a little longer, so a second completion would show.
  void settle();

  // A completion that records into `outcome` (which must outlive the operation).
  template <typename T>
  std::function<void(T)> recorder(Outcome<T>& outcome) {
    const std::thread::id main = mainThread_;
    return [&outcome, main](T value) {
      if (std::this_thread::get_id() != main) ++outcome.offMainCalls;
      outcome.values.push_back(std::move(value));
    };
  }

  // Starts an operation, checks that its completion did not run inside the call, waits for it,
  // checks that it ran exactly once and on the main thread, and returns its value.
  template <typename T>
  T await(const std::function<void(std::function<void(T)>)>& start) {
    Outcome<T> outcome;
    start(recorder(outcome));
    EXPECT_TRUE(outcome.values.empty()) << "completion ran inside the call";
    runUntil([&] { return !outcome.values.empty(); });
    settle();
    EXPECT_EQ(outcome.values.size(), 1u) << "completion must run exactly once";
    EXPECT_EQ(outcome.offMainCalls, 0) << "completion must run on the main thread";
    if (outcome.values.empty()) return T{};
    return outcome.values.front();
  }

  // The messages logged since the test began, without their timestamps.
  std::vector<std::string> logMessages() const;
  bool logged(const std::string& message) const;
  // The service client the operations run on, rebuilt with one fact changed.
  void pointServiceAt(const std::string& baseURL);
  std::string serviceBaseURL() const { return server_->url("/"); }
  void setRunningVersion(const std::string& version);
  void setServiceTimeout(std::optional<double> seconds);

  TemporaryFolder temp_;
  std::thread::id mainThread_;
  std::unique_ptr<linux_platform::LinuxPlatform> platform_;
  linux_platform::RunLoop* loop_ = nullptr;
  linux_platform::FileSettings* settings_ = nullptr;
  std::unique_ptr<MovableFolders> folders_;
  testing::FakeClock clock_;
  testing::FakeBundle bundle_;
  testing::FakeSystemInfo systemInfo_;
  // Scripted by the tests; the checksum tool runs for real unless a test says otherwise.
  testing::FakeProcessRunner processes_;
  linux_platform::PosixProcessRunner realProcesses_;
  std::unique_ptr<testing::LocalHttpServer> server_;

 private:
  void installClient();

  std::unique_ptr<Logger> logger_;
  std::unique_ptr<InstalledLogger> loggerInstallation_;
  ServiceEnvironment environment_;
  std::unique_ptr<ServiceClient> client_;
  std::unique_ptr<InstalledServiceClient> clientInstallation_;
};

}  // namespace ornav::service_testing
