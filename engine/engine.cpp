#include "engine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "saturating.h"
#include "user_store.h"
#include "utf8.h"

namespace ornav {
namespace {

// Reads a whole file into memory, sized up front so a large map is read without reallocation.
std::optional<std::vector<std::uint8_t>> read_bytes(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::vector<std::uint8_t>> result;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    // One spare byte lets the read that reports the end happen without growing the buffer.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
      // Read until end of file, growing if the file grew meanwhile.
      if (done == bytes.size()) bytes.resize(bytes.size() + 65536);
      const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      if (n == 0) {
        bytes.resize(done);
        result = std::move(bytes);
        break;
      }
      done += static_cast<std::size_t>(n);
    }
  }
  ::close(fd);
  return result;
}

}  // namespace

Engine::Engine(fst::Map unigram, fst::Map bigram)
    : unigram_(std::move(unigram)), bigram_(std::move(bigram)) {}

std::unique_ptr<Engine> Engine::create(std::string_view dict_dir,
                                       std::optional<std::string_view> user_dir) {
  auto unigram_bytes = read_bytes(join_path(dict_dir, unigram_file));
  if (!unigram_bytes) return nullptr;
  auto bigram_bytes = read_bytes(join_path(dict_dir, bigram_file));
  if (!bigram_bytes) return nullptr;
  auto unigram = fst::Map::open(std::move(*unigram_bytes));
  if (!unigram) return nullptr;
  auto bigram = fst::Map::open(std::move(*bigram_bytes));
  if (!bigram) return nullptr;

  std::unique_ptr<Engine> engine(new Engine(std::move(*unigram), std::move(*bigram)));
  if (user_dir) {
    engine->user_dir_ = std::string(*user_dir);
    engine->user_freq_store_.path = join_path(*user_dir, user_freq_file);
    engine->user_unknown_store_.path = join_path(*user_dir, user_unknown_file);
    engine->user_freq_ = load_user_freq(*engine->user_freq_store_.path);
    engine->user_unknown_ = load_user_freq(*engine->user_unknown_store_.path);
    engine->extra_dict_ = load_user_freq(join_path(*user_dir, extra_dict_file));
  }
  return engine;
}

void Engine::input(std::string_view text) {
  buffer_.append(text);
}

bool Engine::backspace() {
  buffer_.resize(buffer_.size() - utf8::last_char_size(buffer_));
  return !buffer_.empty();
}

void Engine::reset() {
  buffer_.clear();
  prev_word_.reset();
}

const std::vector<std::string>& Engine::candidates() {
  const RankingInput input{unigram_, bigram_, buffer_, prev_word_, user_freq_, extra_dict_};
  rank_candidates(input, scratch_, candidates_);
  return candidates_;
}

std::string Engine::select(std::size_t index) {
  const auto& list = candidates();
  if (index >= list.size()) return {};
  std::string word = list[index];
  if (!word.empty()) count(user_freq_store_, word);
  prev_word_ = word;
  buffer_.clear();
  return word;
}

std::string Engine::commit_raw() {
  std::string text = std::move(buffer_);
  buffer_.clear();
  if (text.empty()) return text;
  const bool known = unigram_.get(text).has_value() || extra_dict_.contains(text);
  if (!known) count(user_unknown_store_, text);
  prev_word_ = text;
  return text;
}

std::int32_t Engine::sync_extra_dict(std::string_view tsv) {
  if (!utf8::is_valid(tsv)) return -1;
  FreqTable table = parse_freq_tsv(tsv);
  // Written before the table is swapped in, so a failed allocation leaves the engine as it was.
  const std::string text = format_freq_tsv(table);
  extra_dict_ = std::move(table);
  if (user_dir_) write_file_atomically(join_path(*user_dir_, extra_dict_file), text);
  constexpr auto limit = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::min(extra_dict_.size(), limit));
}

void Engine::count(UserTable& table, const std::string& word) {
  std::uint64_t& total = (*table.counts)[word];
  total = saturating_add(total, 1);
  if (!table.path) return;
  // A word that cannot be a TSV line never reaches the file; its count lives in memory only.
  if (!is_writable_word(word)) return;
  std::uint64_t& pending = table.pending[word];
  pending = saturating_add(pending, 1);
  save(table);
}

void Engine::save(UserTable& table) {
  // On failure the increments stay pending and go out with the next successful save.
  if (merge_into_file(*table.path, table.pending)) table.pending.clear();
}

}  // namespace ornav
