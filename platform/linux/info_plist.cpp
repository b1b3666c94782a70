#include "platform/linux/info_plist.h"

#include <plist/plist.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

namespace ornav::linux_platform {
namespace {

struct PlistFree {
  void operator()(plist_t node) const { plist_free(node); }
};
struct MallocFree {
  void operator()(void* memory) const { std::free(memory); }
};
using Owned = std::unique_ptr<void, PlistFree>;
using OwnedText = std::unique_ptr<char, MallocFree>;

std::optional<InfoValue> scalar(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
      char* raw = nullptr;
      plist_get_string_val(node, &raw);
      const OwnedText text(raw);
      return text ? std::optional<InfoValue>(std::string(text.get())) : std::nullopt;
    }
    case PLIST_UINT: {
      // libplist keeps every integer in 64 bits; a negative <integer> comes back two's
      // complement.
      std::uint64_t value = 0;
      plist_get_uint_val(node, &value);
      return InfoValue{static_cast<std::int64_t>(value)};
    }
    case PLIST_REAL: {
      double value = 0;
      plist_get_real_val(node, &value);
      return InfoValue{value};
    }
    case PLIST_BOOLEAN: {
      std::uint8_t value = 0;
      plist_get_bool_val(node, &value);
      return InfoValue{value != 0};
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<InfoDictionary> parseInfoPlist(std::string_view document) {
  if (document.empty() || document.size() > std::numeric_limits<std::uint32_t>::max()) {
    return std::nullopt;
  }
  plist_t parsed = nullptr;
  plist_from_memory(document.data(), static_cast<std::uint32_t>(document.size()), &parsed);
  const Owned root(parsed);
  if (!root || plist_get_node_type(root.get()) != PLIST_DICT) return std::nullopt;

  InfoDictionary info;
  plist_dict_iter iterator = nullptr;
  plist_dict_new_iter(root.get(), &iterator);
  const std::unique_ptr<void, MallocFree> ownedIterator(iterator);
  for (;;) {
    char* rawKey = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(root.get(), iterator, &rawKey, &value);
    const OwnedText key(rawKey);
    if (!key || value == nullptr) break;
    if (auto read = scalar(value)) info.emplace(key.get(), std::move(*read));
  }
  return info;
}

}  // namespace ornav::linux_platform
