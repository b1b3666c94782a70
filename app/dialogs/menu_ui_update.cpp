// The update check, the update window and the in-app installation it runs.
#include "dialogs/menu_ui.h"
#include "dialogs/update_window.h"

namespace ornav {

using Style = AlertDescription::Style;

void MenuUI::checkForUpdates() {
  services_.checkForUpdates([weak = alive()](UpdateResult result) {
    auto self = weak.lock();
    if (!self) return;
    MenuUI& ui = **self;
    switch (result.kind) {
      case UpdateResult::Kind::available:
        return ui.showUpdateWindow(result.info);
      case UpdateResult::Kind::failed:
        return ui.notice(Style::warning, "检测更新失败", result.message);
      case UpdateResult::Kind::upToDate:
        return ui.notice(Style::informational, "已是最新版本",
                         "当前版本 " + ui.services_.currentVersion() + " 已是最新。");
    }
  });
}

void MenuUI::showUpdateWindow(const UpdateInfo& info) {
  updateInfo_ = info;
  if (updateWindow_) {
    // The headline, information line and notes keep the texts of the first build.
    present(*updateWindow_.window);
    refreshUpdateWindow(info);
    return;
  }
  updateWindow_ = makeWindow(update_window::describe(info, services_.currentVersion()));
  if (!updateWindow_) {
    updateInfo_.reset();
    return;
  }
  updateBar_ = update_window::readyBar();
  present(*updateWindow_.window);
  refreshUpdateWindow(info);
}

void MenuUI::refreshUpdateWindow(const UpdateInfo& info) {
  updateInfo_ = info;
  if (!updateWindow_) return;
  DialogWindow& window = *updateWindow_.window;
  window.setText(update_window::kStatus, update_window::kReadyStatus);
  updateBar_ = update_window::readyBar();
  window.setProgress(update_window::kProgress, updateBar_);
  window.setEnabled(update_window::kActionButton, true);
  window.setText(update_window::kActionButton, update_window::kActionTitle);
  window.setEnabled(update_window::kLaterButton, true);
}

void MenuUI::startInAppUpdate() {
  if (!updateInfo_) return;  // the window was closed
  const std::uint64_t build = updateWindow_.build;
  if (updateWindow_) {
    DialogWindow& window = *updateWindow_.window;
    window.setEnabled(update_window::kActionButton, false);
    window.setText(update_window::kActionButton, update_window::kRunningTitle);
    window.setEnabled(update_window::kLaterButton, false);
  }
  applyUpdateStage(build, InAppUpdateStage::preparing());
  services_.downloadAndInstallUpdate(
      *updateInfo_,
      [weak = alive(), build](InAppUpdateStage stage) {
        if (auto self = weak.lock()) (*self)->applyUpdateStage(build, stage);
      },
      [weak = alive(), build](InAppUpdateResult result) {
        if (auto self = weak.lock()) (*self)->finishInstall(build, result);
      });
}

void MenuUI::applyUpdateStage(const InAppUpdateStage& stage) {
  applyUpdateStage(updateWindow_.build, stage);
}

// Stages of an installation whose window has been closed find no controls and change nothing.
void MenuUI::applyUpdateStage(std::uint64_t build, const InAppUpdateStage& stage) {
  if (!updateWindow_ || updateWindow_.build != build) return;
  const update_window::StageView view = update_window::stageView(stage, updateBar_);
  updateBar_ = view.bar;
  updateWindow_->setProgress(update_window::kProgress, updateBar_);
  updateWindow_->setText(update_window::kStatus, view.status);
}

void MenuUI::finishInstall(std::uint64_t build, const InAppUpdateResult& result) {
  if (result.kind == InAppUpdateResult::Kind::failure) {
    if (updateWindow_ && updateWindow_.build == build) {
      // The window keeps the last stage's progress and status, so the user can try again.
      DialogWindow& window = *updateWindow_.window;
      window.setEnabled(update_window::kActionButton, true);
      window.setText(update_window::kActionButton, update_window::kRetryTitle);
      window.setEnabled(update_window::kLaterButton, true);
    }
    notice(Style::warning, "更新失败", result.message);
    return;
  }
  if (updateWindow_ && updateWindow_.build == build) {
    applyUpdateStage(build, InAppUpdateStage::completed());
    closeUpdateWindow();
  }
  notice(Style::informational, "更新已安装",
         "新版本已经安装完成，系统可能会提示输入管理员密码并自动刷新输入法。若当前输入法短暂消失，"
         "请重新切换一次即可。");
}

void MenuUI::closeUpdateWindow() {
  drop(updateWindow_);
  updateInfo_.reset();
}

void MenuUI::showPendingInstallNoticeIfNeeded() {
  std::optional<PendingInstallNotice> pending = services_.consumePendingInstallNotice();
  if (!pending) return;
  notice(Style::informational, "更新已安装",
         "系统已经完成安装并重新加载输入法，当前版本已更新到 " + pending->version +
             "。如果当前应用里暂时没有恢复输入，可切换一次输入法后再试。");
}

}  // namespace ornav
