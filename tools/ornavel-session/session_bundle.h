// The bundle of a headless session: no installed application, only the key map file named on the
// command line, found where the key map looks for its resource, and the ULY layout's key map
// (keymap-uly.json) in the same folder, for the input menu's layout switch.
#pragma once

#include <filesystem>

#include "ports/bundle.h"

namespace ornav::session {

class SessionBundle : public Bundle {
 public:
  SessionBundle(std::filesystem::path keymap, std::filesystem::path resources)
      : keymap_(std::move(keymap)), resources_(std::move(resources)) {}

  std::optional<InfoValue> infoValue(const std::string& key) const override;
  std::filesystem::path bundlePath() const override { return resources_; }
  std::filesystem::path resourcePath() const override { return resources_; }
  std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                       const std::string& extension) const override;

 private:
  std::filesystem::path keymap_;
  std::filesystem::path resources_;
};

}  // namespace ornav::session
