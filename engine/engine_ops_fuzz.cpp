// Random sequences of C-interface calls on an engine over a small dictionary: no call may crash,
// the buffer stays valid UTF-8 and a candidate list never exceeds 50 words.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "ornav_engine.h"
#include "test_dict.h"
#include "utf8.h"

namespace {

const ornav::testing::TempDir& dictionary() {
  static const ornav::testing::TempDir dir;
  static const bool written = [] {
    ornav::testing::KeyCounts unigram, bigram;
    const char* words[] = {"a", "ab", "abc", "\xD8\xA7", "\xD8\xA7\xD9\x84", "b\xFF", "x\ty"};
    for (const char* w : words)
      unigram[w] = std::strlen(w) * 7;
    for (const char* first : words) {
      for (const char* second : words)
        bigram[ornav::testing::pair_key(first, second)] = 3;
    }
    bigram[ornav::testing::pair_key("a", "")] = 9;
    ornav::testing::write_dict(dir.path(), unigram, bigram);
    return true;
  }();
  (void)written;
  return dir;
}

void check_and_free(char* text, bool is_list) {
  if (!text) return;
  if (!ornav::utf8::is_valid(text)) std::abort();
  if (is_list && *text) {
    std::size_t lines = 1;
    for (const char* p = text; *p; ++p)
      lines += *p == '\n';
    if (lines > 50) std::abort();
  }
  orn_string_free(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  OrnEngine* engine = orn_engine_new(dictionary().path().c_str(), nullptr);
  if (!engine) std::abort();
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t op = data[i++];
    // The high four bits give the operand length: the bytes that follow.
    const std::size_t end = std::min(size, i + std::size_t(op >> 4));
    const std::string operand(reinterpret_cast<const char*>(data + i), end - i);
    i = end;
    switch (op % 9) {
      case 0:
        orn_input(engine, operand.c_str());
        break;
      case 1:
        orn_backspace(engine);
        break;
      case 2:
        check_and_free(orn_candidates(engine), true);
        break;
      case 3:
        check_and_free(orn_select(engine, operand.empty() ? 0 : std::uint8_t(operand[0]) % 8),
                       false);
        break;
      case 4:
        check_and_free(orn_commit_raw(engine), false);
        break;
      case 5:
        orn_reset(engine);
        break;
      case 6:
        orn_sync_extra_dict(engine, operand.c_str());
        break;
      case 7:
        check_and_free(orn_export_user_freq(engine), false);
        check_and_free(orn_export_user_unknown(engine), false);
        break;
      default: {
        char* buffer = orn_buffer(engine);
        if (!buffer || !ornav::utf8::is_valid(buffer)) std::abort();
        orn_string_free(buffer);
      }
    }
  }
  orn_engine_free(engine);
  return 0;
}
