#include "dialogs/feedback_window.h"

#include "dialogs/dialog_controls.h"
#include "dialogs/shortcut_window.h"

namespace ornav::feedback_window {

using dialog_controls::button;
using dialog_controls::label;
using dialog_controls::secondaryText;

WindowDescription describe() {
  WindowDescription window = shortcutWindow(kTitle, {470, 320});
  window.controls = {
      label(kHeadline, {20, 278, 430, 22}, "遇到问题或想提建议？", Font::boldSystem(16)),
      label(kHint, {20, 236, 430, 34},
            "请简要描述问题，并留下微信 / QQ / 邮箱等联系方式。提交时会自动附带版本号、系统版本和"
            "当前宿主应用信息。",
            Font::system(12), secondaryText()),
      {kMessage,
       {20, 104, 430, 118},
       TextViewControl{"", Font::system(13), /*editable=*/true, /*selectable=*/true}},
      label(kContactLabel, {20, 74, 120, 18}, "联系方式（选填）", Font::system(12),
            secondaryText()),
      {kContact,
       {140, 70, 310, 26},
       TextFieldControl{"", "微信 / QQ / 邮箱 / 手机号", Font::system(13)}},
      button(kWebButton, {20, 20, 120, 32}, "网页反馈", DialogAction::openFeedbackPage),
      button(kCancelButton, {240, 20, 100, 32}, "取消", DialogAction::closeFeedback),
      button(kSubmitButton, {350, 20, 100, 32}, "提交", DialogAction::submitFeedback, "\r"),
  };
  window.initialFocus = kMessage;
  return window;
}

}  // namespace ornav::feedback_window
