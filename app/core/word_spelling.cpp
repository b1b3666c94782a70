#include "core/word_spelling.h"

#include <string_view>

#include "base/text.h"

namespace ornav {
namespace {

constexpr std::string_view kHamzaCarrier = "ئ";

bool isVowel(char32_t c) {
  switch (c) {
    case U'ا':
    case U'ە':
    case U'و':
    case U'ۇ':
    case U'ۆ':
    case U'ۈ':
    case U'ې':
    case U'ى':
      return true;
    default:
      return false;
  }
}

// The last character of `text`, if it is well-formed.
std::optional<char32_t> lastCharacter(const std::string& text) {
  std::size_t at = text.size();
  while (at > 0 && (static_cast<unsigned char>(text[at - 1]) & 0xC0) == 0x80)
    --at;
  if (at == 0) return std::nullopt;
  const auto c = decodeUtf8At(text, at - 1);
  if (!c) return std::nullopt;
  return c->codePoint;
}

bool endsWithConsonant(const std::string& text) {
  const auto last = lastCharacter(text);
  return last && !isVowel(*last) && *last != U'ئ';
}

}  // namespace

std::string applySpellingEdit(std::string text, const SpellingEdit& edit) {
  for (std::size_t i = 0; i < edit.erase && !text.empty(); ++i) {
    std::size_t cut = text.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
      --cut;
    text.erase(cut);
  }
  return text + edit.input;
}

void WordSpelling::follow(const std::string& composing) {
  if (composing.empty() || composing != shown_) steps_.clear();
  shown_ = composing;
}

SpellingEdit WordSpelling::record(Step step, const std::string& composing) {
  const SpellingEdit edit{codePointCount(step.erased), step.added};
  shown_ = applySpellingEdit(composing, edit);
  steps_.push_back(std::move(step));
  return edit;
}

std::optional<SpellingEdit> WordSpelling::press(const KeyMap& keys, const std::string& typed,
                                                const std::string& composing) {
  follow(composing);
  const KeyMapExtras& extras = keys.extras();
  const bool spelling = !extras.digraphs.empty();
  const Step* last = steps_.empty() ? nullptr : &steps_.back();

  if (spelling && last != nullptr && last->kind == Kind::letter) {
    if (auto letter = extras.digraphText(last->typed, typed))
      return record({typed, Kind::spelled, last->added, *letter}, composing);
  }
  const std::optional<std::string> text = keys.map(typed);
  if (spelling && text == kHamzaCarrier && endsWithConsonant(composing))
    return record({typed, Kind::separator, "", ""}, composing);

  // A word begins, or goes on after a separator: vowels take their word-initial form.
  const bool starts = composing.empty() || (last != nullptr && last->kind == Kind::separator);
  std::optional<std::string> initial = starts ? extras.initialText(typed) : std::nullopt;
  if (!initial && !text) return std::nullopt;
  return record({typed, Kind::letter, "", initial ? *initial : *text}, composing);
}

std::optional<SpellingEdit> WordSpelling::takeBack(const KeyMap& keys,
                                                   const std::string& composing) {
  if (keys.extras().digraphs.empty()) return std::nullopt;
  follow(composing);
  if (steps_.empty()) return std::nullopt;
  const Step step = std::move(steps_.back());
  steps_.pop_back();
  const SpellingEdit edit{codePointCount(step.added), step.erased};
  shown_ = applySpellingEdit(composing, edit);
  return edit;
}

}  // namespace ornav
