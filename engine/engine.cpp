#include "engine.h"

#include <limits>

#include "saturating.h"
#include "user_store.h"
#include "utf8.h"

namespace ornav {

Engine::Engine(std::shared_ptr<const Dictionary> dict) : dict_(std::move(dict)) {}

std::unique_ptr<Engine> Engine::create(std::string_view dict_dir,
                                       std::optional<std::string_view> user_dir) {
  auto dict = open_dictionary(dict_dir);
  if (!dict) return nullptr;
  std::unique_ptr<Engine> engine(new Engine(std::move(dict)));
  if (user_dir) {
    engine->user_dir_ = std::string(*user_dir);
    engine->user_freq_store_.path = join_path(*user_dir, user_freq_file);
    engine->user_unknown_store_.path = join_path(*user_dir, user_unknown_file);
    engine->user_freq_ = load_user_freq(*engine->user_freq_store_.path);
    engine->user_unknown_ = load_user_freq(*engine->user_unknown_store_.path);
    engine->extra_dict_ = load_user_freq(join_path(*user_dir, extra_dict_file));
    engine->user_counts_.rebuild(engine->user_freq_);
    engine->extra_counts_.rebuild(engine->extra_dict_);
  }
  return engine;
}

void Engine::input(std::string_view text) {
  changed();
  buffer_.append(text);
}

bool Engine::backspace() {
  changed();
  buffer_.resize(buffer_.size() - utf8::last_char_size(buffer_));
  return !buffer_.empty();
}

void Engine::reset() {
  changed();
  buffer_.clear();
  prev_word_.reset();
}

const std::vector<std::string>& Engine::candidates() {
  if (!ranked_) {
    const RankingInput input{dict_->unigram, dict_->bigram, buffer_,
                             prev_word_,     user_freq_,    extra_dict_};
    ranker_.rank(input, {dict_->index(), user_counts_, extra_counts_}, candidates_);
    ranked_ = true;
  }
  return candidates_;
}

std::string Engine::select(std::size_t index) {
  const auto& list = candidates();
  if (index >= list.size()) return {};
  std::string word = list[index];
  changed();
  if (!word.empty()) count(user_freq_store_, word);
  prev_word_ = word;
  buffer_.clear();
  return word;
}

std::string Engine::commit_raw() {
  changed();
  std::string text = std::move(buffer_);
  buffer_.clear();
  if (text.empty()) return text;
  const bool known = dict_->unigram.get(text).has_value() || extra_dict_.contains(text);
  if (!known) count(user_unknown_store_, text);
  prev_word_ = text;
  return text;
}

std::int32_t Engine::sync_extra_dict(std::string_view tsv) {
  if (!utf8::is_valid(tsv)) return -1;
  FreqTable table = parse_freq_tsv(tsv);
  // Written before the table is swapped in, so a failed allocation leaves the engine as it was.
  const std::string text = format_freq_tsv(table);
  WordCounts counts;
  counts.rebuild(table);  // views of the nodes that move into extra_dict_ below
  changed();
  extra_dict_ = std::move(table);
  extra_counts_ = std::move(counts);
  if (user_dir_) write_file_atomically(join_path(*user_dir_, extra_dict_file), text);
  constexpr auto limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(extra_dict_.size(), limit));
}

void Engine::count(UserTable& table, const std::string& word) {
  const auto [entry, added] = table.counts->try_emplace(word, 0);
  if (table.counts == &user_freq_) {
    try {
      user_counts_.set(entry->first, saturating_add(entry->second, 1));
    } catch (...) {
      if (added) table.counts->erase(entry);  // the table and its counts stay in step
      throw;
    }
  }
  entry->second = saturating_add(entry->second, 1);
  if (!table.path) return;
  // A word that cannot be a TSV line never reaches the file; its count lives in memory only.
  if (!is_writable_word(word)) return;
  std::uint64_t& pending = table.pending[word];
  pending = saturating_add(pending, 1);
  save(table);
}

void Engine::save(UserTable& table) {
  // On failure the increments stay pending and go out with the next successful save.
  if (merge_into_file(*table.path, table.pending, durability::left_to_caller)) {
    table.pending.clear();
    syncer_.schedule(*table.path);
  }
}

}  // namespace ornav
