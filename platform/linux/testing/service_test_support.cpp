#include "platform/linux/testing/service_test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <fstream>

namespace ornav::service_testing {

namespace {

// One complete exchange with the server. Stopping the loopback server right after it started can
// race with its accept loop starting up and hang; after one served connection it stops cleanly.
void exchangeOnce(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return;
  timeval limit{2, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET /__settle HTTP/1.0\r\n\r\n";
    if (::write(fd, request.data(), request.size()) == static_cast<ssize_t>(request.size())) {
      char buffer[512];
      while (::read(fd, buffer, sizeof buffer) > 0) {
      }
    }
  }
  ::close(fd);
}

}  // namespace

std::string deadBaseURL() {
  return "http://127.0.0.1:" + std::to_string(testing::unusedLoopbackPort()) + "/";
}

void ServiceTest::SetUp() {
  mainThread_ = std::this_thread::get_id();
  std::filesystem::create_directories(temp_ / "tmp");
  platform_ = std::make_unique<linux_platform::LinuxPlatform>(linux_platform::LinuxPlatformOptions{
      .settingsFile = temp_ / "settings.json", .bundle = &bundle_});
  loop_ = &platform_->runLoop();
  settings_ = &platform_->settings();
  folders_ = std::make_unique<MovableFolders>(temp_.path());
  server_ = std::make_unique<testing::LocalHttpServer>();
  processes_.handler = [this](const ProcessRequest& request) -> ProcessOutcome {
    if (request.path == "/usr/bin/osascript") return ProcessResult{};
    return realProcesses_.run(request);
  };

  const Platform ports = platform_->ports();
  environment_.settings = ports.settings;
  environment_.mainQueue = ports.mainQueue;
  environment_.backgroundQueue = ports.backgroundQueue;
  environment_.clock = &clock_;
  environment_.http = ports.http;
  environment_.downloads = ports.downloads;
  environment_.processes = &processes_;
  environment_.folders = folders_.get();
  environment_.systemInfo = &systemInfo_;
  environment_.baseURL = serviceBaseURL();
  environment_.version = "2.0";
  installClient();

  logger_ = std::make_unique<Logger>(
      Logger::Files{(temp_ / "first.log").string(), (temp_ / "stable.log").string()}, nullptr,
      &clock_);
  loggerInstallation_ = std::make_unique<InstalledLogger>(*logger_);
}

void ServiceTest::TearDown() {
  // Requests still running end (as cancelled) before the ports they use go away.
  exchangeOnce(server_->port());
  server_->stop();
  clientInstallation_.reset();
  loggerInstallation_.reset();
  loop_ = nullptr;
  settings_ = nullptr;
  platform_.reset();
  std::error_code ignored;
  std::filesystem::permissions(temp_.path(), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
}

void ServiceTest::installClient() {
  clientInstallation_.reset();
  client_ = std::make_unique<ServiceClient>(environment_);
  clientInstallation_ = std::make_unique<InstalledServiceClient>(*client_);
}

void ServiceTest::setRunningVersion(const std::string& version) {
  environment_.version = version;
  installClient();
}

void ServiceTest::pointServiceAt(const std::string& baseURL) {
  environment_.baseURL = baseURL;
  installClient();
}

void ServiceTest::setServiceTimeout(std::optional<double> seconds) {
  environment_.timeoutSeconds = seconds;
  installClient();
}

void ServiceTest::runUntil(const std::function<bool()>& done, double seconds) {
  const bool reached = loop_->runUntil(done, Seconds(seconds));
  ASSERT_TRUE(reached) << "timed out waiting on the main queue";
}

void ServiceTest::settle() {
  loop_->runFor(Seconds(0.05));
}

std::vector<std::string> ServiceTest::logMessages() const {
  std::vector<std::string> messages;
  std::ifstream in(temp_ / "stable.log");
  std::string line;
  while (std::getline(in, line)) {
    // "[yyyy-MM-dd HH:mm:ss.SSS] message"
    const size_t close = line.find("] ");
    messages.push_back(close == std::string::npos ? line : line.substr(close + 2));
  }
  return messages;
}

bool ServiceTest::logged(const std::string& message) const {
  for (const std::string& line : logMessages()) {
    if (line == message) return true;
  }
  return false;
}

}  // namespace ornav::service_testing
