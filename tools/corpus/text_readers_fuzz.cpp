// Fuzzes the corpus readers of outside files (XML, JSON and JavaScript messages, wiki markup):
// whatever the bytes, they return without crashing, and the readers that decode escapes or
// references never produce invalid UTF-8 from valid UTF-8 input.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <unicode/utf8.h>

#include "message_reader.h"
#include "xml_reader.h"

namespace {

bool valid_utf8(std::string_view s) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(s.data());
  const auto length = static_cast<int32_t>(s.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ornav::corpus;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool clean = valid_utf8(text);
  for (const auto& s : read_xml_text(text)) {
    if (clean && !valid_utf8(s)) std::abort();
  }
  for (const auto& s : read_xml_lang_text(text, "ug")) {
    if (clean && !valid_utf8(s)) std::abort();
  }
  for (const auto& s : read_script_strings(text)) {
    if (clean && !valid_utf8(s)) std::abort();
  }
  if (const auto strings = read_json_strings(text)) {
    for (const auto& s : *strings)
      wiki_message_text(s);
  }
  wiki_message_text(text);
  return 0;
}
