// Builds the ranking index for maps that came without a usable one (missing, stale, damaged or of
// another format), on a thread of its own, and keeps it for the processes that come later: beside
// the maps when that folder can be written, else in the user's cache folder (index_places.h). The
// engine ranks without an index until the new one is published, with the same results.
//
// Processes over the same maps build one at a time: the thread holds an advisory lock on the word
// map's file while it builds, and a process that waited for it first looks whether the index
// has meanwhile been kept. Maps whose bytes do not match their stored checksums get no index. The
// build stops within a millisecond or so when the dictionary is released.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "fst/fst_map.h"
#include "index_places.h"
#include "open_file.h"
#include "ranking_index.h"

namespace ornav {

class BackgroundIndex {
 public:
  // The maps (which must outlive this object), where the index may be kept, the maps' paths and
  // identities when they were opened (the index is kept beside them only while they are still
  // the same files), and `lock_fd`, a descriptor of the word map to lock (taken over).
  struct Maps {
    const fst::Map& unigram;
    const fst::Map& bigram;
    std::string unigram_path, bigram_path;
    OpenFile::Id unigram_id, bigram_id;
    int lock_fd = -1;
  };
  BackgroundIndex(Maps maps, IndexPlaces places);
  ~BackgroundIndex();
  BackgroundIndex(const BackgroundIndex&) = delete;
  BackgroundIndex& operator=(const BackgroundIndex&) = delete;

  // The index once it is ready; null before and when there will be none.
  const RankingIndex* index() const { return published_.load(std::memory_order_acquire); }
  // Blocks until the thread has ended: the index is published, or there will be none.
  void wait() const;

 private:
  void run();
  bool lock();  // false when stopped while waiting
  std::optional<RankingIndex> build_and_keep();
  bool keep(const std::string& path, const std::vector<std::uint8_t>& bytes, bool shared);
  void finish(std::optional<RankingIndex> index);

  Maps maps_;
  IndexPlaces places_;
  std::optional<RankingIndex> index_;
  std::atomic<const RankingIndex*> published_{nullptr};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool done_ = false;
  std::thread thread_;  // started once everything above exists
};

}  // namespace ornav
