// The input sources of a Linux desktop, kept in GSettings (dconf): a GNOME session lists them in
// org.gnome.desktop.input-sources "sources" as ('ibus', engine) pairs and starts IBus's engines
// from there; other desktops leave the list to IBus itself, org.freedesktop.ibus.general
// "preload-engines". Registering adds the engine to the list the desktop reads, once.
#pragma once

#include <string>

#include "input_source_registry.h"

namespace srcenrol {

class GSettingsInputSourceRegistry : public InputSourceRegistry {
 public:
  // The IBus engine that stands for the installed input method.
  static constexpr const char* kEngineName = "ornavel";
  // Status when neither list exists on this machine (no GNOME, no IBus settings schema).
  static constexpr std::int32_t kNoInputSourceList = -1;
  // Status when the list cannot be written.
  static constexpr std::int32_t kNotWritable = -2;

  // `currentDesktop` is XDG_CURRENT_DESKTOP (a colon-separated list of names).
  explicit GSettingsInputSourceRegistry(std::string currentDesktop);

  std::int32_t registerBundle(const std::string& bundlePath) override;
  std::optional<ListedSources> sourcesOfBundle(const std::string& bundleIdentifier) override;

 private:
  bool gnome() const;
  std::string currentDesktop_;
};

}  // namespace srcenrol
