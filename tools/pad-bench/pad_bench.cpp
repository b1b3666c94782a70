// What a key press costs in the Linux program, from the key event reaching the pad to the panel
// drawn: the real pad, controllers, engine (the bundle's dictionary), panel and Qt windows, with a
// paragraph of Uyghur typed through the shipped key map (its words typed key by key, each taken
// with Space). The figures are printed as median, p99 and worst.
//
//   pad_bench BUNDLE.app PARAGRAPH.txt     (QT_QPA_PLATFORM picks the window system)
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "base/files.h"
#include "base/temporary_folder.h"
#include "base/text.h"
#include "core/input_method_server.h"
#include "key_map_file.h"
#include "key_press_figures.h"
#include "platform/linux/host/typing_pad.h"
#include "platform/linux/qt/qt_platform.h"
#include "services/update_service.h"
#include "ui/user_interface.h"

namespace {

using namespace ornav;

// Qt's key for one Latin character of the key map.
QKeyEvent keyFor(const std::string& typed, QEvent::Type type) {
  const QString text = QString::fromStdString(typed);
  const QChar c = text.isEmpty() ? QChar() : text.at(0);
  int key = c.toUpper().unicode();
  if (typed == " ") key = Qt::Key_Space;
  const Qt::KeyboardModifiers modifiers = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
  return QKeyEvent(type, key, modifiers, text);
}

// Sends one key press and release, and waits until everything it caused has been handled and
// drawn; the microseconds it took.
double press(QWidget& target, const std::string& typed) {
  const auto start = std::chrono::steady_clock::now();
  QKeyEvent down = keyFor(typed, QEvent::KeyPress);
  QApplication::sendEvent(&target, &down);
  QKeyEvent up = keyFor(typed, QEvent::KeyRelease);
  QApplication::sendEvent(&target, &up);
  QApplication::processEvents(QEventLoop::AllEvents);
  QApplication::sync();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pad_bench BUNDLE.app PARAGRAPH.txt\n");
    return 2;
  }
  QApplication qt(argc, argv);
  const std::filesystem::path bundle = argv[1];
  const auto paragraph = readWholeFile(argv[2]);
  const auto keymap = readWholeFile(bundle / "Contents" / "Resources" / "keymap.json");
  const auto tables = keymap ? dict::parseKeyMapJson(*keymap, nullptr) : std::nullopt;
  if (!paragraph || !tables) {
    std::fprintf(stderr, "pad_bench: cannot read the paragraph or the bundle's key map\n");
    return 1;
  }
  const TemporaryFolder home("ornav-pad-bench");
  ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);

  linux_platform::QtPlatform platform({.bundlePath = bundle});
  ApplicationOptions options;
  options.logFiles = Logger::Files{"", (home / "ornav_ime.log").string()};
  options.serviceBaseURL = "";
  Application app(platform.ports(), options);
  app.loadKeyMap();
  UpdateService::setHasShownWelcome(true);  // no welcome window over the pad
  UserInterface ui(app);
  InputMethodServer server(kConnectionName, app.identity().bundleIdentifier,
                           ui.controllerEnvironment());
  linux_platform::TypingPad pad(server, platform.inputMenu(), app.keyMap());
  pad.show();
  pad.first().setFocus();
  QApplication::processEvents();

  const dict::Typist typist(*tables);
  std::vector<double> letters, picks;
  std::string word;
  const auto typeWord = [&] {
    if (word.empty()) return;
    if (const auto typed = typist.type(word)) {
      for (const auto& key : typed->keys)
        letters.push_back(press(pad.first(), key.typed));
      picks.push_back(press(pad.first(), " "));
    }
    word.clear();
  };
  for (const std::string& character : codePoints(*paragraph)) {
    const bool letter = character.size() == 2 && static_cast<unsigned char>(character[0]) >= 0xD8;
    if (letter && character != "،" && character != "؛" && character != "؟") {
      word += character;
    } else {
      typeWord();
    }
  }
  typeWord();

  std::printf("key press to panel drawn, %s\n", qPrintable(QApplication::platformName()));
  printKeyPressFigures("letters", letters);
  printKeyPressFigures("picks (Space)", picks);
  return 0;
}
