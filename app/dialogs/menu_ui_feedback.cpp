// The feedback window: sending the form, the web page instead, cancelling.
#include "base/url_text.h"
#include "dialogs/feedback_window.h"
#include "dialogs/menu_ui.h"

namespace ornav {

using Style = AlertDescription::Style;

void MenuUI::sendFeedback() {
  if (feedbackWindow_) {
    present(*feedbackWindow_.window);
    return;
  }
  feedbackWindow_ = makeWindow(feedback_window::describe());
  if (feedbackWindow_) present(*feedbackWindow_.window);
}

void MenuUI::submitFeedback() {
  // The texts go as typed: the service trims and validates them.
  std::string message;
  std::string contact;
  if (feedbackWindow_) {
    message = feedbackWindow_->text(feedback_window::kMessage).value_or("");
    contact = feedbackWindow_->text(feedback_window::kContact).value_or("");
  }
  services_.submitFeedback(message, contact,
                           [weak = alive(), build = feedbackWindow_.build](FeedbackResult result) {
                             if (auto self = weak.lock()) (*self)->finishFeedback(build, result);
                           });
}

void MenuUI::finishFeedback(std::uint64_t build, const FeedbackResult& result) {
  if (result.kind == FeedbackResult::Kind::success) {
    // Only the form that was sent closes: one opened after it was cancelled keeps what the user
    // is typing into it.
    if (feedbackWindow_ && feedbackWindow_.build == build) closeFeedback();
    notice(Style::informational, "反馈已提交", result.message);
    return;
  }
  AlertDescription alert;
  alert.style = Style::warning;
  alert.message = "提交失败";
  alert.informativeText = result.message + "\n\n你也可以改用网页反馈。";
  alert.buttons = {"网页反馈", "稍后再试"};
  if (runAlert(alert) == 0) openFeedbackPage();
}

void MenuUI::openFeedbackPage() {
  const std::string address = services_.feedbackURL();
  if (!url_text::isWellFormed(address)) {
    notice(AlertDescription::Style::warning, "反馈网页尚未配置",
           "这个版本没有配置网络服务，无法打开反馈网页。");
    return;
  }
  ports_.urls->open(address);
}

void MenuUI::closeFeedback() {
  drop(feedbackWindow_);
}

}  // namespace ornav
