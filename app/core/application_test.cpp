#include "core/application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "base/files.h"
#include "core/update_service_bridge.h"
#include "services/update_service.h"
#include "testing/fake_platform.h"

namespace ornav {
namespace {

using testing::FakePlatform;

class ApplicationTest : public ::testing::Test {
 protected:
  std::string stableLog() const {
    return readWholeFile(fakes_.folders.applicationSupport() / "Ornavel" / "logs" / "ornav_ime.log")
        .value_or("");
  }
  // The messages of the stable log, without their timestamps.
  std::vector<std::string> logMessages() const {
    std::vector<std::string> messages;
    std::istringstream lines(stableLog());
    for (std::string line; std::getline(lines, line);) {
      const auto close = line.find("] ");
      messages.push_back(close == std::string::npos ? line : line.substr(close + 2));
    }
    return messages;
  }
  // Keeps the shared temporary log out of the tests.
  ApplicationOptions quiet() {
    ApplicationOptions options;
    options.logFiles = Logger::Files{"", Logger::stablePathIn(fakes_.folders)};
    return options;
  }

  FakePlatform fakes_;
};

TEST_F(ApplicationTest, IdentityComesFromTheBundleAndTheSettings) {
  fakes_.bundle.info["CFBundleIdentifier"] = std::string("com.example.im");
  fakes_.bundle.info["CFBundleShortVersionString"] = std::string(" 1.4.2 ");
  fakes_.bundle.info[kServiceBaseURLInfoKey] = std::string("https://ime.example/");
  Application app(fakes_.ports(), quiet());
  EXPECT_EQ(app.identity().bundleIdentifier, "com.example.im");
  EXPECT_EQ(app.identity().version, " 1.4.2 ");  // as written
  EXPECT_EQ(app.identity().serviceBaseURL, "https://ime.example/");
  EXPECT_EQ(app.identity().deviceID.size(), 36u);
  EXPECT_EQ(fakes_.settings.getString("Ornavel.deviceID"), app.identity().deviceID);
  EXPECT_EQ(app.crashReporter().reportURL(), "https://ime.example/api/ornav-ime/crash");
  // The device identifier is made once and kept for the next start.
  const std::string device = app.identity().deviceID;
  Application again(fakes_.ports(), quiet());
  EXPECT_EQ(again.identity().deviceID, device);
}

TEST_F(ApplicationTest, TheServiceAddressChosenAtRunTimeReplacesTheBuildsValue) {
  fakes_.bundle.info[kServiceBaseURLInfoKey] = std::string("https://built.example/");
  // The environment, the setting, the host's own choice: the address.
  const std::tuple<const char*, const char*, std::optional<std::string>, std::string> rows[] = {
      {nullptr, nullptr, {}, "https://built.example/"},
      {"", "", {}, "https://built.example/"},  // empty values choose nothing
      {nullptr, "https://setting.example/", {}, "https://setting.example/"},
      {"http://127.0.0.1:8080/", "https://setting.example/", {}, "http://127.0.0.1:8080/"},
      {"http://127.0.0.1:8080/", nullptr, std::string(""), ""},
  };
  for (const auto& [environment, setting, hostsChoice, expected] : rows) {
    environment ? ::setenv(kServiceBaseURLEnvironmentVariable, environment, 1)
                : ::unsetenv(kServiceBaseURLEnvironmentVariable);
    if (setting) fakes_.settings.setString(kServiceBaseURLSettingKey, setting);
    if (!setting) fakes_.settings.remove(kServiceBaseURLSettingKey);
    ApplicationOptions options = quiet();
    options.serviceBaseURL = hostsChoice;
    EXPECT_EQ(Application(fakes_.ports(), options).identity().serviceBaseURL, expected);
  }
  ::unsetenv(kServiceBaseURLEnvironmentVariable);
}

TEST_F(ApplicationTest, MissingFactsFallBack) {
  fakes_.bundle.info.erase("CFBundleIdentifier");
  fakes_.bundle.info["CFBundleShortVersionString"] = std::int64_t{2};  // not a string
  Application app(fakes_.ports(), quiet());
  EXPECT_EQ(app.identity().bundleIdentifier, "com.ornav.inputmethod.Ornavel");
  EXPECT_EQ(app.identity().version, "1.0");
  EXPECT_EQ(app.identity().serviceBaseURL, "");  // the service is not configured
  EXPECT_EQ(app.crashReporter().reportURL(), "api/ornav-ime/crash");

  Platform none;
  Application bare(none);
  EXPECT_EQ(bare.identity().bundleIdentifier, "com.ornav.inputmethod.Ornavel");
  EXPECT_FALSE(bare.engineDirectories());
  EXPECT_EQ(bare.logger().files().stable, "");
}

TEST_F(ApplicationTest, StaticEntryPointsReachTheLivingApplicationOnly) {
  {
    ApplicationOptions options = quiet();
    options.serviceBaseURL = "https://override.example/";
    Application app(fakes_.ports(), options);
    Logger::write("你好");
    EXPECT_EQ(logMessages(), std::vector<std::string>{"你好"});
    EXPECT_EQ(UpdateService::aboutURL(), "https://override.example/api/ornav-ime/about");
    UpdateService::setHasShownWelcome(true);
    EXPECT_EQ(fakes_.settings.getBool("Ornavel.welcomeShown"), true);
  }
  Logger::write("nobody hears this");
  EXPECT_EQ(logMessages().size(), 1u);
  EXPECT_EQ(UpdateService::aboutURL(), "api/ornav-ime/about");
}

TEST_F(ApplicationTest, ProcessEntryRunsOverItsParts) {
  fakes_.bundle.addResource("keymap.json", R"({"map": {"a": "ا"}})");
  Application app(fakes_.ports(), quiet());
  bool ran = false;
  const int status = runProcessEntry(app.processEntrySteps(
      [](const std::string& name, const std::string& bundleID) {
        return name == kConnectionName && bundleID == "com.ornav.inputmethod.Ornavel";
      },
      [&] { ran = true; }));
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(ran);
  EXPECT_EQ(logMessages(), (std::vector<std::string>{
                               "===== 进程启动 =====",
                               "bundleID=com.ornav.inputmethod.Ornavel",
                               "connectionName=com.ornav.inputmethod.Ornavel_Connection",
                               "IMKServer 已创建: true",
                               "键位映射加载完成，进入 run loop",
                           }));
  EXPECT_EQ(app.keyMap().map("a"), "ا");
  // The key map reports to the system log (where every log line also goes).
  EXPECT_THAT(fakes_.systemLog.lines(), ::testing::Contains("[Ornavel] 已加载映射 1 条"));
  const auto context = readWholeFile(app.crashReporter().contextPath());
  ASSERT_TRUE(context);
  EXPECT_NE(context->find("\"stage\":\"keymap-loaded\""), std::string::npos) << *context;
}

TEST_F(ApplicationTest, ControllersSeeTheKeyMapLoadedAfterTheirEnvironment) {
  ApplicationOptions options = quiet();
  options.engineDirectories = EngineDirectories{"/nonexistent/dict", std::nullopt};
  Application app(fakes_.ports(), options);
  UpdateServiceBridge services;
  NoMenuUI menu;
  auto env = app.makeControllerEnvironment(services, menu, [] { return nullptr; });
  EXPECT_EQ(env->keyMap, &app.keyMap());
  EXPECT_EQ(env->mainQueue, &fakes_.mainQueue);
  // An engine that cannot open its dictionary is logged through the application's log.
  EXPECT_EQ(env->makeEngine(), nullptr);
  EXPECT_EQ(logMessages(),
            std::vector<std::string>{"OrnavEngine: 引擎创建失败，词典目录=/nonexistent/dict"});
  env->diagnostics.noteClientApp(std::string("com.example.editor"));
  EXPECT_EQ(app.crashReporter().lastClientApp(), "com.example.editor");
}

// The chosen layout is loaded at start and a switch is kept only when its key map loads.
TEST_F(ApplicationTest, KeyLayoutComesFromTheSettingsAndSwitchesOnlyToAMapThatLoads) {
  fakes_.bundle.addResource("keymap.json", R"({"map": {"a": "ا"}})");
  fakes_.settings.setString(kKeyLayoutSettingsKey, "uly");
  Application app(fakes_.ports(), quiet());
  app.loadKeyMap();  // no keymap-uly.json: the phonetic map serves
  EXPECT_EQ(app.keyMap().layout(), KeyLayout::phonetic);
  EXPECT_EQ(app.keyMap().map("a"), "ا");
  EXPECT_FALSE(app.switchKeyLayout(KeyLayout::uly));
  fakes_.bundle.addResource("keymap-uly.json", R"({"map": {"a": "ئا"}, "digraphs": {"sh": "ش"}})");
  fakes_.settings.setString(kKeyLayoutSettingsKey, "phonetic");
  EXPECT_TRUE(app.switchKeyLayout(KeyLayout::uly));
  EXPECT_EQ(fakes_.settings.getString(kKeyLayoutSettingsKey), "uly");
  Application again(fakes_.ports(), quiet());
  again.loadKeyMap();
  EXPECT_EQ(again.keyMap().layout(), KeyLayout::uly);
  EXPECT_EQ(again.keyMap().extras().digraphText("s", "h"), "ش");
}

}  // namespace
}  // namespace ornav
