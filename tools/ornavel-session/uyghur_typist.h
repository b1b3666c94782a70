// Types a text the way a user of the input method would: for every word the keys of the key map
// (word-initial forms at the start), picking the word with its digit as soon as the first row
// of the panel shows it (also straight from the predictions), else committing it as typed with
// Return. Punctuation after a word first removes the space the commit added, as a user does with
// Delete. The result is the list of event lines that were sent.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "key_map_file.h"
#include "session.h"

namespace ornav::session_testing {

class UyghurTypist {
 public:
  // Words are typed with the cheapest keys of the key map (dict::Typist, the inverse that the
  // dictionary tool measures with); punctuation with its own keys.
  explicit UyghurTypist(const dict::KeyMapTables& tables);

  // Types `text` into `session`; the lines sent, or nothing when some character has no key.
  std::optional<std::vector<std::string>> type(session::Session& session, const std::string& text);

  struct Figures {
    std::size_t keys = 0;
    std::size_t characters = 0;
    std::size_t picked = 0;
    std::size_t pickedFromPredictions = 0;
    std::size_t committedAsTyped = 0;
  };
  const Figures& figures() const { return figures_; }
  // The character that had no key, after type() gave up.
  const std::string& missing() const { return missing_; }

 private:
  std::string send(session::Session& session, const std::string& line);

  dict::Typist words_;
  std::map<std::string, std::string> punctuationKey_;
  std::vector<std::string> lines_;
  std::string lastOutput_;
  Figures figures_;
  std::string missing_;
};

}  // namespace ornav::session_testing
