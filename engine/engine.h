// One engine: the two frequency maps, the composing buffer, the context word and the user's
// tables, with the operations behind the C interface.
//
// The maps (and the ranking index beside them) are read in place and shared with every other
// engine of the process over the same files (dictionary.h). The candidate list is kept until the
// state it was ranked for changes, so a pick after a look at the list does not rank again.
//
// The user files are read once, at creation. Saves merge this engine's new counts into the file
// on disk (see user_store.h), so engines of several client applications over one user directory
// keep each other's picks; the tables used for ranking stay this engine's own.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary.h"
#include "fast_ranking.h"
#include "file_syncer.h"
#include "freq_tsv.h"
#include "ranking.h"
#include "word_counts.h"

namespace ornav {

inline constexpr std::string_view user_freq_file = "user_freq.tsv";
inline constexpr std::string_view user_unknown_file = "user_unknown.tsv";
inline constexpr std::string_view extra_dict_file = "extra_dict.tsv";

class Engine {
 public:
  // Empty when either map cannot be read or opened. `dict_dir` and `user_dir` must be valid
  // UTF-8 (the C interface checks); without a user directory nothing is ever read or written.
  static std::unique_ptr<Engine> create(std::string_view dict_dir,
                                        std::optional<std::string_view> user_dir);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Appends valid UTF-8 text to the buffer unchanged.
  void input(std::string_view text);
  // Removes the buffer's last character; true while text remains.
  bool backspace();
  const std::string& buffer() const { return buffer_; }
  // Empties the buffer and clears the context word.
  void reset();

  // The ranked candidates for the current state (ranked once per state).
  const std::vector<std::string>& candidates();

  // Picks candidate `index`; empty text (and no change) when it is out of range.
  std::string select(std::size_t index);
  // Takes the buffer out as typed, counting it when no dictionary knows it.
  std::string commit_raw();

  std::string export_user_freq() const { return format_freq_tsv(user_freq_); }
  std::string export_user_unknown() const { return format_freq_tsv(user_unknown_); }

  // Replaces the cloud dictionary with the TSV text; its entry count (at most INT32_MAX), or -1
  // for text that is not valid UTF-8 (nothing changes then).
  std::int32_t sync_extra_dict(std::string_view tsv);

  const std::optional<std::string>& prev_word() const { return prev_word_; }
  const FreqTable& user_freq() const { return user_freq_; }
  const FreqTable& user_unknown() const { return user_unknown_; }
  const FreqTable& extra_dict() const { return extra_dict_; }
  const Dictionary& dictionary() const { return *dict_; }
  // How the last ranking was done (benchmarks report it).
  FastRanker::Route last_route() const { return ranker_.last_route(); }

 private:
  // A user table with its file and the increments not yet written to that file.
  struct UserTable {
    std::optional<std::string> path;
    FreqTable* counts;
    FreqTable pending;
  };

  explicit Engine(std::shared_ptr<const Dictionary> dict);
  void count(UserTable& table, const std::string& word);
  void save(UserTable& table);
  void changed() { ranked_ = false; }

  std::shared_ptr<const Dictionary> dict_;
  std::string buffer_;
  std::optional<std::string> prev_word_;
  std::optional<std::string> user_dir_;
  FreqTable user_freq_;
  FreqTable user_unknown_;
  FreqTable extra_dict_;
  UserTable user_freq_store_{std::nullopt, &user_freq_, {}};
  UserTable user_unknown_store_{std::nullopt, &user_unknown_, {}};

  // user_freq_ and extra_dict_ in byte order, kept in step with the tables.
  WordCounts user_counts_{/*hashed=*/true};
  WordCounts extra_counts_;
  FastRanker ranker_;
  std::vector<std::string> candidates_;
  bool ranked_ = false;  // candidates_ belongs to the current state
  // Saves of picks and commits are synced to disk here, off the keystroke; the engine's end waits
  // for them. Declared last, so it ends first.
  file_syncer syncer_;
};

}  // namespace ornav
