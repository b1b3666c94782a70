// Fuzzes what the emulated registry reads from outside: a bundle's Info.plist and the text of the
// list. Whatever the bytes, a description yields identifiers that fit on one line of the list and
// read back unchanged once written, and reading any text as the list yields identifiers without
// line breaks.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "emulated_input_source_registry.h"

namespace {

bool fitsOnALine(const std::string& value) {
  if (value.empty()) return false;
  for (unsigned char c : value) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  if (const auto bundle = srcenrol::bundleSourcesFromInfoPlist(bytes)) {
    if (!fitsOnALine(bundle->bundleIdentifier)) std::abort();
    std::string list;
    for (const auto& source : bundle->sourceIdentifiers) {
      if (!fitsOnALine(source)) std::abort();
      list += bundle->bundleIdentifier + '\t' + source + '\n';
    }
    const auto listed = srcenrol::listedSources(list, bundle->bundleIdentifier);
    if (listed.size() != bundle->sourceIdentifiers.size()) std::abort();
    for (std::size_t i = 0; i < listed.size(); ++i) {
      if (listed[i] != bundle->sourceIdentifiers[i]) std::abort();
    }
  }

  for (const std::string_view identifier :
       {std::string_view("com.ornav.inputmethod.Ornavel"), std::string_view()}) {
    for (const auto& source : srcenrol::listedSources(bytes, identifier)) {
      if (source && (source->empty() || source->find('\n') != std::string::npos)) std::abort();
    }
  }
  return 0;
}
