#include "diagnostics/crash_reporter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "base/url_text.h"
#include "diagnostics/logger.h"
#include "platform/linux/curl_http_session.h"
#include "platform/linux/file_settings.h"
#include "platform/linux/run_loop.h"
#include "platform/linux/system_services.h"
#include "testing/local_http_server.h"

extern char** environ;

namespace ornav {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

fs::path freshFolder(const std::string& name) {
  const fs::path folder =
      fs::temp_directory_path() / ("ornav_crash_" + std::to_string(getpid()) + "_" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// ---- Real crashes in a child process ----

struct ChildEnd {
  pid_t pid = -1;
  int status = 0;
  bool signaled() const { return WIFSIGNALED(status); }
  int signal() const { return WIFSIGNALED(status) ? WTERMSIG(status) : 0; }
};

// Runs the helper with HOME and the XDG folders inside `home`.
ChildEnd runHelper(const fs::path& home, const std::string& how) {
  std::vector<std::string> env = {
      "HOME=" + home.string(),
      "XDG_DATA_HOME=" + (home / "data").string(),
      "XDG_CONFIG_HOME=" + (home / "config").string(),
      "XDG_CACHE_HOME=" + (home / "cache").string(),
      "TZ=UTC",
  };
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "PATH"}) {
    if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
  }
  std::vector<char*> envp;
  for (std::string& entry : env)
    envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = ORNAV_CRASH_HELPER;
  std::vector<char*> argv = {program.data(), const_cast<char*>(how.c_str()), nullptr};

  // Keep the helper's expected complaints off the test output.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (home / "stderr.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ChildEnd end;
  const int spawned =
      posix_spawn(&end.pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return end;
  }
  while (waitpid(end.pid, &end.status, 0) < 0 && errno == EINTR) {
  }
  return end;
}

class RealCrash : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = freshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override { fs::remove_all(home_); }

  fs::path support() const { return home_ / "data" / "Ornavel"; }
  fs::path crashes() const { return support() / "crashes"; }
  fs::path marker() const { return crashes() / "fatal_signal.txt"; }
  nlohmann::json context() const {
    return nlohmann::json::parse(readFile(support() / "crash_context.json"));
  }
  std::vector<fs::path> reports() const {
    std::vector<fs::path> found;
    for (const std::string& name : namesIn(crashes())) {
      if (name.size() > 5 && name.substr(name.size() - 5) == ".json") {
        found.push_back(crashes() / name);
      }
    }
    return found;
  }
  // The signal cases: the process ended by that signal and left only the marker.
  void expectSignalMarker(const std::string& how, int signal) {
    const ChildEnd end = runHelper(home_, how);
    ASSERT_TRUE(end.signaled()) << "exit status " << end.status;
    EXPECT_EQ(end.signal(), signal);
    EXPECT_EQ(readFile(marker()), std::to_string(signal) + "\n");
    struct stat info {};
    ASSERT_EQ(stat(marker().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_TRUE(reports().empty());
    EXPECT_EQ(context()["stage"], "select-candidate");
  }

  fs::path home_;
};

TEST_F(RealCrash, SegmentationFaultLeavesMarker11) {
  expectSignalMarker("segv", SIGSEGV);
}
TEST_F(RealCrash, AbortLeavesMarker6) {
  expectSignalMarker("abort", SIGABRT);
}
TEST_F(RealCrash, FloatingPointSignalLeavesMarker8) {
  expectSignalMarker("fpe", SIGFPE);
}
TEST_F(RealCrash, IllegalInstructionLeavesMarker4) {
  expectSignalMarker("ill", SIGILL);
}
TEST_F(RealCrash, StackOverflowIsRecordedToo) {
  expectSignalMarker("stack-overflow", SIGSEGV);
}
TEST_F(RealCrash, TerminateWithoutExceptionEndsAsAbort) {
  expectSignalMarker("terminate", SIGABRT);
}

TEST_F(RealCrash, ContextFileHoldsTheLastStage) {
  const ChildEnd end = runHelper(home_, "exit");
  ASSERT_FALSE(end.signaled());
  const nlohmann::json noted = context();
  EXPECT_EQ(noted.size(), 5u);
  EXPECT_EQ(noted["stage"], "select-candidate");
  EXPECT_EQ(noted["details"], (nlohmann::json{{"host", "com.example.TextEdit"}, {"index", "7"}}));
  EXPECT_EQ(noted["host"], "com.example.TextEdit");
  EXPECT_EQ(noted["pid"], end.pid);
  EXPECT_TRUE(std::regex_match(noted["time"].get<std::string>(),
                               std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));
  // Atomic replacement leaves no temporary files behind, and an orderly end no reports.
  EXPECT_THAT(namesIn(support()), UnorderedElementsAre("crash_context.json", "crashes", "logs"));
  EXPECT_TRUE(namesIn(crashes()).empty());
}

TEST_F(RealCrash, UncaughtExceptionWritesOneReport) {
  const ChildEnd end = runHelper(home_, "throw");
  ASSERT_TRUE(end.signaled());
  EXPECT_EQ(end.signal(), SIGABRT);
  const auto found = reports();
  ASSERT_EQ(found.size(), 1u);
  // One crash, one report: the abort after the exception leaves no marker.
  EXPECT_FALSE(fs::exists(marker()));
  EXPECT_TRUE(std::regex_match(found[0].filename().string(), std::regex(R"(\d{13}\.json)")));

  const nlohmann::json report = nlohmann::json::parse(readFile(found[0]));
  EXPECT_EQ(report.size(), 15u);
  EXPECT_TRUE(std::regex_match(
      report["reportID"].get<std::string>(),
      std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")));
  EXPECT_EQ(report["type"], "exception");
  EXPECT_EQ(report["name"], "std::runtime_error");
  EXPECT_EQ(report["reason"], "候选词索引越界 (index 7 of 5)");
  EXPECT_THAT(report["stack"].get<std::string>(), HasSubstr("\n"));
  EXPECT_EQ(report["version"], "1.0");  // the helper has no bundle
  const auto settings =
      nlohmann::json::parse(readFile(home_ / "config" / "Ornavel" / "settings.json"));
  EXPECT_EQ(report["device"], settings["Ornavel.deviceID"]["string"]);
  EXPECT_EQ(report["host"], "com.example.TextEdit");
  EXPECT_EQ(report["context"]["stage"], "select-candidate");
  EXPECT_EQ(report["context"]["details"]["index"], "7");
  ASSERT_TRUE(report["logTail"].is_array());
  ASSERT_FALSE(report["logTail"].empty());
  EXPECT_THAT(report["logTail"].back().get<std::string>(), HasSubstr("崩溃测试：即将结束"));
  EXPECT_EQ(report["bundleID"], "");
  EXPECT_EQ(report["process"], "crash_helper");
  EXPECT_EQ(report["pid"], end.pid);
  EXPECT_TRUE(std::regex_match(report["os"].get<std::string>(), std::regex(R"(\d+\.\d+\.\d+)")));
  EXPECT_TRUE(std::regex_match(report["time"].get<std::string>(),
                               std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));
}

TEST_F(RealCrash, ExceptionOfAnyTypeIsReported) {
  const ChildEnd end = runHelper(home_, "throw-int");
  ASSERT_TRUE(end.signaled());
  const auto found = reports();
  ASSERT_EQ(found.size(), 1u);
  const nlohmann::json report = nlohmann::json::parse(readFile(found[0]));
  EXPECT_EQ(report["name"], "int");
  EXPECT_EQ(report["reason"], "");
}

TEST_F(RealCrash, SecondSignalReplacesTheMarker) {
  runHelper(home_, "segv");
  runHelper(home_, "abort");
  EXPECT_EQ(readFile(marker()), "6\n");
}

// ---- Uploading what earlier runs left ----

// The crash endpoint of the local service. `answer` decides the reply to each body.
class CrashService {
 public:
  using Answer = std::function<std::string(const nlohmann::json& body)>;

  explicit CrashService(Answer answer) : server_(std::make_unique<testing::LocalHttpServer>()) {
    server_->handle("POST", "/api/ornav-ime/crash",
                    [answer = std::move(answer)](const testing::RecordedRequest& request) {
                      const auto body = nlohmann::json::parse(request.body, nullptr, false);
                      return testing::ServerReply::json(answer(body));
                    });
  }
  std::string baseURL() const { return server_->url("/"); }
  std::vector<nlohmann::json> bodies() const {
    std::vector<nlohmann::json> found;
    for (const auto& request : server_->requests()) {
      found.push_back(nlohmann::json::parse(request.body, nullptr, false));
    }
    return found;
  }
  std::vector<testing::RecordedRequest> requests() const { return server_->requests(); }
  std::vector<std::string> reportIDs() const {
    std::vector<std::string> ids;
    for (const auto& body : bodies())
      ids.push_back(body.value("reportID", "?"));
    std::sort(ids.begin(), ids.end());
    return ids;
  }

 private:
  std::unique_ptr<testing::LocalHttpServer> server_;
};

class CrashUpload : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = freshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    settings_ = std::make_unique<linux_platform::FileSettings>(root_ / "settings.json", nullptr);
    settings_->setString("Ornavel.deviceID", "5D1E0C2A-0000-4000-8000-000000000001");
    http_ = std::make_unique<linux_platform::CurlHttpSession>(loop_);
    logger_ =
        std::make_unique<Logger>(Logger::Files{"", (root_ / "log.txt").string()}, nullptr, nullptr);
    reportTo("");
    fs::create_directories(crashes());
  }
  void TearDown() override {
    reporter_.reset();
    http_.reset();
    fs::remove_all(root_);
  }

  // A reporter that sends to the crash endpoint under `baseURL`, as the application makes it.
  void reportTo(const std::string& baseURL) {
    reporter_ = std::make_unique<CrashReporter>(CrashReporter::Setup{
        .baseDir = root_ / "Ornavel",
        .version = "1.0",
        .deviceID = settings_->getString("Ornavel.deviceID").value_or(""),
        .reportURL = url_text::join(baseURL, "api/ornav-ime/crash"),
        .settings = settings_.get(),
        .systemInfo = &systemInfo_,
        .http = http_.get(),
        .logger = logger_.get(),
    });
  }

  fs::path crashes() const { return root_ / "Ornavel" / "crashes"; }
  fs::path contextFile() const { return root_ / "Ornavel" / "crash_context.json"; }

  // Starts the upload and waits until every answer has been handled on the main queue.
  void uploadAndWait() {
    reporter_->uploadPending();
    // runUntil checks after each item it runs, so only wait while answers are outstanding.
    if (reporter_->uploadsInFlight() == 0) return;
    ASSERT_TRUE(loop_.runUntil([this] { return reporter_->uploadsInFlight() == 0; },
                               std::chrono::seconds(20)));
  }

  fs::path root_;
  linux_platform::RunLoop loop_;
  linux_platform::ProcessSystemInfo systemInfo_;
  std::unique_ptr<linux_platform::FileSettings> settings_;
  std::unique_ptr<linux_platform::CurlHttpSession> http_;
  std::unique_ptr<Logger> logger_;
  std::unique_ptr<CrashReporter> reporter_;
};

TEST_F(CrashUpload, AcknowledgedReportsAreDeletedTheOthersStay) {
  CrashService service([](const nlohmann::json& body) -> std::string {
    const std::string id = body.value("reportID", "");
    if (id == "refused") return R"({"ok": false})";
    if (id == "garbled") return "<html>502</html>";
    if (id == "numeric") return R"({"ok": 1})";
    if (id == "stringly") return R"({"ok": "true"})";
    return R"({"ok": true, "id": 9})";
  });
  reportTo(service.baseURL());

  std::string longStack(25000, 's');
  writeFile(crashes() / "1700000000001.json",
            nlohmann::json{{"reportID", "accepted"}, {"type", "exception"}}.dump());
  writeFile(crashes() / "1700000000002.json", R"({"reportID": "refused"})");
  writeFile(crashes() / "1700000000003.json", R"({"reportID": "garbled"})");
  writeFile(crashes() / "1700000000004.json",
            nlohmann::json{{"type", "exception"},
                           {"stack", longStack},
                           {"context", {{"stage", "insert-text"}}},
                           {"logTail", {"私人文字"}},
                           {"bundleID", "com.ornav.inputmethod.Ornavel"},
                           {"process", "Ornavel"},
                           {"pid", 321}}
                .dump());
  writeFile(crashes() / "1700000000005.json", R"({"reportID": "numeric"})");
  writeFile(crashes() / "1700000000006.json", R"({"reportID": "stringly"})");
  writeFile(crashes() / "broken.json", "{not json");
  writeFile(crashes() / "list.json", "[1, 2]");
  writeFile(crashes() / "notes.txt", "not a report");
  writeFile(crashes() / "fatal_signal.txt", "11\n");
  const auto markerTime = fs::last_write_time(crashes() / "fatal_signal.txt");

  uploadAndWait();

  EXPECT_THAT(service.reportIDs(),
              ElementsAre("1700000000004", "accepted", "garbled", "numeric", "refused",
                          ::testing::StartsWith("signal-11-"), "stringly"));
  EXPECT_THAT(namesIn(crashes()),
              ElementsAre("1700000000002.json", "1700000000003.json", "1700000000006.json",
                          "broken.json", "list.json", "notes.txt"));
  for (const auto& request : service.requests()) {
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.header("Content-Type"), "application/json");
    EXPECT_EQ(request.header("User-Agent"), "Ornavel/1.0");
  }

  for (const nlohmann::json& body : service.bodies()) {
    EXPECT_EQ(body.size(), 10u);
    for (const auto& [key, value] : body.items())
      EXPECT_TRUE(value.is_string()) << key;
    const std::string id = body["reportID"];
    if (id == "1700000000004") {
      EXPECT_EQ(body["stack"].get<std::string>().size(), 20000u);
      EXPECT_EQ(body.dump().find("私人文字"), std::string::npos);
      EXPECT_EQ(body.dump().find("insert-text"), std::string::npos);
    }
    if (id.rfind("signal-11-", 0) == 0) {
      EXPECT_EQ(body["type"], "signal");
      EXPECT_EQ(body["name"], "SIGSEGV");
      EXPECT_EQ(body["reason"], "fatal signal 11");
      EXPECT_EQ(body["stack"], "");
      EXPECT_EQ(body["version"], "1.0");
      EXPECT_EQ(body["device"], settings_->getString("Ornavel.deviceID").value_or("?"));
      EXPECT_TRUE(std::regex_match(body["os"].get<std::string>(), std::regex(R"(\d+\.\d+\.\d+)")));
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::file_clock::to_sys(markerTime).time_since_epoch());
      EXPECT_EQ(id, "signal-11-" + std::to_string(ms.count()));
    }
  }

  const nlohmann::json context = nlohmann::json::parse(readFile(contextFile()));
  EXPECT_EQ(context["stage"], "upload-pending-crashes");
  EXPECT_EQ(context["details"], (nlohmann::json{{"count", "9"}}));  // 8 ".json" names + marker

  // What stayed is offered again at the next start.
  uploadAndWait();
  EXPECT_EQ(service.bodies().size(), 7u + 3u);
}

TEST_F(CrashUpload, MarkerThatIsNoNumberStaysAndIsCounted) {
  CrashService service([](const nlohmann::json&) { return R"({"ok": true})"; });
  reportTo(service.baseURL());
  writeFile(crashes() / "fatal_signal.txt", "segfault\n");
  for (int run = 0; run < 2; ++run) {
    uploadAndWait();
    EXPECT_TRUE(service.bodies().empty());
    EXPECT_TRUE(fs::exists(crashes() / "fatal_signal.txt"));
    const nlohmann::json context = nlohmann::json::parse(readFile(contextFile()));
    EXPECT_EQ(context["details"], (nlohmann::json{{"count", "1"}}));
  }
}

TEST_F(CrashUpload, UnknownSignalIsNamedByNumber) {
  CrashService service([](const nlohmann::json&) { return R"({"ok": true})"; });
  reportTo(service.baseURL());
  writeFile(crashes() / "fatal_signal.txt", " 99 \n");
  uploadAndWait();
  ASSERT_EQ(service.bodies().size(), 1u);
  EXPECT_EQ(service.bodies()[0]["name"], "SIG99");
  EXPECT_EQ(service.bodies()[0]["reason"], "fatal signal 99");
  EXPECT_FALSE(fs::exists(crashes() / "fatal_signal.txt"));
}

TEST_F(CrashUpload, MarkerIsNamedByThisSystemsSignalNumbers) {
  CrashService service([](const nlohmann::json&) { return R"({"ok": true})"; });
  reportTo(service.baseURL());
  writeFile(crashes() / "fatal_signal.txt", std::to_string(SIGBUS) + "\n");  // 7 on Linux
  uploadAndWait();
  ASSERT_EQ(service.bodies().size(), 1u);
  EXPECT_EQ(service.bodies()[0]["name"], "SIGBUS");
}

TEST_F(CrashUpload, NothingStoredMeansNoStageAndNoRequest) {
  CrashService service([](const nlohmann::json&) { return R"({"ok": true})"; });
  reportTo(service.baseURL());
  writeFile(crashes() / "notes.txt", "x");
  uploadAndWait();
  EXPECT_TRUE(service.bodies().empty());
  EXPECT_FALSE(fs::exists(contextFile()));
}

TEST_F(CrashUpload, UnusableEndpointSendsNothing) {
  writeFile(crashes() / "1.json", R"({"reportID": "a"})");
  reportTo("");
  uploadAndWait();
  EXPECT_TRUE(fs::exists(crashes() / "1.json"));
  EXPECT_FALSE(fs::exists(contextFile()));
}

TEST_F(CrashUpload, UnreachableServiceKeepsEverything) {
  const int port = testing::unusedLoopbackPort();
  reportTo("http://127.0.0.1:" + std::to_string(port) + "/");
  writeFile(crashes() / "1.json", R"({"reportID": "a"})");
  writeFile(crashes() / "fatal_signal.txt", "11\n");
  uploadAndWait();
  EXPECT_THAT(namesIn(crashes()), ElementsAre("1.json", "fatal_signal.txt"));
}

TEST_F(CrashUpload, EmptyAnswerKeepsTheReport) {
  CrashService service([](const nlohmann::json&) { return std::string(); });
  reportTo(service.baseURL());
  writeFile(crashes() / "1.json", R"({"reportID": "a"})");
  uploadAndWait();
  EXPECT_EQ(service.bodies().size(), 1u);
  EXPECT_TRUE(fs::exists(crashes() / "1.json"));
}

TEST_F(CrashUpload, ClientAppIsRememberedUnlessEmpty) {
  EXPECT_EQ(reporter_->lastClientApp(), "");
  reporter_->noteClientApp(std::string("com.apple.Notes"));
  reporter_->noteClientApp(std::string(""));
  reporter_->noteClientApp(std::nullopt);
  EXPECT_EQ(reporter_->lastClientApp(), "com.apple.Notes");
  reporter_->noteStage("activate-server", {{"host", "com.apple.Notes"}});
  const nlohmann::json context = nlohmann::json::parse(readFile(contextFile()));
  EXPECT_EQ(context["host"], "com.apple.Notes");
  EXPECT_EQ(context["details"]["host"], "com.apple.Notes");
  EXPECT_EQ(context["pid"], getpid());
}

}  // namespace
}  // namespace ornav
