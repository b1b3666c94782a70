#include "mo_reader.h"

#include <cstdint>

namespace ornav::corpus {
namespace {

constexpr uint32_t kMagic = 0x950412de;
constexpr uint32_t kMagicSwapped = 0xde120495;

class WordReader {
 public:
  WordReader(std::string_view bytes, bool big_endian) : bytes_(bytes), big_endian_(big_endian) {}

  std::optional<uint32_t> at(uint64_t offset) const {
    if (offset > bytes_.size() || bytes_.size() - offset < 4) return std::nullopt;
    auto b = [&](uint64_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(bytes_[k])); };
    if (big_endian_) {
      return b(offset) << 24 | b(offset + 1) << 16 | b(offset + 2) << 8 | b(offset + 3);
    }
    return b(offset) | b(offset + 1) << 8 | b(offset + 2) << 16 | b(offset + 3) << 24;
  }

  // The string described by the (length, offset) pair at table entry `index`.
  std::optional<std::string_view> string_at(uint32_t table, uint32_t index) const {
    uint64_t entry = static_cast<uint64_t>(table) + 8ull * index;
    auto length = at(entry);
    auto offset = at(entry + 4);
    if (!length || !offset) return std::nullopt;
    if (*offset > bytes_.size() || bytes_.size() - *offset < *length) return std::nullopt;
    return bytes_.substr(*offset, *length);
  }

 private:
  std::string_view bytes_;
  bool big_endian_;
};

std::optional<bool> byte_order(std::string_view bytes) {
  if (bytes.size() < 4) return std::nullopt;
  uint32_t little = WordReader(bytes, false).at(0).value_or(0);
  if (little == kMagic) return false;
  if (little == kMagicSwapped) return true;
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> read_mo_translations(std::string_view bytes) {
  auto big_endian = byte_order(bytes);
  if (!big_endian || bytes.size() < 20) return std::nullopt;
  WordReader words(bytes, *big_endian);
  uint32_t count = *words.at(8);
  uint32_t originals = *words.at(12);
  uint32_t translations = *words.at(16);
  // Each table entry takes 8 bytes: a count larger than the file can hold is corrupt.
  if (count > bytes.size() / 8) return std::nullopt;

  std::vector<std::string> out;
  for (uint32_t i = 0; i < count; ++i) {
    auto original = words.string_at(originals, i);
    auto translated = words.string_at(translations, i);
    if (!original || !translated) return std::nullopt;
    if (original->empty()) continue;  // the catalog header
    std::string_view rest = *translated;
    while (true) {
      size_t nul = rest.find('\0');
      std::string_view form = rest.substr(0, nul);
      if (!form.empty()) out.emplace_back(form);
      if (nul == std::string_view::npos) break;
      rest.remove_prefix(nul + 1);
    }
  }
  return out;
}

}  // namespace ornav::corpus
