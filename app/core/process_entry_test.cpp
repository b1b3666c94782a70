#include "core/process_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ornav {
namespace {

// Records every step of the sequence, in order, as one line each.
struct Recorder {
  std::vector<std::string> steps;
  std::optional<std::string> identifier = std::string("com.ornav.inputmethod.Ornavel");
  bool serverExists = true;
  std::string serverName, serverBundle;

  ProcessEntrySteps make() {
    ProcessEntrySteps s;
    s.bundleIdentifier = [this] { return identifier; };
    s.installCrashHandlers = [this] { steps.push_back("install"); };
    s.noteStage = [this](const std::string& stage, const std::map<std::string, std::string>& d) {
      std::string line = "stage " + stage;
      for (const auto& [k, v] : d)
        line += " " + k + "=" + v;
      steps.push_back(line);
    };
    s.uploadPendingCrashes = [this] { steps.push_back("uploadPending"); };
    s.log = [this](const std::string& m) { steps.push_back("log " + m); };
    s.createServer = [this](const std::string& name, const std::string& bundle) {
      serverName = name;
      serverBundle = bundle;
      steps.push_back("server");
      return serverExists;
    };
    s.loadKeyMap = [this] { steps.push_back("keymap"); };
    s.runLoop = [this] { steps.push_back("run"); };
    return s;
  }
};

TEST(ProcessEntry, StepsRunInTheirFixedOrder) {
  Recorder r;
  EXPECT_EQ(runProcessEntry(r.make()), 0);
  EXPECT_EQ(r.steps, (std::vector<std::string>{
                         "install",
                         "stage process-launch bundleID=com.ornav.inputmethod.Ornavel "
                         "connectionName=com.ornav.inputmethod.Ornavel_Connection",
                         "uploadPending",
                         "log ===== 进程启动 =====",
                         "log bundleID=com.ornav.inputmethod.Ornavel",
                         "log connectionName=com.ornav.inputmethod.Ornavel_Connection",
                         "server",
                         "stage imk-server-created ok=true",
                         "log IMKServer 已创建: true",
                         "keymap",
                         "stage keymap-loaded",
                         "log 键位映射加载完成，进入 run loop",
                         "run",
                     }));
  EXPECT_EQ(r.serverName, "com.ornav.inputmethod.Ornavel_Connection");
  EXPECT_EQ(r.serverBundle, "com.ornav.inputmethod.Ornavel");
}

TEST(ProcessEntry, MissingIdentifierUsesTheFallback) {
  for (std::optional<std::string> id :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    Recorder r;
    r.identifier = id;
    runProcessEntry(r.make());
    EXPECT_EQ(r.serverBundle, "com.ornav.inputmethod.Ornavel");
    EXPECT_EQ(r.steps[4], "log bundleID=com.ornav.inputmethod.Ornavel");
  }
}

TEST(ProcessEntry, NoServerStillLoadsTheKeyMapAndRuns) {
  Recorder r;
  r.serverExists = false;
  runProcessEntry(r.make());
  EXPECT_EQ(r.steps[7], "stage imk-server-created ok=false");
  EXPECT_EQ(r.steps[8], "log IMKServer 已创建: false");
  EXPECT_EQ(r.steps.back(), "run");
}

}  // namespace
}  // namespace ornav
