#include "background_index.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "ranking_index_builder.h"
#include "user_store.h"

namespace ornav {

BackgroundIndex::BackgroundIndex(Maps maps, IndexPlaces places)
    : maps_(std::move(maps)), places_(std::move(places)) {
  try {
    thread_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    finish(std::nullopt);  // no thread to be had: the engine ranks without an index
  }
}

BackgroundIndex::~BackgroundIndex() {
  {
    const std::lock_guard lock(mutex_);
    stop_.store(true, std::memory_order_relaxed);
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (maps_.lock_fd >= 0) ::close(maps_.lock_fd);
}

void BackgroundIndex::wait() const {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return done_; });
}

bool BackgroundIndex::lock() {
  if (maps_.lock_fd < 0) return true;
  std::unique_lock guard(mutex_);
  for (;;) {
    if (::flock(maps_.lock_fd, LOCK_EX | LOCK_NB) == 0) return true;
    // A file system without locks: build all the same.
    if (errno != EWOULDBLOCK && errno != EINTR) return true;
    // Another process is building it: look again in a while, or end as soon as stopped.
    const auto stopped = [this] { return stop_.load(std::memory_order_relaxed); };
    if (changed_.wait_for(guard, std::chrono::milliseconds(50), stopped)) return false;
  }
}

void BackgroundIndex::run() {
  std::optional<RankingIndex> index;
  if (lock()) {
    // Another process may have kept one while this one waited for the lock.
    index = find_index(places_, maps_.unigram, maps_.bigram);
    if (!index) index = build_and_keep();
    if (maps_.lock_fd >= 0) ::flock(maps_.lock_fd, LOCK_UN);
  }
  finish(std::move(index));
}

std::optional<RankingIndex> BackgroundIndex::build_and_keep() {
  // An index of damaged maps would only list what the damage says.
  if (!maps_.unigram.checksum_matches(&stop_) || !maps_.bigram.checksum_matches(&stop_))
    return std::nullopt;
  auto bytes = build_ranking_index(maps_.unigram, maps_.bigram,
                                   IndexParams::for_maps(maps_.unigram, maps_.bigram), &stop_);
  if (!bytes) return std::nullopt;
  // Beside the maps only while they are still the files it was built for: an installer may have
  // replaced them, and their index, meanwhile.
  const bool same_maps = file_id(maps_.unigram_path) == maps_.unigram_id &&
                         file_id(maps_.bigram_path) == maps_.bigram_id;
  if (same_maps && keep(places_.beside, *bytes, true)) {
    if (auto index = open_index_file(places_.beside, maps_.unigram, maps_.bigram)) return index;
  }
  if (places_.cached && keep(*places_.cached, *bytes, false)) {
    if (auto index = open_index_file(*places_.cached, maps_.unigram, maps_.bigram)) return index;
  }
  // Nowhere to keep it: this process uses it from memory.
  const auto owned = std::make_shared<const std::vector<std::uint8_t>>(std::move(*bytes));
  return RankingIndex::open(*owned, owned, maps_.unigram, maps_.bigram);
}

bool BackgroundIndex::keep(const std::string& path, const std::vector<std::uint8_t>& bytes,
                           bool beside_maps) {
  if (!beside_maps) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // Not synced: a file torn by a crash fails its checksum and is built again.
  if (!write_file_atomically(path, text, durability::left_to_caller)) return false;
  // Beside the maps it serves every user of the dictionary, as the maps do.
  if (beside_maps) ::chmod(path.c_str(), 0644);
  return true;
}

void BackgroundIndex::finish(std::optional<RankingIndex> index) {
  const std::lock_guard lock(mutex_);
  index_ = std::move(index);
  if (index_) published_.store(&*index_, std::memory_order_release);
  done_ = true;
  changed_.notify_all();
}

}  // namespace ornav
