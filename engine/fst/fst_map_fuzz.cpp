// Feeds arbitrary bytes to the map reader, and key lists to the builder.
//
// The first byte picks what the input is:
// - 'B': a key list for the builder (each key a length byte and that many bytes); the map built
//   from it must read back exactly (the one place this target checks results, not just survival);
// - high bit set: a map whose first byte is taken with the high bit cleared and whose checksum is
//   recomputed, so mutations reach the node decoding instead of stopping at the checksum;
// - anything else (such as a real map's version byte): the bytes are the map as they are.
// Every map that opens is walked: lookups of pieces of the input, and prefix streams whose length
// is bounded, checking only that keys carry their prefix and never exceed the recorded count.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "crc32c.h"
#include "fst_builder.h"
#include "fst_map.h"

namespace {

using ornav::fst::Map;

void check(bool ok) {
  if (!ok) std::abort();
}

void walk(const Map& map, const std::uint8_t* data, std::size_t size) {
  std::set<std::string> prefixes = {"", "a", "\xd8", "\xd8\xa7", std::string(1, '\0')};
  for (std::size_t at = 0; at + 1 < size && prefixes.size() < 16; at += 1 + size / 8) {
    const std::string piece(reinterpret_cast<const char*>(data + at),
                            std::min<std::size_t>(6, size - at));
    (void)map.get(piece);
    prefixes.insert(piece.substr(0, 1 + data[at] % piece.size()));
  }
  for (const auto& prefix : prefixes) {
    (void)map.get(prefix);
    auto stream = map.prefix_stream(prefix);
    std::uint64_t count = 0;
    while (count < 500 && stream.next()) {
      ++count;
      check(stream.key().substr(0, prefix.size()) == prefix);
    }
    check(count <= map.len());
  }
}

void round_trip(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> keys;
  for (std::size_t at = 0; at < size;) {
    const std::size_t len = std::min<std::size_t>(data[at], size - at - 1);
    keys.emplace_back(reinterpret_cast<const char*>(data + at + 1), len);
    at += 1 + len;
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  ornav::fst::Builder builder;
  std::uint64_t value = 0x9E3779B97F4A7C15u;
  std::vector<std::uint64_t> values;
  for (const auto& key : keys) {
    value = value * 6364136223846793005u + 1442695040888963407u;
    const std::uint64_t v = key.size() % 3 == 0 ? 0 : value >> (key.size() % 64);
    values.push_back(v);
    check(builder.insert(key, v));
  }
  const auto map = Map::open(builder.finish());
  check(map.has_value() && map->len() == keys.size());
  auto stream = map->prefix_stream("");
  for (std::size_t i = 0; i < keys.size(); ++i) {
    check(stream.next() && stream.key() == keys[i] && stream.value() == values[i]);
    check(map->get(keys[i]) == values[i]);
  }
  check(!stream.next());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] == 'B') {
    round_trip(data + 1, size - 1);
    return 0;
  }
  std::vector<std::uint8_t> bytes(data, data + size);
  if (data[0] & 0x80) {
    bytes[0] &= 0x7F;
    if (size >= 36) {
      const std::uint32_t sum =
          ornav::fst::mask_crc32c(ornav::fst::crc32c(bytes.data(), bytes.size() - 4));
      for (int i = 0; i < 4; ++i)
        bytes[size - 4 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
  }
  if (const auto map = Map::open(std::move(bytes))) walk(*map, data, size);
  return 0;
}
