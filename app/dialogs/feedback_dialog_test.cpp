// The feedback window: its form, sending it, the web page, and what closing keeps.
#include <gtest/gtest.h>

#include "dialogs/dialog_test_support.h"
#include "dialogs/feedback_window.h"

namespace ornav {
namespace {

using dialog_testing::controlFrames;
using dialog_testing::DialogFixture;
using testing::RecordingDialogWindow;
using Style = AlertDescription::Style;
namespace fw = feedback_window;

class FeedbackDialogTest : public ::testing::Test {
 protected:
  RecordingDialogWindow* open() {
    fx.ui.sendFeedback();
    return fx.window(fw::kTitle);
  }
  DialogFixture fx;
};

TEST_F(FeedbackDialogTest, TheFormOpensEmptyWithTheMessageFocused) {
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  const WindowDescription& d = window->description;
  EXPECT_EQ(d.contentSize, (Size{470, 320}));
  EXPECT_EQ(d.level, WindowLevel::floating);
  EXPECT_EQ(d.initialFocus, fw::kMessage);
  EXPECT_EQ(controlFrames(d), (std::vector<std::pair<std::string, Rect>>{
                                  {fw::kHeadline, {20, 278, 430, 22}},
                                  {fw::kHint, {20, 236, 430, 34}},
                                  {fw::kMessage, {20, 104, 430, 118}},
                                  {fw::kContactLabel, {20, 74, 120, 18}},
                                  {fw::kContact, {140, 70, 310, 26}},
                                  {fw::kWebButton, {20, 20, 120, 32}},
                                  {fw::kCancelButton, {240, 20, 100, 32}},
                                  {fw::kSubmitButton, {350, 20, 100, 32}},
                              }));
  const auto& headline = std::get<LabelControl>(window->control(fw::kHeadline)->kind);
  EXPECT_EQ(headline.text, "遇到问题或想提建议？");
  EXPECT_EQ(headline.font, Font::boldSystem(16));
  const auto& hint = std::get<LabelControl>(window->control(fw::kHint)->kind);
  EXPECT_EQ(
      hint.text,
      "请简要描述问题，并留下微信 / QQ / 邮箱等联系方式。提交时会自动附带版本号、系统版本和当前"
      "宿主应用信息。");
  EXPECT_EQ(hint.font, Font::system(12));
  EXPECT_EQ(hint.color, Color::ofRole(Color::Role::secondaryLabel));
  const auto& message = std::get<TextViewControl>(window->control(fw::kMessage)->kind);
  EXPECT_EQ(message.text, "");
  EXPECT_TRUE(message.editable);
  EXPECT_EQ(message.font, Font::system(13));
  const auto& contactLabel = std::get<LabelControl>(window->control(fw::kContactLabel)->kind);
  EXPECT_EQ(contactLabel.text, "联系方式（选填）");
  EXPECT_EQ(contactLabel.color, Color::ofRole(Color::Role::secondaryLabel));
  const auto& contact = std::get<TextFieldControl>(window->control(fw::kContact)->kind);
  EXPECT_EQ(contact.placeholder, "微信 / QQ / 邮箱 / 手机号");
  EXPECT_EQ(contact.font, Font::system(13));

  const auto& web = std::get<ButtonControl>(window->control(fw::kWebButton)->kind);
  EXPECT_EQ(web.title, "网页反馈");
  EXPECT_EQ(web.action, DialogAction::openFeedbackPage);
  const auto& cancel = std::get<ButtonControl>(window->control(fw::kCancelButton)->kind);
  EXPECT_EQ(cancel.title, "取消");
  EXPECT_EQ(cancel.action, DialogAction::closeFeedback);
  const auto& submit = std::get<ButtonControl>(window->control(fw::kSubmitButton)->kind);
  EXPECT_EQ(submit.title, "提交");
  EXPECT_EQ(submit.action, DialogAction::submitFeedback);
  EXPECT_EQ(submit.keyEquivalent, "\r");

  EXPECT_TRUE(window->visible);
  EXPECT_EQ(fx.windows.activations, 1);
}

TEST_F(FeedbackDialogTest, CommandVPastesIntoTheFormsFields) {
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  KeyEvent paste;
  paste.modifierFlags = ModifierFlag::kCommand;
  paste.charactersIgnoringModifiers = "v";
  EXPECT_EQ(window->description.keyEquivalentRule(paste), EditCommand::paste);
  KeyEvent selectAll = paste;
  selectAll.charactersIgnoringModifiers = "a";
  EXPECT_EQ(window->description.keyEquivalentRule(selectAll), EditCommand::selectAll);
}

TEST_F(FeedbackDialogTest, AskingTwiceShowsOneWindow) {
  RecordingDialogWindow* first = open();
  EXPECT_EQ(open(), first);
  EXPECT_EQ(fx.windows.windows.size(), 1u);
  EXPECT_EQ(first->showCount, 2);
  EXPECT_EQ(fx.windows.activations, 2);
}

TEST_F(FeedbackDialogTest, TheTitleBarKeepsTheTextAndCancelDropsIt) {
  RecordingDialogWindow* first = open();
  ASSERT_NE(first, nullptr);
  first->type(fw::kMessage, "候选词不对");
  first->type(fw::kContact, "me@example.org");
  first->closeFromTitleBar();
  EXPECT_FALSE(first->visible);

  EXPECT_EQ(open(), first);
  EXPECT_TRUE(first->visible);
  EXPECT_EQ(first->texts.at(fw::kMessage), "候选词不对");
  EXPECT_EQ(first->texts.at(fw::kContact), "me@example.org");

  ASSERT_TRUE(first->press(DialogAction::closeFeedback));
  EXPECT_TRUE(first->closed);
  fx.mainQueue.drain();
  EXPECT_TRUE(first->released);

  RecordingDialogWindow* second = open();
  ASSERT_NE(second, first);
  EXPECT_EQ(second->texts.at(fw::kMessage), "");
  EXPECT_EQ(second->texts.at(fw::kContact), "");
}

TEST_F(FeedbackDialogTest, SubmittingSendsTheTextsAsTypedAndSuccessClosesTheForm) {
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  window->type(fw::kMessage, "  候选词不对\n");
  window->type(fw::kContact, " QQ 12345 ");
  ASSERT_TRUE(window->press(DialogAction::submitFeedback));
  ASSERT_EQ(fx.services.feedbacks.size(), 1u);
  EXPECT_EQ(fx.services.feedbacks[0].message, "  候选词不对\n");
  EXPECT_EQ(fx.services.feedbacks[0].contact, " QQ 12345 ");
  // Nothing changes while the request runs.
  EXPECT_FALSE(window->closed);
  EXPECT_TRUE(window->enabled.at(fw::kSubmitButton));
  EXPECT_TRUE(fx.alerts.shown.empty());

  fx.events.clear();  // the window's own activation does not count for the alert
  fx.services.feedbacks[0].completion(FeedbackResult::success("反馈已提交，感谢你的帮助。"));
  EXPECT_TRUE(window->closed);
  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::informational);
  EXPECT_EQ(fx.lastAlert().message, "反馈已提交");
  EXPECT_EQ(fx.lastAlert().informativeText, "反馈已提交，感谢你的帮助。");
  EXPECT_EQ(fx.lastAlert().buttons, std::vector<std::string>{"好"});
  EXPECT_TRUE(fx.everyAlertActivated());

  RecordingDialogWindow* again = open();
  ASSERT_NE(again, window);
  EXPECT_EQ(again->texts.at(fw::kMessage), "");
}

TEST_F(FeedbackDialogTest, AnEmptyMessageFailsWithTheWebPageOnOffer) {
  RecordingDialogWindow* window = open();
  ASSERT_NE(window, nullptr);
  window->type(fw::kContact, "me@example.org");
  window->press(DialogAction::submitFeedback);
  EXPECT_EQ(fx.services.feedbacks.at(0).message, "");
  fx.alerts.answers = {1};  // "稍后再试"
  fx.events.clear();
  fx.services.feedbacks[0].completion(FeedbackResult::failure("请先输入反馈内容"));

  ASSERT_EQ(fx.alerts.shown.size(), 1u);
  EXPECT_EQ(fx.lastAlert().style, Style::warning);
  EXPECT_EQ(fx.lastAlert().message, "提交失败");
  EXPECT_EQ(fx.lastAlert().informativeText, "请先输入反馈内容\n\n你也可以改用网页反馈。");
  EXPECT_EQ(fx.lastAlert().buttons, (std::vector<std::string>{"网页反馈", "稍后再试"}));
  EXPECT_TRUE(fx.everyAlertActivated());
  EXPECT_TRUE(fx.urls.opened.empty());
  EXPECT_FALSE(window->closed);
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(window->texts.at(fw::kContact), "me@example.org");
}

TEST_F(FeedbackDialogTest, ChoosingTheWebPageInTheFailureAlertOpensItAndKeepsTheForm) {
  RecordingDialogWindow* window = open();
  window->type(fw::kMessage, "闪退");
  window->press(DialogAction::submitFeedback);
  fx.alerts.answers = {0};
  fx.services.feedbacks.at(0).completion(FeedbackResult::failure("反馈服务尚未配置"));
  EXPECT_EQ(fx.urls.opened, std::vector<std::string>{"https://ime.example.org/"});
  EXPECT_FALSE(window->closed);
  EXPECT_EQ(window->texts.at(fw::kMessage), "闪退");
}

TEST_F(FeedbackDialogTest, TheWebButtonOpensThePageAndLeavesTheFormAlone) {
  RecordingDialogWindow* window = open();
  window->type(fw::kMessage, "建议");
  ASSERT_TRUE(window->press(DialogAction::openFeedbackPage));
  EXPECT_EQ(fx.urls.opened, std::vector<std::string>{"https://ime.example.org/"});
  EXPECT_TRUE(window->visible);
  EXPECT_FALSE(window->closed);
  EXPECT_EQ(window->texts.at(fw::kMessage), "建议");
  EXPECT_TRUE(fx.alerts.shown.empty());
}

TEST_F(FeedbackDialogTest, AnAddressThatIsNoURLOpensNothing) {
  for (const std::string address : {"", "not a url", "https://ime.example.org/%zz"}) {
    fx.services.feedbackAddress = address;
    fx.ui.openFeedbackPage();
  }
  EXPECT_TRUE(fx.urls.opened.empty());
}

TEST_F(FeedbackDialogTest, SubmittingWithoutAWindowSendsEmptyTexts) {
  fx.ui.submitFeedback();
  ASSERT_EQ(fx.services.feedbacks.size(), 1u);
  EXPECT_EQ(fx.services.feedbacks[0].message, "");
  EXPECT_EQ(fx.services.feedbacks[0].contact, "");
}

TEST_F(FeedbackDialogTest, CancelledWhileSendingTheAnswerStillShowsAndANewFormStaysOpen) {
  RecordingDialogWindow* sent = open();
  sent->type(fw::kMessage, "第一条");
  sent->press(DialogAction::submitFeedback);
  sent->press(DialogAction::closeFeedback);
  RecordingDialogWindow* next = open();
  next->type(fw::kMessage, "正在写第二条");

  fx.services.feedbacks.at(0).completion(FeedbackResult::success("谢谢"));
  EXPECT_EQ(fx.lastAlert().message, "反馈已提交");
  EXPECT_EQ(fx.lastAlert().informativeText, "谢谢");
  EXPECT_FALSE(next->closed);
  EXPECT_EQ(next->texts.at(fw::kMessage), "正在写第二条");
  EXPECT_EQ(open(), next);
}

}  // namespace
}  // namespace ornav
