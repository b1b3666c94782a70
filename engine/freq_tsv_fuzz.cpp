// Any text: reading never fails, and what is written reads back as the same table (less the
// words that cannot be written).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "freq_tsv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ornav::FreqTable table = ornav::parse_freq_tsv(text);
  std::erase_if(table, [](const auto& entry) { return !ornav::is_writable_word(entry.first); });
  if (ornav::parse_freq_tsv(ornav::format_freq_tsv(table)) != table) std::abort();
  return 0;
}
