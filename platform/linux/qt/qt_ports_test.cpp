// The smaller Qt ports: text measuring, screens, addresses, alerts, the input menu and the
// assembly of all ports.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "platform/linux/qt/qt_alerts.h"
#include "platform/linux/qt/qt_platform.h"

namespace ornav::linux_platform {
namespace {

const std::filesystem::path kFontFile =
    std::filesystem::path(ORNAV_SOURCE_DIR) / "resources/ornav.ttf";

TEST(QtTextMeasurerTest, RegistersTheCandidateFontOnceAndFindsItByName) {
  QtTextMeasurer measurer;
  const std::optional<std::string> name = measurer.registerFontFile(kFontFile);
  ASSERT_TRUE(name.has_value());
  EXPECT_FALSE(name->empty());
  EXPECT_TRUE(measurer.hasFont(*name));
  EXPECT_EQ(measurer.registerFontFile(kFontFile), name);
  // The same file by another spelling of its path.
  EXPECT_EQ(measurer.registerFontFile(kFontFile.parent_path() / "." / "ornav.ttf"), name);
}

TEST(QtTextMeasurerTest, FilesThatAreNoFontsDoNotRegister) {
  QtTextMeasurer measurer;
  EXPECT_EQ(measurer.registerFontFile("/nonexistent/font.ttf"), std::nullopt);
  EXPECT_EQ(
      measurer.registerFontFile(std::filesystem::path(ORNAV_SOURCE_DIR) / "resources/keymap.json"),
      std::nullopt);
  EXPECT_FALSE(measurer.hasFont("No Such Font Family"));
  EXPECT_FALSE(measurer.hasFont(""));
}

TEST(QtTextMeasurerTest, MeasuresShapedTextInPointsThatScaleWithTheSize) {
  QtTextMeasurer measurer;
  const Font font = Font::named(measurer.registerFontFile(kFontFile).value_or(""), 18);
  const Size word = measurer.measure("سالام", font);
  EXPECT_GT(word.width, 10);
  EXPECT_GT(word.height, 10);
  const Size twice = measurer.measure("سالام", Font::named(font.name, 36));
  EXPECT_NEAR(twice.width / word.width, 2.0, 0.1);
  EXPECT_NEAR(twice.height / word.height, 2.0, 0.1);
  EXPECT_GT(measurer.measure("سالام سالام", font).width, word.width * 1.9);
  EXPECT_EQ(measurer.measure("", font).width, 0);
  // The system font, regular and bold.
  const Size latin = measurer.measure("Tab ▾", Font::system(11));
  EXPECT_GT(latin.width, 15);
  EXPECT_GE(measurer.measure("Tab ▾", Font::boldSystem(11)).width, latin.width);
}

TEST(QtScreensTest, ConvertsToTheBottomLeftConventionAroundThePrimaryScreen) {
  const QRect primary(0, 0, 1920, 1080);
  const FlippedSpace desktop = FlippedSpace::screens(primary);
  // A top panel of 27 pixels takes the visible frame's top.
  const Screen main = screenFromQt(primary, QRect(0, 27, 1920, 1053), desktop);
  EXPECT_EQ(main.frame, (Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(main.visibleFrame, (Rect{0, 0, 1920, 1053}));
  // A bottom dock takes the visible frame's bottom.
  EXPECT_EQ(screenFromQt(primary, QRect(0, 0, 1920, 1040), desktop).visibleFrame,
            (Rect{0, 40, 1920, 1040}));
  // A screen to the right whose top is 200 lower than the primary's.
  EXPECT_EQ(screenFromQt(QRect(1920, 200, 1280, 1024), QRect(1920, 200, 1280, 1024), desktop).frame,
            (Rect{1920, -144, 1280, 1024}));
  // A screen above, and one to the left.
  EXPECT_EQ(screenFromQt(QRect(0, -900, 1440, 900), QRect(0, -900, 1440, 900), desktop).frame,
            (Rect{0, 1080, 1440, 900}));
  EXPECT_EQ(screenFromQt(QRect(-1280, 0, 1280, 1080), QRect(-1280, 0, 1280, 1080), desktop).frame,
            (Rect{-1280, 0, 1280, 1080}));
  // A primary screen that does not start at Qt's origin is still (0, 0, w, h).
  const QRect shifted(100, 50, 800, 600);
  EXPECT_EQ(screenFromQt(shifted, shifted, FlippedSpace::screens(shifted)).frame,
            (Rect{0, 0, 800, 600}));
}

TEST(QtScreensTest, FlippedSpaceRoundTrips) {
  const FlippedSpace space = FlippedSpace::screens(QRect(10, 20, 800, 600));
  const Rect rect{12.5, -30, 40, 7.25};
  EXPECT_EQ(space.fromQt(space.toQt(rect)), rect);
  const Point point{3, 4};
  EXPECT_EQ(space.fromQt(space.toQt(point)), point);
  EXPECT_EQ(FlippedSpace::content(40).toQt(Rect{10, 6, 30, 10}), QRectF(10, 24, 30, 10));
  EXPECT_EQ(FlippedSpace::inside(QRectF(100, 50, 20, 30)).toQt(Rect{2, 3, 4, 5}),
            QRectF(102, 72, 4, 5));
}

TEST(QtScreensTest, ListsTheRunningScreensPrimaryFirst) {
  QtScreens screens;
  const std::vector<Screen> all = screens.screens();
  ASSERT_EQ(all.size(), std::size_t(QGuiApplication::screens().size()));
  const QSize size = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(all.front().frame, (Rect{0, 0, double(size.width()), double(size.height())}));
  ASSERT_TRUE(screens.mainScreen().has_value());
  EXPECT_EQ(screens.mainScreen()->frame, all.front().frame);
}

// Takes the addresses of a scheme, as a desktop's handler would.
class AddressCatcher : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

TEST(QtUrlOpenerTest, HandsAbsoluteAddressesToTheDesktop) {
  AddressCatcher catcher;
  QDesktopServices::setUrlHandler("ornav-test", &catcher, "open");
  QtUrlOpener opener;
  EXPECT_TRUE(opener.open("ornav-test://feedback/page?x=1"));
  ASSERT_EQ(catcher.opened.size(), 1u);
  EXPECT_EQ(catcher.opened[0], QUrl("ornav-test://feedback/page?x=1"));
  EXPECT_FALSE(opener.open(""));
  EXPECT_FALSE(opener.open("just some words"));
  EXPECT_FALSE(opener.open("relative/path"));
  EXPECT_EQ(catcher.opened.size(), 1u);
  QDesktopServices::unsetUrlHandler("ornav-test");
}

// Answers the next modal alert with the button titled `title`, and reads the alert first.
struct AlertAnswer {
  explicit AlertAnswer(const char* button) : title(button) {}
  QString title;
  QString text;
  QString informativeText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<QString> buttonsLeftToRight;
};

void answerNextAlert(AlertAnswer& answer) {
  QTimer::singleShot(0, [&answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      answerNextAlert(answer);
      return;
    }
    answer.text = box->text();
    answer.informativeText = box->informativeText();
    answer.icon = box->icon();
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
    for (QAbstractButton* button : buttons)
      answer.buttonsLeftToRight.push_back(button->text());
    for (QAbstractButton* button : buttons)
      if (button->text() == answer.title) button->click();
  });
}

TEST(QtAlertsTest, RunsModallyAndAnswersTheChosenButtonsIndex) {
  QtAlerts alerts;
  AlertAnswer answer("取消");
  answerNextAlert(answer);
  const int chosen = alerts.runModal(AlertDescription{
      "上传我的输入习惯", "是否同意？", AlertDescription::Style::warning, {"同意并上传", "取消"}});
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(answer.text, QString("上传我的输入习惯"));
  EXPECT_EQ(answer.informativeText, QString("是否同意？"));
  EXPECT_EQ(answer.icon, QMessageBox::Warning);
  EXPECT_EQ(answer.buttonsLeftToRight, (std::vector<QString>{"同意并上传", "取消"}));

  AlertAnswer first("同意并上传");
  answerNextAlert(first);
  EXPECT_EQ(alerts.runModal(AlertDescription{
                "m", "i", AlertDescription::Style::critical, {"同意并上传", "取消"}}),
            0);
  EXPECT_EQ(first.icon, QMessageBox::Critical);
}

TEST(QtAlertsTest, ANoticeWithoutButtonsHasTheSingleOk) {
  QtAlerts alerts;
  AlertAnswer answer("好");
  answerNextAlert(answer);
  EXPECT_EQ(alerts.runModal(
                AlertDescription{"已是最新版本", "", AlertDescription::Style::informational, {}}),
            0);
  EXPECT_EQ(answer.buttonsLeftToRight, (std::vector<QString>{"好"}));
  EXPECT_EQ(answer.icon, QMessageBox::Information);
}

TEST(QtAlertsTest, AShortSentenceKeepsItsLineWhole) {
  std::vector<QAbstractButton*> buttons;
  const auto box = makeAlertBox(
      {"已是最新版本", "当前版本 1.0.0 已是最新。", AlertDescription::Style::informational, {}},
      buttons);
  box->setAttribute(Qt::WA_DontShowOnScreen);
  box->show();
  int lines = 0;  // of each text at the width the box gave its label
  for (const QLabel* label : box->findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;  // the icon
    const QFontMetrics metrics = label->fontMetrics();
    const QRect laid = metrics.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text());
    lines += laid.height() < 2 * metrics.lineSpacing() ? 1 : 2;
  }
  EXPECT_EQ(lines, 2);
}

MenuDescription sampleMenu() {
  return MenuDescription{
      "Ornavel",
      {MenuItem::item("关于", InputMenuAction::showAbout), MenuItem::separatorItem(),
       MenuItem::item("在线词库", InputMenuAction::toggleOnlineDict, MenuItem::State::on),
       MenuItem::item("上传输入习惯", InputMenuAction::toggleUploadConsent, MenuItem::State::off),
       MenuItem{"检查更新", InputMenuAction::checkUpdate, MenuItem::State::none, false, "u"}}};
}

TEST(QtInputMenuTest, ShowsItemsWithCheckMarksAndSeparatorsAndReportsTheChoiceLater) {
  QtInputMenu menu;
  std::vector<InputMenuAction> chosen;
  menu.setNextAnchor(QPoint(120, 80));
  menu.show(sampleMenu(), [&](InputMenuAction action) { chosen.push_back(action); });
  QMenu* shown = menu.currentMenu();
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(shown));
  EXPECT_EQ(shown->pos(), QPoint(120, 80));

  const QList<QAction*> actions = shown->actions();
  ASSERT_EQ(actions.size(), 5);
  EXPECT_EQ(actions[0]->text(), QString("关于"));
  EXPECT_FALSE(actions[0]->isCheckable());
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_TRUE(actions[2]->isCheckable());
  EXPECT_TRUE(actions[2]->isChecked());
  EXPECT_TRUE(actions[3]->isCheckable());
  EXPECT_FALSE(actions[3]->isChecked());
  EXPECT_EQ(actions[4]->shortcut(), QKeySequence("Ctrl+U"));

  actions[3]->trigger();
  EXPECT_TRUE(chosen.empty()) << "reported once the menu's own handling has returned";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !chosen.empty(); }, 2000));
  EXPECT_EQ(chosen, (std::vector<InputMenuAction>{InputMenuAction::toggleUploadConsent}));
}

TEST(QtInputMenuTest, ANewMenuReplacesTheOldOneAndChoicesDieWithTheMenu) {
  std::vector<InputMenuAction> chosen;
  {
    QtInputMenu menu;
    menu.show(sampleMenu(), [&](InputMenuAction action) { chosen.push_back(action); });
    QPointer<QMenu> first = menu.currentMenu();
    // Showing again from inside a choice, as a menu action may do.
    menu.show(sampleMenu(), [&](InputMenuAction action) { chosen.push_back(action); });
    EXPECT_NE(menu.currentMenu(), first.data());
    QTest::qWait(10);
    EXPECT_TRUE(first.isNull());
    menu.currentMenu()->actions()[0]->trigger();
  }
  QTest::qWait(20);
  EXPECT_TRUE(chosen.empty());
}

TEST(QtPlatformTest, AssemblesEveryPortOnTheQtEventLoop) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("ornav-qt-platform-" + std::to_string(::getpid()));
  {
    QtPlatform platform(LinuxPlatformOptions{.settingsFile = folder / "settings.json"});
    const Platform ports = platform.ports();
    EXPECT_EQ(ports.mainQueue, &platform.mainQueue());
    EXPECT_EQ(&platform.linuxPlatform().mainQueue(), &platform.mainQueue());
    EXPECT_NE(ports.settings, nullptr);
    EXPECT_NE(ports.http, nullptr);
    EXPECT_NE(ports.backgroundQueue, nullptr);
    EXPECT_EQ(ports.textMeasurer, &platform.textMeasurer());
    EXPECT_NE(ports.screens, nullptr);
    EXPECT_EQ(ports.windows, &platform.windows());
    EXPECT_NE(ports.alerts, nullptr);
    EXPECT_NE(ports.urlOpener, nullptr);
    EXPECT_EQ(ports.inputMenu, &platform.inputMenu());

    // Background work hands its result to the Qt loop.
    bool ranOnGui = false;
    ports.backgroundQueue->post([&] {
      ports.mainQueue->post(
          [&] { ranOnGui = QThread::currentThread() == QCoreApplication::instance()->thread(); });
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ranOnGui; }, 5000));
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace ornav::linux_platform

#include "qt_ports_test.moc"
