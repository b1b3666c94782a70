// The system's list of text input sources, emulated with files so the tool runs end to end away
// from a Mac. A prefix directory stands for the root of a Mac's disk: the bundle path given to
// registerBundle is looked up under it ("/Library/Input Methods/Ornavel.app" becomes
// <prefix>/Library/Input Methods/Ornavel.app), and the list itself is the text file
// <prefix>/Library/InputSources.registry.
//
// Registering reads the bundle's Contents/Info.plist (XML or binary) and appends one line per
// input source it provides, "<bundle identifier> TAB <input source identifier>", in this order:
// the input method itself (its TISInputSourceID, else its bundle identifier) and then each mode of
// ComponentInputModeDict/tsInputModeListKey (its TISInputSourceID, else its key), in file order.
// A bundle that declares no input method (no InputMethodConnectionName) provides no source.
// As on a Mac, registering a bundle again lists its sources again.
//
// Statuses: 0 on success; paramErr (-50) when there is no bundle directory, no readable and
// well-formed Info.plist, no bundle identifier, or an identifier with a control character;
// ioErr (-36) when the list cannot be written. Listing ignores lines without a TAB and reads an
// empty identifier as a source without one; a missing list file lists nothing, an unreadable one
// gives no list.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "input_source_registry.h"

namespace srcenrol {

// What a bundle description provides: its identifier and, in list order, the identifiers of its
// input sources (none for a bundle that is not an input method). Absent when the bytes are not a
// usable description (not a property list, no identifier, an identifier with a control character).
struct BundleSources {
  std::string bundleIdentifier;
  std::vector<std::string> sourceIdentifiers;
};
std::optional<BundleSources> bundleSourcesFromInfoPlist(std::string_view bytes);

// The sources that the list's text holds for `bundleIdentifier`, in order.
ListedSources listedSources(std::string_view registryText, std::string_view bundleIdentifier);

class EmulatedInputSourceRegistry final : public InputSourceRegistry {
 public:
  explicit EmulatedInputSourceRegistry(std::filesystem::path prefix);

  // $ORNAV_PREFIX when set and not empty, else $XDG_DATA_HOME/ornav-prefix, else
  // ~/.local/share/ornav-prefix.
  static std::filesystem::path defaultPrefix();

  std::filesystem::path registryPath() const;

  std::int32_t registerBundle(const std::string& bundlePath) override;
  std::optional<ListedSources> sourcesOfBundle(const std::string& bundleIdentifier) override;

 private:
  std::filesystem::path prefix_;
};

}  // namespace srcenrol
