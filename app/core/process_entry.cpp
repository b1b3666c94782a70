#include "core/process_entry.h"

namespace ornav {

int runProcessEntry(const ProcessEntrySteps& steps) {
  const std::string connectionName = kConnectionName;
  std::optional<std::string> identifier = steps.bundleIdentifier();
  const std::string bundleID =
      identifier && !identifier->empty() ? *identifier : std::string(kFallbackBundleID);

  steps.installCrashHandlers();
  steps.noteStage("process-launch", {{"bundleID", bundleID}, {"connectionName", connectionName}});
  steps.uploadPendingCrashes();

  steps.log("===== 进程启动 =====");
  steps.log("bundleID=" + bundleID);
  steps.log("connectionName=" + connectionName);

  const bool serverExists = steps.createServer(connectionName, bundleID);
  const std::string ok = serverExists ? "true" : "false";
  steps.noteStage("imk-server-created", {{"ok", ok}});
  steps.log("IMKServer 已创建: " + ok);

  steps.loadKeyMap();
  steps.noteStage("keymap-loaded", {});
  steps.log("键位映射加载完成，进入 run loop");

  steps.runLoop();
  return 0;
}

}  // namespace ornav
