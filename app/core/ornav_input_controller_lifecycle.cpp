// Controller lifecycle, the input menu and background dictionary work: activation and
// deactivation, the menu built afresh on every request and its actions, the user-dictionary
// upload on a process-wide timer, and merging the cloud dictionary into the engine.
#include <string>
#include <utility>

#include "core/ornav_input_controller.h"

namespace ornav {

namespace {

MenuItem::State checkMark(bool on) {
  return on ? MenuItem::State::on : MenuItem::State::off;
}

}  // namespace

void OrnavInputController::activateServer(TextClient* client) {
  log("activateServer: 输入法被激活");
  if (client != nullptr) {
    const std::optional<std::string> bundleID = client->bundleIdentifier();
    if (env_->diagnostics.noteClientApp) env_->diagnostics.noteClientApp(bundleID);
    noteStage("activate-server", {{"host", bundleID.value_or("")}});
  }
  // Each activation starts with an empty buffer and no word context.
  if (engine_) engine_->reset();
  composing_.clear();
  ensureUserDictUploadTimer();
  uploadUserDict(false);
  // The one-time notices appear after activation has returned to the system; a process without
  // dialogs or without a main queue to defer them on has none to show.
  MenuUIInterface* menuUI = env_->menuUI;
  if (menuUI != nullptr && env_->mainQueue != nullptr) {
    env_->mainQueue->post([menuUI] {
      menuUI->showPendingInstallNoticeIfNeeded();
      menuUI->showWelcomeIfNeeded();
    });
  }
}

void OrnavInputController::deactivateServer(TextClient* client) {
  log("deactivateServer: 输入法被切走");
  if (client != nullptr) {
    noteStage("deactivate-server", {{"host", host(client)}});
    // Whatever is being composed lands, as typed, in the field being left.
    commitComposing(client);
  }
  if (engine_) engine_->reset();
  composing_.clear();
  if (panel_) panel_->hide();
}

MenuDescription OrnavInputController::menu() const {
  static const NoControllerServices kNone;
  const ControllerServices& services =
      env_->services ? *env_->services : static_cast<const ControllerServices&>(kNone);
  MenuDescription menu;
  menu.title = "Ornavel";
  menu.items = {
      MenuItem::item("首次使用与设置引导", InputMenuAction::showWelcomeEntry),
      MenuItem::item("键位表", InputMenuAction::showKeyMap),
      MenuItem::separatorItem(),
      MenuItem::item("关于", InputMenuAction::showAbout),
      MenuItem::separatorItem(),
      MenuItem::item("显示下一词预测", InputMenuAction::togglePredictions,
                     checkMark(services.showPredictions())),
      MenuItem::item("在线词库", InputMenuAction::toggleOnlineDict,
                     checkMark(services.onlineDictEnabled())),
      MenuItem::item("上传我的输入习惯", InputMenuAction::toggleUploadConsent,
                     checkMark(services.uploadConsent())),
      MenuItem::separatorItem(),
      MenuItem::item(services.updateAvailable() ? "检查更新 🔴 有新版本" : "检查更新",
                     InputMenuAction::checkUpdate),
      MenuItem::item("反馈", InputMenuAction::sendFeedback),
  };
  if (env_->switchKeyLayout) {
    const bool uly = env_->keyMap != nullptr && env_->keyMap->layout() == KeyLayout::uly;
    menu.items.push_back(MenuItem::separatorItem());
    menu.items.push_back(MenuItem::item("按拉丁维文(ULY)拼写输入", InputMenuAction::toggleUlyLayout,
                                        checkMark(uly)));
  }
  return menu;
}

void OrnavInputController::perform(InputMenuAction action) {
  switch (action) {
    case InputMenuAction::showWelcomeEntry:
      return showWelcomeEntry();
    case InputMenuAction::showKeyMap:
      return showKeyMap();
    case InputMenuAction::showAbout:
      return showAbout();
    case InputMenuAction::toggleOnlineDict:
      return toggleOnlineDict();
    case InputMenuAction::toggleUploadConsent:
      return toggleUploadConsent();
    case InputMenuAction::togglePredictions:
      return togglePredictions();
    case InputMenuAction::toggleUlyLayout:
      return toggleUlyLayout();
    case InputMenuAction::checkUpdate:
      return checkUpdate();
    case InputMenuAction::sendFeedback:
      return sendFeedback();
  }
}

void OrnavInputController::showWelcomeEntry() {
  log("菜单：点击 首次使用与设置引导");
  if (env_->menuUI) env_->menuUI->showWelcome();
}

void OrnavInputController::showAbout() {
  log("菜单：点击 关于");
  if (env_->menuUI) env_->menuUI->showAbout();
}

void OrnavInputController::showKeyMap() {
  log("菜单：点击 键位表");
  static const KeyMap kNoKeys;
  if (env_->menuUI) env_->menuUI->showKeyMap(env_->keyMap != nullptr ? *env_->keyMap : kNoKeys);
}

void OrnavInputController::checkUpdate() {
  log("菜单：点击 检查更新");
  if (env_->menuUI) env_->menuUI->checkForUpdates();
}

void OrnavInputController::sendFeedback() {
  log("菜单：点击 反馈");
  if (env_->menuUI) env_->menuUI->sendFeedback();
}

void OrnavInputController::toggleOnlineDict() {
  if (!env_->services) return;
  ControllerServices& services = *env_->services;
  const bool on = !services.onlineDictEnabled();
  services.setOnlineDictEnabled(on);
  log(std::string("菜单：在线词库 ") + (on ? "开启" : "关闭"));
  // Switching off keeps what was merged.
  if (on && engine_)
    services.fetchCloudDict(services.cloudDictVersion(), syncCloudDictCompletion());
}

void OrnavInputController::togglePredictions() {
  if (!env_->services) return;
  const bool on = !env_->services->showPredictions();
  env_->services->setShowPredictions(on);
  log(std::string("菜单：下一词预测 ") + (on ? "开启" : "关闭"));
  // Predictions shown now go at once; the word context stays for the next word's ranking.
  if (!on && composing_.empty()) {
    grid_.clear();
    if (panel_) panel_->hide();
  }
}

void OrnavInputController::toggleUlyLayout() {
  if (!env_->switchKeyLayout) return;
  const bool uly = env_->keyMap == nullptr || env_->keyMap->layout() != KeyLayout::uly;
  if (!env_->switchKeyLayout(uly ? KeyLayout::uly : KeyLayout::phonetic)) {
    log("菜单：切换键位失败");
    return;
  }
  log(std::string("菜单：拉丁维文(ULY)拼写 ") + (uly ? "开启" : "关闭"));
}

void OrnavInputController::toggleUploadConsent() {
  if (!env_->services) return;
  ControllerServices& services = *env_->services;
  if (services.uploadConsent()) {
    services.setUploadConsent(false);
    log("菜单：关闭用户词库上传");
    return;
  }
  // The alert answers after this action has returned; the controller may be gone by then.
  std::weak_ptr<OrnavInputController> weak = weak_from_this();
  std::shared_ptr<ControllerEnvironment> env = env_;
  if (!env_->menuUI) return;  // nobody to ask: consent stays off
  env_->menuUI->confirmUploadConsent([weak, env](bool agreed) {
    if (!agreed) return;
    env->services->setUploadConsent(true);
    if (env->diagnostics.log) env->diagnostics.log("菜单：同意上传用户词库");
    if (auto self = weak.lock()) self->uploadUserDict(true);
  });
}

void OrnavInputController::uploadUserDict(bool force) {
  if (!env_->services) return;
  ControllerServices& services = *env_->services;
  if (!services.uploadConsent()) return;
  if (!engine_) return;
  const std::string freq = engine_->exportUserFreq();
  const std::string unknown = engine_->exportUserUnknown();
  std::string text = freq;
  if (!unknown.empty()) text += (text.empty() ? "" : "\n") + unknown;
  if (text.empty()) {
    log("用户词库为空，跳过上传");
    return;
  }
  std::shared_ptr<ControllerEnvironment> env = env_;
  services.uploadUserDict(text, force, [env](bool ok) {
    if (env->diagnostics.log)
      env->diagnostics.log(ok ? "用户词库上传成功/跳过" : "用户词库上传失败");
  });
}

void OrnavInputController::ensureUserDictUploadTimer() {
  ControllerProcessState& process = env_->process;
  process.uploadTimerOwner = weak_from_this();
  if (process.uploadTimer || env_->mainQueue == nullptr) return;
  // The timer belongs to the process state, which therefore outlives every tick.
  process.uploadTimer =
      env_->mainQueue->scheduleRepeating(Seconds(kUserDictUploadInterval), [&process] {
        if (auto owner = process.uploadTimerOwner.lock()) owner->uploadUserDict(false);
      });
}

std::function<void(std::optional<FetchedCloudDict>)>
OrnavInputController::syncCloudDictCompletion() {
  // The merge goes into this controller's engine even if the controller is released before the
  // fetch completes; the engine stays alive until then.
  std::shared_ptr<OrnavEngine> engine = engine_;
  std::shared_ptr<ControllerEnvironment> env = env_;
  return [engine, env](std::optional<FetchedCloudDict> result) {
    if (engine && env->services) syncCloudDict(*engine, result, *env->services, env->diagnostics);
  };
}

void syncCloudDict(OrnavEngine& engine, const std::optional<FetchedCloudDict>& result,
                   ControllerServices& services, const ControllerDiagnostics& diagnostics) {
  if (!result || result->tsv.empty()) return;
  const int64_t n = engine.syncExtraDict(result->tsv);
  // On failure the stored version stays, so the next fetch asks again from the old one.
  if (n < 0) return;
  services.setCloudDictVersion(result->version);
  if (diagnostics.log) {
    diagnostics.log("云端词库已更新：" + std::to_string(n) + " 条（版本 " + result->version + "）");
  }
}

}  // namespace ornav
