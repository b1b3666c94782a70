// Fuzzes the count-file reader and the key display: whatever the bytes, accepted entries are
// strictly ascending with counts of at least 1, pair keys hold exactly one separator, a clean file
// builds a map that reads back whole, and every shown key types back to its bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "count_file.h"
#include "fst_map.h"
#include "key_text.h"
#include "map_build.h"

using namespace ornav::dict;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const auto kind : {CountFileKind::words, CountFileKind::pairs}) {
    const auto table = parseCountFile(text, kind);
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
      const auto& entry = table.entries[i];
      if (entry.count == 0) std::abort();
      if (i > 0 && !(table.entries[i - 1].key < entry.key)) std::abort();
      const auto separators = std::count(entry.key.begin(), entry.key.end(), pairSeparator);
      if (separators != (kind == CountFileKind::pairs ? 1 : 0)) std::abort();
    }
    const auto bytes = buildMapBytes(table.entries);
    if (!bytes) std::abort();
    const auto map = ornav::fst::Map::open(*bytes);
    if (!map || map->len() != table.entries.size()) std::abort();
    for (const auto& entry : table.entries) {
      if (map->get(entry.key) != entry.count) std::abort();
    }
  }
  if (parseKeyArgument(showKey(text)) != text) std::abort();
  return 0;
}
