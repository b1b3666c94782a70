#include "dialogs/update_window.h"

#include <algorithm>
#include <vector>

#include "dialogs/dialog_controls.h"
#include "dialogs/number_text.h"
#include "dialogs/shortcut_window.h"

namespace ornav::update_window {

namespace {

using dialog_controls::button;
using dialog_controls::label;
using dialog_controls::secondaryText;

constexpr const char* kNoNotes = "本次版本未提供额外更新说明。";

ProgressState spinning(const ProgressState& bar) {
  ProgressState state = bar;
  state.indeterminate = true;
  state.animating = true;
  return state;
}

ProgressState determinate(const ProgressState& bar, double value) {
  ProgressState state = bar;
  state.indeterminate = false;
  state.animating = false;
  // A server that sends more than it announced must not push the bar past its end.
  state.value = std::clamp(value, state.minValue, state.maxValue);
  return state;
}

}  // namespace

std::string informationLine(const UpdateInfo& info, const std::string& currentVersion) {
  std::vector<std::string> parts = {"当前版本：" + currentVersion};
  if (info.fileSizeMB)
    parts.push_back("安装包大小：" + number_text::fixed(*info.fileSizeMB, 1) + " MB");
  if (!info.sha256.empty()) parts.push_back("校验值：" + info.sha256);
  std::string line;
  for (const std::string& part : parts) {
    if (!line.empty()) line += "    ";
    line += part;
  }
  return line;
}

WindowDescription describe(const UpdateInfo& info, const std::string& currentVersion) {
  WindowDescription window = shortcutWindow(kTitle, {500, 340});
  window.controls = {
      label(kHeadline, {20, 292, 460, 22}, "发现新版本 " + info.version, Font::boldSystem(16)),
      label(kInformation, {20, 266, 460, 18}, informationLine(info, currentVersion),
            Font::system(12), secondaryText()),
      label(kNotesHeading, {20, 238, 100, 18}, "更新说明", Font::boldSystem(12)),
      {kNotes,
       {20, 126, 460, 104},
       TextViewControl{info.notes.empty() ? kNoNotes : info.notes, Font::system(13),
                       /*editable=*/false, /*selectable=*/true}},
      label(kStatus, {20, 92, 460, 18}, "准备下载更新…", Font::system(12), secondaryText()),
      {kProgress, {20, 64, 460, 16}, ProgressControl{readyBar()}},
      button(kLaterButton, {264, 20, 100, 32}, "稍后", DialogAction::closeUpdate),
      button(kActionButton, {372, 20, 108, 32}, kActionTitle, DialogAction::startInAppUpdate),
  };
  return window;
}

ProgressState readyBar() {
  return ProgressState{/*indeterminate=*/false, /*animating=*/false, 0, 1, 0};
}

StageView stageView(const InAppUpdateStage& stage, const ProgressState& bar) {
  using Kind = InAppUpdateStage::Kind;
  switch (stage.kind) {
    case Kind::preparing:
      return {"正在准备下载更新包…", spinning(bar)};
    case Kind::downloading: {
      const double received = static_cast<double>(stage.receivedBytes);
      // Any total below one byte means the server announced no length.
      if (stage.totalBytes < 1) {
        return {"正在下载更新包… " + number_text::megabytes(received) + " MB", determinate(bar, 0)};
      }
      const double total = static_cast<double>(stage.totalBytes);
      const double fraction = received / total;
      return {"正在下载更新包… " + number_text::fixed(fraction * 100, 0) + "%（" +
                  number_text::megabytes(received) + " / " + number_text::megabytes(total) +
                  " MB）",
              determinate(bar, fraction)};
    }
    case Kind::verifying:
      return {"下载完成，正在校验安装包…", spinning(bar)};
    case Kind::installing:
      return {"校验完成，正在请求安装权限并安装更新…", spinning(bar)};
    case Kind::completed:
      return {"更新安装完成。", determinate(bar, 1)};
  }
  return {"", bar};
}

}  // namespace ornav::update_window
