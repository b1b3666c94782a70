#include "dictionary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "file_bytes.h"
#include "index_places.h"
#include "open_file.h"
#include "page_warmer.h"
#include "user_store.h"

namespace ornav {
namespace {

// The maps' whole-file checksums are not compared here: that would read every page of both
// maps (the whole dictionary from disk, on a first start) before the first keystroke, whatever
// the keystrokes later need. The reader is safe on any bytes, the files come sealed with the
// application, and `ornav-dict stats` reports a map whose bytes differ from its checksum.
std::optional<fst::Map> open_map(const std::shared_ptr<const FileBytes>& bytes) {
  if (!bytes) return std::nullopt;
  return fst::Map::open(bytes->bytes(), bytes, nullptr, fst::Checksum::skip);
}

using Key = std::pair<OpenFile::Id, OpenFile::Id>;

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
  const std::string unigram_path = join_path(dict_dir, unigram_file);
  const OpenFile unigram_file_(unigram_path);
  if (!unigram_file_.ok()) return nullptr;
  const std::string bigram_path = join_path(dict_dir, bigram_file);
  const OpenFile bigram_file_(bigram_path);
  if (!bigram_file_.ok()) return nullptr;
  // The index is the maps' own: found or built for them, whatever its file.
  const Key key{unigram_file_.id(), bigram_file_.id()};

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
  auto dict = std::make_shared<Dictionary>(
      Dictionary{std::move(*unigram), std::move(*bigram), std::nullopt, nullptr, nullptr});
  IndexPlaces places = index_places(dict_dir, dict->unigram, dict->bigram);
  dict->found_index = find_index(places, dict->unigram, dict->bigram);
  // Maps without a stored checksum cannot be bound to an index.
  if (!dict->found_index && dict->unigram.stored_checksum() && dict->bigram.stored_checksum()) {
    dict->background_index = std::make_unique<BackgroundIndex>(
        BackgroundIndex::Maps{dict->unigram, dict->bigram, unigram_path, bigram_path,
                              unigram_file_.id(), bigram_file_.id(),
                              ::fcntl(unigram_file_.fd(), F_DUPFD_CLOEXEC, 0)},
        std::move(places));
  }
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
