#include "index_places.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "open_file.h"
#include "user_store.h"

namespace ornav {

std::optional<std::string> index_cache_dir() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
#ifdef __APPLE__
  xdg = nullptr;  // the system's own place for caches
  constexpr std::string_view home_cache = "Library/Caches";
#else
  constexpr std::string_view home_cache = ".cache";
#endif
  // The XDG rules ignore a relative path.
  if (xdg && xdg[0] == '/') return join_path(xdg, "Ornavel");
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') return std::nullopt;
  return join_path(join_path(home, home_cache), "Ornavel");
}

std::optional<std::string> cached_index_name(const fst::Map& unigram, const fst::Map& bigram) {
  std::string name = "ranking";
  for (const fst::Map* map : {&unigram, &bigram}) {
    const auto checksum = map->stored_checksum();
    if (!checksum) return std::nullopt;
    char part[96];
    std::snprintf(part, sizeof part, "-%zu-%" PRIu64 "-%" PRIu64 "-%08" PRIx32,
                  map->size_in_bytes(), map->len(), map->root_address(), *checksum);
    name += part;
  }
  return name + ".idx";
}

IndexPlaces index_places(std::string_view dict_dir, const fst::Map& unigram,
                         const fst::Map& bigram) {
  IndexPlaces places{join_path(dict_dir, ranking_index_file), std::nullopt};
  const auto dir = index_cache_dir();
  const auto name = cached_index_name(unigram, bigram);
  if (dir && name) places.cached = join_path(*dir, *name);
  return places;
}

std::optional<RankingIndex> open_index_file(const std::string& path, const fst::Map& unigram,
                                            const fst::Map& bigram) {
  const OpenFile file(path);
  if (!file.ok()) return std::nullopt;
  const auto bytes = file.load();
  if (!bytes) return std::nullopt;
  return RankingIndex::open(bytes->bytes(), bytes, unigram, bigram);
}

std::optional<RankingIndex> find_index(const IndexPlaces& places, const fst::Map& unigram,
                                       const fst::Map& bigram) {
  if (auto index = open_index_file(places.beside, unigram, bigram)) return index;
  if (places.cached) return open_index_file(*places.cached, unigram, bigram);
  return std::nullopt;
}

}  // namespace ornav
