// The controller with its real collaborators: UpdateService over libcurl to a local web service,
// the settings file, the run loop, the logger and crash reporter, and a real engine. The cloud
// dictionary fetched by the first key event is merged into the engine and changes what the user
// sees; activation uploads the user's counts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/application.h"
#include "core/controller_test_support.h"
#include "core/update_service_bridge.h"
#include "fst_builder.h"
#include "platform/linux/testing/service_test_support.h"
#include "services/update_service_operations.h"

namespace ornav {
namespace {

using controller_testing::press;
using controller_testing::RecordingClient;
using controller_testing::RecordingMenuUI;
using controller_testing::RecordingPanel;

void writeMap(const std::filesystem::path& path, const std::map<std::string, std::uint64_t>& keys) {
  fst::Builder builder;
  for (const auto& [key, value] : keys)
    builder.insert(key, value);
  const auto bytes = builder.finish();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class ControllerWithServices : public service_testing::ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    const auto dict = temp_ / "dict";
    std::filesystem::create_directories(dict);
    std::filesystem::create_directories(temp_ / "user");
    writeMap(dict / "unigram.fst", {{"sip", 100}, {"sun", 300}});
    writeMap(dict / "bigram.fst", {{std::string("sun\x1F") + "day", 5}});
    KeyTable keys;
    for (const char* letter : {"s", "u", "n", "i", "p", "y"})
      keys[letter] = letter;

    // The application as a host builds it, over the bench's ports.
    Platform ports = platform_->ports();
    ports.clock = &clock_;
    ports.processes = &processes_;
    ports.folders = folders_.get();
    ports.systemInfo = &systemInfo_;
    ApplicationOptions options;
    options.logFiles =
        Logger::Files{(temp_ / "first.log").string(), (temp_ / "stable.log").string()};
    options.engineDirectories = EngineDirectories{dict.string(), (temp_ / "user").string()};
    options.serviceBaseURL = serviceBaseURL();
    app = std::make_unique<Application>(ports, options);
    app->keyMap() = KeyMap(std::move(keys), {});
    env = app->makeControllerEnvironment(bridge, menuUI, [this] {
      auto panel = std::make_unique<RecordingPanel>();
      panels.push_back(panel.get());
      return std::unique_ptr<CandidatePanelInterface>(std::move(panel));
    });
  }
  void TearDown() override {
    env.reset();
    app.reset();
    ServiceTest::TearDown();
  }

  std::unique_ptr<Application> app;
  UpdateServiceBridge bridge;
  RecordingMenuUI menuUI;
  std::vector<RecordingPanel*> panels;
  std::shared_ptr<ControllerEnvironment> env;
  RecordingClient client;
};

TEST_F(ControllerWithServices, FirstKeyFetchesTheCloudDictionaryOnceAndItsWordsAppear) {
  server_->reply("GET", "/api/ornav-ime/dict",
                 testing::ServerReply::json(R"({"version":"v7","tsv":"sunny\t900\n"})"));
  auto controller = OrnavInputController::create(env, &client);
  ASSERT_TRUE(controller->hasEngine());
  press(*controller, &client, 1, "s");
  runUntil([] { return UpdateServiceOperations::cloudDictVersion() == "v7"; });
  EXPECT_TRUE(logged("云端词库已更新：1 条（版本 v7）"));

  const auto dictRequests = [this] {
    std::size_t n = 0;
    for (const auto& request : server_->requests())
      n += request.path == "/api/ornav-ime/dict";
    return n;
  };
  ASSERT_EQ(dictRequests(), 1u);
  // The silent update check may reach the server first; look for the dictionary request itself.
  for (const auto& request : server_->requests()) {
    if (request.path != "/api/ornav-ime/dict") continue;
    ASSERT_EQ(request.query.count("since"), 1u);
    EXPECT_EQ(request.query.at("since"), "0");
  }

  // The merged word now leads the candidates for "s".
  press(*controller, &client, 53, "\x1b");
  press(*controller, &client, 1, "s");
  ASSERT_FALSE(panels.empty());
  EXPECT_EQ(panels[0]->updates.back().rows, (CandidateRows{{"sunny", "sun", "sip"}}));

  // Neither further keys nor a second controller fetch again.
  auto other = OrnavInputController::create(env, &client);
  press(*other, &client, 1, "s");
  settle();
  EXPECT_EQ(dictRequests(), 1u);
}

TEST_F(ControllerWithServices, NoFetchWhileTheOnlineDictionaryIsOff) {
  UpdateServiceOperations::setOnlineDictEnabled(false);
  auto controller = OrnavInputController::create(env, &client);
  press(*controller, &client, 1, "s");
  settle();
  for (const auto& request : server_->requests())
    EXPECT_NE(request.path, "/api/ornav-ime/dict");
  // Switching it on from the menu fetches at once.
  server_->reply("GET", "/api/ornav-ime/dict",
                 testing::ServerReply::json(R"({"version":"v2","unchanged":true})"));
  controller->perform(InputMenuAction::toggleOnlineDict);
  runUntil([this] { return logged("云端词库无更新（版本 v2）"); });
  EXPECT_TRUE(logged("菜单：在线词库 开启"));
  EXPECT_EQ(UpdateServiceOperations::cloudDictVersion(), "0");
}

TEST_F(ControllerWithServices, ActivationUploadsThePicksAndNotesTheClient) {
  server_->reply("POST", "/api/ornav-ime/user-dict", testing::ServerReply::json(R"({"ok":true})"));
  UpdateServiceOperations::setOnlineDictEnabled(false);
  UpdateServiceOperations::setUploadConsent(true);
  auto controller = OrnavInputController::create(env, &client);
  press(*controller, &client, 1, "s");
  press(*controller, &client, 49, " ");  // picks "sun"
  ASSERT_EQ(client.inserted(), "sun ");
  controller->activateServer(&client);
  runUntil([this] { return logged("用户词库上传成功/跳过"); });
  bool uploaded = false;
  for (const auto& request : server_->requests()) {
    if (request.path != "/api/ornav-ime/user-dict") continue;
    uploaded = true;
    EXPECT_NE(request.body.find(R"("word":"sun")"), std::string::npos) << request.body;
  }
  EXPECT_TRUE(uploaded);
  EXPECT_TRUE(logged("activateServer: 输入法被激活"));
  EXPECT_EQ(app->crashReporter().lastClientApp(), "com.example.editor");
}

}  // namespace
}  // namespace ornav
