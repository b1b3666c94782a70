#include "uyghur_typist.h"

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "session_test_support.h"

namespace ornav::session_testing {

namespace {

using nlohmann::json;

// Cheaper keys first: a plain lower-case letter, then other single ASCII keys, then the rest.
int keyCost(const std::string& key) {
  if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') return 0;
  if (key.size() == 1) return 1;
  return 2;
}

void keepCheapest(std::map<std::string, std::string>& inverse, const std::string& output,
                  const std::string& key) {
  auto it = inverse.find(output);
  if (it == inverse.end() || keyCost(key) < keyCost(it->second) ||
      (keyCost(key) == keyCost(it->second) && key < it->second)) {
    inverse[output] = key;
  }
}

// Virtual key codes of the digits 1 to 5.
constexpr int kDigitKeyCodes[] = {18, 19, 20, 21, 23};

std::uint64_t shiftFor(const std::string& key) {
  return key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || key == "?") ? 0x20000 : 0;
}

bool isLetter(const std::string& cp) {
  // Letters of the Arabic block (two-byte code points U+0600-U+06FF) other than its punctuation.
  const unsigned char lead = static_cast<unsigned char>(cp[0]);
  if (cp.size() != 2 || lead < 0xD8 || lead > 0xDB) return false;
  return cp != "،" && cp != "؛" && cp != "؟" && cp != "۔";
}

// The first-row column of `word` in the output's panel, if shown.
std::optional<int> columnOf(const json& out, const std::string& word) {
  const json& panel = out["panel"];
  if (!panel["visible"].get<bool>() || panel["rows"].empty()) return std::nullopt;
  if (panel["activeRow"].get<int>() != 0) return std::nullopt;
  const json& row = panel["rows"][0];
  for (std::size_t c = 0; c < row.size(); ++c) {
    if (row[c].get<std::string>() == word) return static_cast<int>(c);
  }
  return std::nullopt;
}

}  // namespace

UyghurTypist::UyghurTypist(const dict::KeyMapTables& tables) : words_(tables) {
  for (const auto& [key, output] : tables.punctuation)
    keepCheapest(punctuationKey_, output, key);
}

std::string UyghurTypist::send(session::Session& session, const std::string& line) {
  lines_.push_back(line);
  ++figures_.keys;
  lastOutput_ = *session.handleLine(line);
  return lastOutput_;
}

std::optional<std::vector<std::string>> UyghurTypist::type(session::Session& session,
                                                           const std::string& text) {
  lines_.clear();
  lastOutput_ = *session.handleLine(kActivate);
  lines_.push_back(kActivate);
  const std::vector<std::string> cps = codePoints(text);
  figures_.characters += graphemeCount(text);
  bool afterCommit = false;  // the document ends with the space a pick or commit added

  for (std::size_t i = 0; i < cps.size();) {
    if (isLetter(cps[i])) {
      std::size_t end = i;
      while (end < cps.size() && isLetter(cps[end]))
        ++end;
      std::string word;
      for (std::size_t k = i; k < end; ++k)
        word += cps[k];

      const auto typed = words_.type(word);
      if (!typed) {
        missing_ = word;
        return std::nullopt;
      }
      std::vector<std::string> keys;
      for (const dict::KeyPress& press : typed->keys)
        keys.push_back(press.typed);

      bool done = false;
      if (auto column = columnOf(json::parse(lastOutput_), word)) {
        send(session, key(kDigitKeyCodes[*column], std::to_string(*column + 1)));
        ++figures_.picked;
        ++figures_.pickedFromPredictions;
        done = true;
      }
      for (std::size_t n = 0; !done && n < keys.size(); ++n) {
        const json out = json::parse(send(session, key(0, keys[n], shiftFor(keys[n]))));
        if (auto column = columnOf(out, word)) {
          send(session, key(kDigitKeyCodes[*column], std::to_string(*column + 1)));
          ++figures_.picked;
          done = true;
        }
      }
      if (!done) {
        send(session, key(36, "\r"));
        ++figures_.committedAsTyped;
      }
      afterCommit = true;
      i = end;
      continue;
    }

    const std::string& cp = cps[i];
    if (cp == " " && afterCommit) {  // the commit already wrote it
      afterCommit = false;
      ++i;
      continue;
    }
    if (afterCommit) {  // a mark right after a word: take back the commit's space
      send(session, key(51, "\x7f"));
      afterCommit = false;
    }
    if (auto mark = punctuationKey_.find(cp); mark != punctuationKey_.end()) {
      send(session, key(43, mark->second, shiftFor(mark->second)));
    } else if (cp == " ") {
      send(session, key(49, " "));
    } else if (cp == "\n") {
      send(session, key(36, "\r"));
    } else {
      send(session, key(47, cp));  // an unmapped character, as typed
    }
    ++i;
  }
  if (afterCommit) send(session, key(51, "\x7f"));
  return lines_;
}

}  // namespace ornav::session_testing
