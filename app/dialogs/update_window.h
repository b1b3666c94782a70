// The update window: the offered version, its notes, and the progress of its installation. The
// texts and control states for every stage of the installation are computed here; MenuUI applies
// them to the window.
#pragma once

#include <string>

#include "ports/dialog_window.h"
#include "services/update_types.h"

namespace ornav::update_window {

inline constexpr const char* kTitle = "软件更新";

// Control names.
inline constexpr const char* kHeadline = "headline";
inline constexpr const char* kInformation = "information";
inline constexpr const char* kNotesHeading = "notesHeading";
inline constexpr const char* kNotes = "notes";
inline constexpr const char* kStatus = "status";
inline constexpr const char* kProgress = "progress";
inline constexpr const char* kLaterButton = "later";
inline constexpr const char* kActionButton = "action";

inline constexpr const char* kActionTitle = "下载并安装";
inline constexpr const char* kRunningTitle = "正在更新";
inline constexpr const char* kRetryTitle = "重新下载并安装";
inline constexpr const char* kReadyStatus = "新版本已就绪，点击“下载并安装”开始。";

// The window offering `info`, as first built (status "准备下载更新…", bar at 0).
WindowDescription describe(const UpdateInfo& info, const std::string& currentVersion);

// "当前版本：…", then the package size and the checksum when known, four spaces apart.
std::string informationLine(const UpdateInfo& info, const std::string& currentVersion);

// What the status line and the progress bar show for a stage. `bar` is the bar's state before
// the stage; an indeterminate stage keeps its value.
struct StageView {
  std::string status;
  ProgressState bar;
};
StageView stageView(const InAppUpdateStage& stage, const ProgressState& bar);

// The bar of a window ready to install: determinate, still, at 0.
ProgressState readyBar();

}  // namespace ornav::update_window
