#include "dialogs/key_map_window.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string_view>

#include "dialogs/dialog_controls.h"
#include "dialogs/shortcut_window.h"

namespace ornav::key_map_window {

namespace {

using dialog_controls::label;
using dialog_controls::secondaryText;
using dialog_controls::tertiaryText;
using Table = std::map<std::string, std::string>;

// The three letter rows of a US keyboard: each key alone and with Shift, and how far the row
// stands in from the first.
struct PhysicalRow {
  double indent;
  std::string_view plain;
  std::string_view shifted;
};
constexpr PhysicalRow kRows[] = {
    {0, "qwertyuiop", "QWERTYUIOP"},
    {12, "asdfghjkl;'", "ASDFGHJKL:\""},
    {37, "zxcvbnm,./", "ZXCVBNM<>?"},
};

constexpr double kMargin = 20;
constexpr double kCapWidth = 44;
constexpr double kCapHeight = 46;
constexpr double kGap = 6;
constexpr double kStep = kCapWidth + kGap;
constexpr double kSectionIndent = 104;  // from the margin to a section's first cap
constexpr double kLetterSize = 20;
constexpr double kShiftLetterSize = 14;

// What the key types in the middle of a word, as the controller decides it.
std::optional<std::string> typedText(const KeyMap& keyMap, const std::string& key) {
  if (auto mark = keyMap.extras().punctuationText(key)) return mark;
  return keyMap.map(key);
}

bool isAsciiLetter(const std::string& key, bool upper) {
  if (key.size() != 1) return false;
  return upper ? (key[0] >= 'A' && key[0] <= 'Z') : (key[0] >= 'a' && key[0] <= 'z');
}

std::string withCase(std::string key, bool upper) {
  key[0] = static_cast<char>(upper ? key[0] - 'a' + 'A' : key[0] - 'A' + 'a');
  return key;
}

std::optional<std::string> shiftedIfDifferent(const std::optional<std::string>& plain,
                                              const std::optional<std::string>& shifted) {
  return shifted && shifted != plain ? shifted : std::nullopt;
}

// One cap per key of `table`; a capital whose small letter is there too becomes that cap's Shift
// layer. Ordered alphabetically with small and capital letters together.
std::vector<KeyCap> pairedCaps(const Table& table) {
  std::vector<KeyCap> caps;
  for (const auto& [key, text] : table) {
    if (isAsciiLetter(key, true) && table.count(withCase(key, false)) > 0) continue;
    KeyCap cap{key, text, std::nullopt};
    if (isAsciiLetter(key, false)) {
      const auto upper = table.find(withCase(key, true));
      if (upper != table.end()) cap.shiftText = shiftedIfDifferent(text, upper->second);
    }
    caps.push_back(std::move(cap));
  }
  const auto folded = [](const KeyCap& cap) {
    return isAsciiLetter(cap.key, true) ? withCase(cap.key, false) : cap.key;
  };
  std::stable_sort(caps.begin(), caps.end(),
                   [&](const KeyCap& a, const KeyCap& b) { return folded(a) < folded(b); });
  return caps;
}

std::size_t firstCodePointLength(const std::string& text) {
  std::size_t length = text.empty() ? 0 : 1;
  while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
    ++length;
  return length;
}

// "Adds ئ at the start of a word" when every word-initial form is its letter after one shared
// first character; otherwise the plain rule.
std::string initialNote(const Table& initial) {
  std::optional<std::string> shared;
  for (const auto& [key, text] : initial) {
    const std::string first = text.substr(0, firstCodePointLength(text));
    if (text.size() == first.size() || (shared && *shared != first)) return "在词首时输入";
    shared = first;
  }
  return "词首自动加 " + shared.value_or("");
}

void addCap(std::vector<ControlDescription>& controls, const KeyCap& cap, double x, double top,
            const Font& letterFont) {
  const bool types = cap.text || cap.shiftText;
  const Color ink = Color::ofRole(Color::Role::label, types ? 0.06 : 0.02);
  const Color edge = Color::ofRole(Color::Role::label, types ? 0.25 : 0.12);
  controls.push_back({"", {x, top, kCapWidth, kCapHeight}, BoxControl{ink, edge, 1, 6}});
  controls.push_back(label("", {x + 5, top + 3, 22, 14}, cap.key, Font::system(11),
                           types ? secondaryText() : tertiaryText()));
  if (cap.shiftText) {
    controls.push_back(label("", {x + 20, top + 2, kCapWidth - 24, 20}, *cap.shiftText,
                             Font{letterFont.name, kShiftLetterSize, false},
                             Color::ofRole(Color::Role::systemBlue), TextAlignment::right));
  }
  if (cap.text) {
    controls.push_back(label("", {x + 2, top + 16, kCapWidth - 4, kCapHeight - 18}, *cap.text,
                             Font{letterFont.name, kLetterSize, false}, std::nullopt,
                             TextAlignment::center));
  }
}

}  // namespace

Layout layoutOf(const KeyMap& keyMap) {
  Layout layout;
  std::set<std::string> onKeyboard;
  for (const PhysicalRow& row : kRows) {
    layout.keyboard.emplace_back();
    for (std::size_t i = 0; i < row.plain.size(); ++i) {
      const std::string plain(1, row.plain[i]);
      const std::string shifted(1, row.shifted[i]);
      const std::optional<std::string> text = typedText(keyMap, plain);
      layout.keyboard.back().push_back(
          {plain, text, shiftedIfDifferent(text, typedText(keyMap, shifted))});
      onKeyboard.insert({plain, shifted});
    }
  }

  const KeyMapExtras& extras = keyMap.extras();
  Table others;
  const auto addOthers = [&](const auto& table) {
    for (const auto& entry : table) {
      if (onKeyboard.count(entry.first) == 0) others[entry.first] = *typedText(keyMap, entry.first);
    }
  };
  addOthers(keyMap.arabic());
  addOthers(extras.punctuation);
  const Section sections[] = {
      {"词首元音", initialNote(extras.initial), pairedCaps(extras.initial)},
      {"标点", "结束正在输入的词", pairedCaps(extras.punctuation)},
      {"其他按键", "", pairedCaps(others)},
  };
  for (const Section& section : sections) {
    if (!section.caps.empty()) layout.sections.push_back(section);
  }
  return layout;
}

std::vector<std::pair<std::string, std::string>> shiftLetters(const KeyMap& keyMap) {
  std::vector<std::pair<std::string, std::string>> letters;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string plain(1, letter);
    const std::string shifted = withCase(plain, true);
    if (auto text = shiftedIfDifferent(typedText(keyMap, plain), typedText(keyMap, shifted)))
      letters.emplace_back(shifted, *text);
  }
  return letters;
}

WindowDescription describe(const KeyMap& keyMap, const Font& letterFont) {
  const Layout layout = layoutOf(keyMap);
  double keyboardWidth = 0;
  for (std::size_t r = 0; r < layout.keyboard.size(); ++r)
    keyboardWidth = std::max(keyboardWidth, kRows[r].indent + kStep * layout.keyboard[r].size());
  const double width = 2 * kMargin + keyboardWidth - kGap;

  // Laid out from the top down; flipped to the bottom-left origin once the height is known.
  std::vector<ControlDescription> controls;
  double top = 16;
  const std::string legend =
      keyMap.arabic().empty()
          ? "没有加载键位：每个键都原样输入。"
          : "键帽左上是按键，中间是它输入的字母，右上蓝色的是按住 Shift 时输入的字母。";
  controls.push_back(label("", {kMargin, top, width - 2 * kMargin, 18}, legend, Font::system(12),
                           secondaryText()));
  top += 30;
  double bottom = top;  // of the lowest cap so far
  for (std::size_t r = 0; r < layout.keyboard.size(); ++r) {
    const double rowTop = top + (kCapHeight + kGap) * r;
    for (std::size_t i = 0; i < layout.keyboard[r].size(); ++i)
      addCap(controls, layout.keyboard[r][i], kMargin + kRows[r].indent + kStep * i, rowTop,
             letterFont);
    bottom = rowTop + kCapHeight;
  }

  const double capsLeft = kMargin + kSectionIndent;
  const auto perLine = static_cast<std::size_t>(
      std::max(1.0, std::floor((width - kMargin - capsLeft + kGap) / kStep)));
  for (const Section& section : layout.sections) {
    top = bottom + 16;
    controls.push_back(
        label("", {kMargin, top + 2, kSectionIndent - 8, 16}, section.title, Font::boldSystem(12)));
    controls.push_back(label("", {kMargin, top + 20, kSectionIndent - 8, 28}, section.note,
                             Font::system(11), secondaryText()));
    for (std::size_t i = 0; i < section.caps.size(); ++i)
      addCap(controls, section.caps[i], capsLeft + kStep * (i % perLine),
             top + (kCapHeight + kGap) * (i / perLine), letterFont);
    const std::size_t lines = (section.caps.size() + perLine - 1) / perLine;
    bottom = top + (kCapHeight + kGap) * lines - kGap;
  }

  WindowDescription window = shortcutWindow(kTitle, {width, bottom + kMargin});
  for (ControlDescription& control : controls)
    control.frame.y = window.contentSize.height - control.frame.y - control.frame.height;
  window.controls = std::move(controls);
  return window;
}

}  // namespace ornav::key_map_window
