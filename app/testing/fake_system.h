// Fakes of the system ports: a bundle and user folders inside a temporary folder, a recording
// system log and fixed process facts.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "base/temporary_folder.h"
#include "ports/bundle.h"
#include "ports/system_info.h"
#include "ports/system_log.h"

namespace ornav::testing {

// A bundle laid out in a temporary folder as <root>/Ornavel.app/Contents/Resources, with
// information values set by the test.
class FakeBundle : public Bundle {
 public:
  FakeBundle();

  std::map<std::string, InfoValue> info;

  // Writes a resource file (`name` may contain sub-folders, e.g. "dict/unigram.fst").
  std::filesystem::path addResource(const std::string& name, const std::string& content);

  std::optional<InfoValue> infoValue(const std::string& key) const override;
  std::filesystem::path bundlePath() const override;
  std::filesystem::path resourcePath() const override;
  std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                       const std::string& extension) const override;

 private:
  TemporaryFolder root_;
};

// home/, support/, caches/ and tmp/ inside one temporary folder, created up front.
class FakeFolders : public Folders {
 public:
  FakeFolders();
  std::filesystem::path home() const override { return root_ / "home"; }
  std::filesystem::path applicationSupport() const override { return root_ / "support"; }
  std::filesystem::path caches() const override { return root_ / "caches"; }
  std::filesystem::path temporary() const override { return root_ / "tmp"; }

 private:
  TemporaryFolder root_;
};

class RecordingSystemLog : public SystemLog {
 public:
  void write(const std::string& message) override {
    std::lock_guard lock(mutex_);
    lines_.push_back(message);
  }
  std::vector<std::string> lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

class FakeSystemInfo : public SystemInfo {
 public:
  std::string name = "Ornavel";
  int pid = 4242;
  std::string version = "14.5.0";
  DesktopFamily family = DesktopFamily::macOS;
  std::string processName() const override { return name; }
  int processId() const override { return pid; }
  std::string osVersion() const override { return version; }
  DesktopFamily desktopFamily() const override { return family; }
};

}  // namespace ornav::testing
