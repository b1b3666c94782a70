#include "utf8.h"

#include <cstdint>

namespace ornav::utf8 {
namespace {

// Length of the valid sequence starting at text[i], or 0 when it is invalid. On failure
// *valid_prefix is the number of bytes that form a maximal subpart (at least 1), which is what
// one U+FFFD replaces.
std::size_t sequence_size(std::string_view text, std::size_t i, std::size_t* valid_prefix) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
  const std::uint8_t lead = byte(i);
  *valid_prefix = 1;
  if (lead < 0x80) return 1;
  std::size_t need = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < need; ++k) {
    if (i + k >= text.size()) return 0;
    const std::uint8_t b = byte(i + k);
    const bool ok = k == 1 ? (b >= low && b <= high) : (b >= 0x80 && b <= 0xBF);
    if (!ok) return 0;
    *valid_prefix = k + 1;
  }
  return need;
}

// Position of the first invalid sequence at or after `from` (npos when there is none), with the
// length of its maximal subpart in *invalid_size and, when asked, the number of characters before
// it in *scalars.
std::size_t find_invalid(std::string_view bytes, std::size_t from, std::size_t* invalid_size,
                         std::size_t* scalars = nullptr) {
  std::size_t i = from;
  std::size_t count = 0;
  while (i < bytes.size()) {
    // Runs of ASCII are the common case; skip them a byte at a time without the decoder.
    if (static_cast<std::uint8_t>(bytes[i]) < 0x80) {
      ++i;
      ++count;
      continue;
    }
    const std::size_t n = sequence_size(bytes, i, invalid_size);
    if (n == 0) break;
    i += n;
    ++count;
  }
  if (scalars != nullptr) *scalars = count;
  return i < bytes.size() ? i : std::string_view::npos;
}

}  // namespace

bool is_valid(std::string_view bytes) {
  return valid_scalar_count(bytes).has_value();
}

std::size_t count_scalars(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<std::uint8_t>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::optional<std::size_t> valid_scalar_count(std::string_view bytes) {
  std::size_t invalid_size = 0;
  std::size_t scalars = 0;
  if (find_invalid(bytes, 0, &invalid_size, &scalars) != std::string_view::npos)
    return std::nullopt;
  return scalars;
}

void append_lossy(std::string& out, std::string_view bytes) {
  static constexpr std::string_view replacement = "\xEF\xBF\xBD";
  std::size_t run_start = 0;  // start of the current run of valid bytes, copied in one go
  std::size_t invalid_size = 0;
  for (std::size_t bad = find_invalid(bytes, 0, &invalid_size); bad != std::string_view::npos;
       bad = find_invalid(bytes, run_start, &invalid_size)) {
    out.append(bytes.substr(run_start, bad - run_start));
    out.append(replacement);
    run_start = bad + invalid_size;
  }
  out.append(bytes.substr(run_start));
}

std::string to_lossy(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  append_lossy(out, bytes);
  return out;
}

std::size_t last_char_size(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t n = 1;
  // Step back over continuation bytes to the lead byte; valid text has at most three of them.
  while (n < text.size() && n < 4 &&
         (static_cast<std::uint8_t>(text[text.size() - n]) & 0xC0) == 0x80) {
    ++n;
  }
  return n;
}

}  // namespace ornav::utf8
