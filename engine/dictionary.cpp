#include "dictionary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "file_bytes.h"
#include "page_warmer.h"
#include "user_store.h"

namespace ornav {
namespace {

// An open file and what identifies its contents.
class OpenFile {
 public:
  explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
      id_ = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
             static_cast<std::uint64_t>(st.st_size), modified_ns(st), changed_ns(st)};
      ok_ = true;
    }
  }
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  using Id = std::tuple<std::uint64_t, std::uint64_t, std::uint64_t, std::int64_t, std::int64_t>;
  bool ok() const { return ok_; }
  const Id& id() const { return id_; }
  std::shared_ptr<const FileBytes> load() const { return FileBytes::load(fd_, std::get<2>(id_)); }

 private:
  static std::int64_t ns(const struct timespec& t) {
    return std::int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
  }
#ifdef __APPLE__
  static std::int64_t modified_ns(const struct stat& st) {
    return ns(st.st_mtimespec);
  }
  static std::int64_t changed_ns(const struct stat& st) {
    return ns(st.st_ctimespec);
  }
#else
  static std::int64_t modified_ns(const struct stat& st) {
    return ns(st.st_mtim);
  }
  static std::int64_t changed_ns(const struct stat& st) {
    return ns(st.st_ctim);
  }
#endif

  int fd_;
  bool ok_ = false;
  Id id_{};
};

// The maps' whole-file checksums are not compared here: that would read every page of both
// maps (the whole dictionary from disk, on a first start) before the first keystroke, whatever
// the keystrokes later need. The reader is safe on any bytes, the files come sealed with the
// application, and `ornav-dict stats` reports a map whose bytes differ from its checksum.
std::optional<fst::Map> open_map(const std::shared_ptr<const FileBytes>& bytes) {
  if (!bytes) return std::nullopt;
  return fst::Map::open(bytes->bytes(), bytes, nullptr, fst::Checksum::skip);
}

std::optional<RankingIndex> open_index(const std::shared_ptr<const FileBytes>& bytes,
                                       const Dictionary& dict) {
  if (!bytes) return std::nullopt;
  return RankingIndex::open(bytes->bytes(), bytes, dict.unigram, dict.bigram);
}

using Key = std::tuple<OpenFile::Id, OpenFile::Id, OpenFile::Id>;

// How much of the maps is read before the first engine exists: a few milliseconds of page reads,
// so that its first keystrokes need not fault pages in.
constexpr std::size_t kBytesReadAtOpening = std::size_t{16} << 20;

// Every dictionary some engine still uses. Engines may be created on several threads.
std::mutex& registry_mutex() {
  static std::mutex mutex;
  return mutex;
}
std::map<Key, std::weak_ptr<const Dictionary>>& registry() {
  static std::map<Key, std::weak_ptr<const Dictionary>> entries;
  return entries;
}

}  // namespace

std::shared_ptr<const Dictionary> open_dictionary(std::string_view dict_dir) {
  const OpenFile unigram_file_(join_path(dict_dir, unigram_file));
  if (!unigram_file_.ok()) return nullptr;
  const OpenFile bigram_file_(join_path(dict_dir, bigram_file));
  if (!bigram_file_.ok()) return nullptr;
  const OpenFile index_file(join_path(dict_dir, ranking_index_file));
  const Key key{unigram_file_.id(), bigram_file_.id(),
                index_file.ok() ? index_file.id() : OpenFile::Id{}};

  // Held while opening, so engines created at once on two threads check the files once.
  const std::lock_guard lock(registry_mutex());
  auto& entries = registry();
  if (const auto it = entries.find(key); it != entries.end()) {
    if (auto shared = it->second.lock()) return shared;
  }
  std::erase_if(entries, [](const auto& entry) { return entry.second.expired(); });

  const auto unigram_bytes = unigram_file_.load();
  auto unigram = open_map(unigram_bytes);
  if (!unigram) return nullptr;
  const auto bigram_bytes = bigram_file_.load();
  auto bigram = open_map(bigram_bytes);
  if (!bigram) return nullptr;
  auto dict =
      std::make_shared<Dictionary>(Dictionary{std::move(*unigram), std::move(*bigram), {}, {}});
  const auto index_bytes = index_file.ok() ? index_file.load() : nullptr;
  dict->index = open_index(index_bytes, *dict);
  // The words first, then the pairs (the index was read whole by its validation). A dictionary
  // the size of the shipped one is read before the first engine exists; the pairs of a large
  // one arrive in the background.
  dict->warmer = std::make_unique<PageWarmer>(
      std::vector<std::shared_ptr<const FileBytes>>{unigram_bytes, bigram_bytes},
      kBytesReadAtOpening);
  entries[key] = dict;
  return dict;
}

}  // namespace ornav
