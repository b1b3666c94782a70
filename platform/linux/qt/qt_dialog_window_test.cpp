#include "platform/linux/qt/qt_dialog_window.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <fstream>

#include "platform/linux/qt/qt_render.h"
#include "platform/linux/qt/qt_window_system.h"
#include "testing/fake_system.h"

namespace ornav::linux_platform {
namespace {

constexpr double kWidth = 400;
constexpr double kHeight = 300;

std::filesystem::path writeTestImage() {
  const auto file = std::filesystem::temp_directory_path() /
                    ("ornav-qt-dialog-" + std::to_string(::getpid()) + ".png");
  QImage image(32, 16, QImage::Format_ARGB32);
  image.fill(QColor(200, 30, 30));
  image.save(QString::fromStdString(file.string()), "PNG");
  return file;
}

struct Recorded {
  std::vector<DialogAction> actions;
  std::vector<KeyEvent> keys;
};

WindowDescription sampleDescription(Recorded& recorded, const std::filesystem::path& image) {
  WindowDescription description;
  description.title = "检查更新";
  description.contentSize = Size{kWidth, kHeight};
  description.level = WindowLevel::floating;
  description.initialFocus = "contact";
  description.controls = {
      {"title", Rect{20, 250, 360, 30},
       LabelControl{"A new version", Font::boldSystem(16), TextAlignment::center, std::nullopt}},
      {"note", Rect{20, 225, 360, 20},
       LabelControl{"Details", Font::system(12), TextAlignment::left,
                    Color::ofRole(Color::Role::secondaryLabel)}},
      {"notes", Rect{20, 130, 360, 90},
       TextViewControl{"line one\nline two", Font::system(13), false, true}},
      {"message", Rect{20, 100, 200, 24}, TextViewControl{"", Font::system(13), true, true}},
      {"contact", Rect{20, 70, 360, 24},
       TextFieldControl{"", "联系方式（可选）", Font::system(13)}},
      {"progress", Rect{20, 56, 360, 8}, ProgressControl{ProgressState{}}},
      {"install", Rect{290, 16, 90, 32},
       ButtonControl{"Install", DialogAction::startInAppUpdate, "\r", true}},
      {"later", Rect{190, 16, 90, 32}, ButtonControl{"Later", DialogAction::closeUpdate, "", true}},
      {"icon", Rect{330, 250, 64, 44},
       ImageControl{{ImageSource{ImageSource::Kind::file, "/nonexistent/icon.png"},
                     ImageSource{ImageSource::Kind::file, image.string()}}}},
      {"", Rect{0, 0, 10, 10},
       LabelControl{"unnamed", Font::system(13), TextAlignment::left, std::nullopt}},
  };
  // The editing-shortcut rule of the dialogs, plus Command-B as a command Qt has no key for,
  // so that the test can tell the rule's command from the widgets' own shortcuts.
  description.keyEquivalentRule = [&recorded](const KeyEvent& event) -> std::optional<EditCommand> {
    recorded.keys.push_back(event);
    const auto flags = event.modifierFlags & ModifierFlag::kDeviceIndependentMask;
    if (flags != ModifierFlag::kCommand || !event.charactersIgnoringModifiers) return std::nullopt;
    const std::string& key = *event.charactersIgnoringModifiers;
    if (key == "a" || key == "b") return EditCommand::selectAll;
    if (key == "v") return EditCommand::paste;
    return std::nullopt;
  };
  return description;
}

class QtDialogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QtDialogWindow>(sampleDescription(recorded, imageFile),
                                              ImageLoader(nullptr));
    window->setActionHandler([this](DialogAction action) { recorded.actions.push_back(action); });
  }
  void TearDown() override {
    window.reset();
    std::filesystem::remove(imageFile);
  }
  template <typename T>
  T* control(const std::string& name) {
    return dynamic_cast<T*>(window->control(name));
  }
  void showAndActivate() {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window->widget()));
  }

  Recorded recorded;
  std::filesystem::path imageFile = writeTestImage();
  std::unique_ptr<QtDialogWindow> window;
};

TEST(QtDialogLabels, WrapOnlyWhereTheFrameHoldsASecondLine) {
  // 12-point text: a second line needs 28.8 points.
  const std::string longText(200, 'x');
  WindowDescription description;
  description.contentSize = Size{400, 200};
  description.controls = {
      {"oneLine", Rect{20, 150, 360, 18},
       LabelControl{longText, Font::system(12), TextAlignment::left, std::nullopt}},
      {"justTwo", Rect{20, 110, 360, 28.8},
       LabelControl{longText, Font::system(12), TextAlignment::left, std::nullopt}},
      {"paragraph", Rect{20, 20, 360, 80},
       LabelControl{longText, Font::system(12), TextAlignment::left, std::nullopt}},
  };
  QtDialogWindow window(description, ImageLoader(nullptr));
  const auto label = [&](const char* name) { return dynamic_cast<QLabel*>(window.control(name)); };
  ASSERT_NE(label("oneLine"), nullptr);
  EXPECT_FALSE(label("oneLine")->wordWrap());
  EXPECT_TRUE(label("justTwo")->wordWrap());
  EXPECT_TRUE(label("paragraph")->wordWrap());
  // What a one-line label holds is still its whole text.
  EXPECT_EQ(window.text("oneLine"), longText);
}

TEST_F(QtDialogWindowTest, IsAFixedSizeTitledWindowThatOnlyCloses) {
  DialogWidget& widget = window->widget();
  EXPECT_EQ(widget.windowTitle(), QString("检查更新"));
  EXPECT_EQ(widget.size(), QSize(400, 300));
  EXPECT_EQ(widget.minimumSize(), widget.maximumSize());
  const Qt::WindowFlags flags = widget.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(window->isVisible());
}

TEST_F(QtDialogWindowTest, ControlsStandAtTheirFramesFlippedFromTheBottom) {
  EXPECT_EQ(window->control("title")->geometry(), QRect(20, 300 - 250 - 30, 360, 30));
  EXPECT_EQ(window->control("install")->geometry(), QRect(290, 300 - 16 - 32, 90, 32));
  EXPECT_EQ(window->control("progress")->geometry(), QRect(20, 300 - 56 - 8, 360, 8));
  EXPECT_EQ(window->control("contact")->geometry(), QRect(20, 300 - 70 - 24, 360, 24));
  EXPECT_EQ(window->control(""), nullptr);
  EXPECT_EQ(window->control("missing"), nullptr);
}

TEST_F(QtDialogWindowTest, ControlsAreOfTheirKindsWithTheirTexts) {
  auto* title = control<QLabel>("title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QString("A new version"));
  // 30 points hold one line of a 16-point font: it clips instead of showing half a second line.
  EXPECT_FALSE(title->wordWrap());
  EXPECT_EQ(title->textInteractionFlags(), Qt::NoTextInteraction);
  EXPECT_TRUE(title->alignment().testFlag(Qt::AlignHCenter));
  EXPECT_TRUE(title->font().bold());
  EXPECT_NEAR(QFontInfo(title->font()).pixelSize(), 16, 1);

  auto* note = control<QLabel>("note");
  ASSERT_NE(note, nullptr);
  const QColor noteColour = note->palette().color(QPalette::WindowText);
  EXPECT_LT(noteColour.alphaF(), title->palette().color(QPalette::WindowText).alphaF());

  auto* notes = control<QPlainTextEdit>("notes");
  ASSERT_NE(notes, nullptr);
  EXPECT_TRUE(notes->isReadOnly());
  EXPECT_TRUE(notes->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
  EXPECT_EQ(notes->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_NE(notes->frameShape(), QFrame::NoFrame);
  EXPECT_FALSE(control<QPlainTextEdit>("message")->isReadOnly());

  auto* contact = control<QLineEdit>("contact");
  ASSERT_NE(contact, nullptr);
  EXPECT_EQ(contact->placeholderText(), QString("联系方式（可选）"));

  auto* install = control<QPushButton>("install");
  ASSERT_NE(install, nullptr);
  EXPECT_TRUE(install->isDefault());
  EXPECT_FALSE(control<QPushButton>("later")->isDefault());

  // The image: the second source loads (the first is missing), scaled to fit 64 × 44.
  auto* icon = control<QLabel>("icon");
  ASSERT_NE(icon, nullptr);
  const QPixmap pixmap = icon->pixmap();
  ASSERT_FALSE(pixmap.isNull());
  EXPECT_EQ(pixmap.size(), QSize(64, 32));
}

TEST_F(QtDialogWindowTest, TextsAreReachedByName) {
  EXPECT_EQ(window->text("title"), "A new version");
  EXPECT_EQ(window->text("notes"), "line one\nline two");
  EXPECT_EQ(window->text("install"), "Install");
  EXPECT_TRUE(window->setText("title", "已是最新版本"));
  EXPECT_TRUE(window->setText("install", "重试"));
  EXPECT_TRUE(window->setText("notes", "新的说明"));
  EXPECT_TRUE(window->setText("contact", "me@example.org"));
  EXPECT_EQ(control<QLabel>("title")->text(), QString("已是最新版本"));
  EXPECT_EQ(window->text("install"), "重试");
  EXPECT_EQ(window->text("notes"), "新的说明");
  EXPECT_EQ(window->text("contact"), "me@example.org");
  // Kinds without text, and names without a control.
  EXPECT_FALSE(window->setText("progress", "x"));
  EXPECT_FALSE(window->setText("icon", "x"));
  EXPECT_FALSE(window->setText("missing", "x"));
  EXPECT_EQ(window->text("progress"), std::nullopt);
  EXPECT_EQ(window->text("missing"), std::nullopt);
}

TEST_F(QtDialogWindowTest, ButtonsReportTheirActionsFromTheEventLoop) {
  showAndActivate();
  QTest::mouseClick(control<QPushButton>("later"), Qt::LeftButton);
  EXPECT_TRUE(recorded.actions.empty()) << "reported after the click's own handling";
  ASSERT_TRUE(QTest::qWaitFor([&] { return recorded.actions.size() == 1; }, 2000));
  EXPECT_EQ(recorded.actions[0], DialogAction::closeUpdate);

  EXPECT_TRUE(window->setEnabled("later", false));
  QTest::mouseClick(control<QPushButton>("later"), Qt::LeftButton);
  QTest::qWait(20);
  EXPECT_EQ(recorded.actions.size(), 1u);
  EXPECT_FALSE(window->setEnabled("missing", false));

  // Return in the text field presses the button that answers to Return.
  control<QLineEdit>("contact")->setFocus();
  QTest::keyClick(control<QLineEdit>("contact"), Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return recorded.actions.size() == 2; }, 2000));
  EXPECT_EQ(recorded.actions[1], DialogAction::startInAppUpdate);
}

TEST_F(QtDialogWindowTest, AHandlerMayCloseAndDropItsWindow) {
  window->setActionHandler([this](DialogAction action) {
    recorded.actions.push_back(action);
    window->close();
    window.reset();
  });
  showAndActivate();
  QTest::mouseClick(control<QPushButton>("install"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window == nullptr; }, 2000));
  EXPECT_EQ(recorded.actions, (std::vector<DialogAction>{DialogAction::startInAppUpdate}));
}

TEST_F(QtDialogWindowTest, PressesAfterTheWindowIsGoneAreDropped) {
  showAndActivate();
  QTest::mouseClick(control<QPushButton>("later"), Qt::LeftButton);
  window.reset();
  QTest::qWait(20);
  EXPECT_TRUE(recorded.actions.empty());
}

TEST_F(QtDialogWindowTest, TitleBarCloseOnlyHidesAndCloseEndsTheWindow) {
  showAndActivate();
  EXPECT_TRUE(window->isVisible());
  QTest::keyClicks(control<QLineEdit>("contact"), "typed");
  EXPECT_TRUE(window->widget().close());  // what the title bar's button does
  EXPECT_FALSE(window->isVisible());
  window->show();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->text("contact"), "typed");

  window->close();
  EXPECT_FALSE(window->isVisible());
  window->show();
  EXPECT_FALSE(window->isVisible()) << "closed for good";
}

TEST_F(QtDialogWindowTest, InitialFocusGoesToTheNamedControl) {
  showAndActivate();
  EXPECT_EQ(QApplication::focusWidget(), window->control("contact"));
}

TEST_F(QtDialogWindowTest, ProgressShowsDeterminateFractionsAndABusyBar) {
  auto* bar = control<QProgressBar>("progress");
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->isTextVisible());
  EXPECT_EQ(bar->value(), 0);

  EXPECT_TRUE(window->setProgress("progress", ProgressState{false, false, 0, 1, 0.25}));
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), kProgressSteps);
  EXPECT_EQ(bar->value(), kProgressSteps / 4);

  EXPECT_TRUE(window->setProgress("progress", ProgressState{false, false, 10, 30, 25}));
  EXPECT_EQ(bar->value(), kProgressSteps * 3 / 4);

  EXPECT_TRUE(window->setProgress("progress", ProgressState{true, true, 0, 1, 0}));
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 0);

  // Values beyond the range, an empty range and NaN stay on the bar.
  EXPECT_TRUE(window->setProgress("progress", ProgressState{false, false, 0, 1, 7}));
  EXPECT_EQ(bar->value(), kProgressSteps);
  EXPECT_TRUE(window->setProgress("progress", ProgressState{false, false, 0, 1, -3}));
  EXPECT_EQ(bar->value(), 0);
  EXPECT_TRUE(window->setProgress("progress", ProgressState{false, false, 1, 1, 1}));
  EXPECT_EQ(bar->value(), 0);
  EXPECT_TRUE(window->setProgress("progress", ProgressState{false, false, 0, 1, std::nan("")}));
  EXPECT_EQ(bar->value(), 0);

  EXPECT_FALSE(window->setProgress("title", ProgressState{}));
  EXPECT_FALSE(window->setProgress("missing", ProgressState{}));
}

TEST_F(QtDialogWindowTest, ShortcutsRunTheCommandsTheRuleAnswers) {
  showAndActivate();
  auto* message = control<QPlainTextEdit>("message");
  message->setPlainText("hello");
  message->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), message);

  // Ctrl-B means nothing to the text view: the selection proves the rule's command ran.
  QTest::keyClick(message, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(message->textCursor().selectedText(), QString("hello"));
  ASSERT_FALSE(recorded.keys.empty());
  const KeyEvent& asked = recorded.keys.back();
  EXPECT_EQ(asked.keyCode, 11);
  EXPECT_EQ(asked.modifierFlags, ModifierFlag::kCommand);
  EXPECT_EQ(asked.charactersIgnoringModifiers, "b");

  // Ctrl-V pastes into the field.
  QApplication::clipboard()->setText("pasted");
  auto* contact = control<QLineEdit>("contact");
  contact->setFocus();
  QTest::keyClick(contact, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(contact->text(), QString("pasted"));

  // Keys without a modifier are typed, never asked about.
  const std::size_t asks = recorded.keys.size();
  QTest::keyClick(contact, Qt::Key_B);
  EXPECT_EQ(recorded.keys.size(), asks);
  EXPECT_EQ(contact->text(), QString("pastedb"));

  // Command-Option-B is not the rule's: the widget handles it as usual (it does nothing).
  message->setFocus();
  message->moveCursor(QTextCursor::End);
  QTest::keyClick(message, Qt::Key_B, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(recorded.keys.size(), asks + 1);
  EXPECT_TRUE(message->textCursor().selectedText().isEmpty());

  // A focused button cannot select: the key goes on as usual, asked about once on its way.
  auto* later = control<QPushButton>("later");
  later->setFocus();
  QTest::keyClick(later, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(recorded.keys.size(), asks + 2);
}

TEST(QtWindowSystemTest, MakesDialogsAndPanelsAndActivatesTheLatestDialog) {
  QtWindowSystem windows(nullptr);
  WindowDescription first;
  first.title = "关于";
  first.contentSize = Size{200, 100};
  WindowDescription second = first;
  second.title = "意见反馈";
  auto a = windows.createWindow(first);
  auto b = windows.createWindow(second);
  a->show();
  b->show();
  windows.activateApplication();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&static_cast<QtDialogWindow&>(*b).widget()));
  EXPECT_TRUE(a->isVisible());
  a.reset();
  windows.activateApplication();  // with a window gone
  auto panel = windows.createPanelWindow();
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(panel->isVisible());
}

TEST(QtWindowSystemTest, DialogsRenderAsDrawn) {
  WindowDescription description;
  description.contentSize = Size{200, 100};
  description.controls = {
      {"label", Rect{10, 40, 180, 20},
       LabelControl{"Hello", Font::system(13), TextAlignment::left, std::nullopt}}};
  // The label's text marks some pixels of its frame; the rest of the window is plain ground.
  auto textPixels = [](const QImage& image) {
    const QColor ground = image.pixelColor(5, 5);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) != ground) {
          EXPECT_TRUE(QRect(10, 40, 180, 20).contains(x, y)) << x << "," << y;
          ++count;
        }
    return count;
  };
  QtDialogWindow window(description, ImageLoader(nullptr));
  window.show();
  const QImage shown = renderDialogWindow(window);
  EXPECT_EQ(shown.size(), QSize(200, 100));
  EXPECT_GT(textPixels(shown), 10);

  const QImage described = renderWindowDescription(description, nullptr);
  EXPECT_EQ(described.size(), QSize(200, 100));
  EXPECT_GT(textPixels(described), 10);
}

TEST(QtWindowSystemTest, ABoxIsFilledOutlinedAndRounded) {
  WindowDescription description;
  description.contentSize = Size{60, 40};
  const BoxControl box{{Color::Role::custom, 1, 0, 0, 1}, {Color::Role::custom, 0, 0, 1, 1}, 2, 8};
  description.controls = {{"", Rect{10, 10, 40, 20}, box}};
  const QImage image = renderWindowDescription(description, nullptr);
  EXPECT_EQ(image.pixelColor(30, 20), QColor(255, 0, 0));       // inside
  EXPECT_EQ(image.pixelColor(10, 20), QColor(0, 0, 255));       // on its left edge
  EXPECT_EQ(image.pixelColor(10, 10), image.pixelColor(2, 2));  // cut off by the rounded corner
}

std::string readAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(QtImageLoaderTest, FindsTheApplicationIconInTheBundlesResources) {
  const std::filesystem::path icns = ORNAV_APP_ICON;
  if (!std::filesystem::exists(icns)) GTEST_SKIP() << "the build rendered no icon";
  ASSERT_TRUE(QGuiApplication::windowIcon().isNull());
  ornav::testing::FakeBundle bundle;
  bundle.info["CFBundleIconFile"] = std::string("AppIcon");
  bundle.addResource("AppIcon.icns", readAll(icns));
  const ImageLoader images(&bundle);

  const QIcon named = images.load(ImageSource{ImageSource::Kind::named, "AppIcon"});
  ASSERT_FALSE(named.isNull());
  EXPECT_GE(named.availableSizes().size(), 3) << "every size the icns file holds";
  EXPECT_FALSE(images.load(ImageSource{ImageSource::Kind::applicationIcon, ""}).isNull());
  EXPECT_FALSE(images
                   .load(ImageSource{ImageSource::Kind::file,
                                     (bundle.resourcePath() / "AppIcon.icns").string()})
                   .isNull());
  // The first source that loads wins.
  EXPECT_FALSE(images
                   .load({ImageSource{ImageSource::Kind::named, "NoSuchImage"},
                          ImageSource{ImageSource::Kind::applicationIcon, ""}})
                   .isNull());

  // Without the bundle, or without such an image: nothing.
  EXPECT_TRUE(
      ImageLoader(nullptr).load(ImageSource{ImageSource::Kind::applicationIcon, ""}).isNull());
  EXPECT_TRUE(images.load(ImageSource{ImageSource::Kind::named, "NoSuchImage"}).isNull());
  EXPECT_TRUE(images.load(ImageSource{ImageSource::Kind::file, ""}).isNull());
  bundle.addResource("Broken.png", "not an image");
  EXPECT_TRUE(images.load(ImageSource{ImageSource::Kind::named, "Broken"}).isNull());
  EXPECT_TRUE(images.load(std::vector<ImageSource>{}).isNull());
}

}  // namespace
}  // namespace ornav::linux_platform
