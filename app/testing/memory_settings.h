// A settings store in memory with the same reading rules as the real one.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "ports/settings_value.h"

namespace ornav::testing {

class MemorySettings : public SettingsOverMap {
 public:
  // Every stored value, for assertions.
  std::map<std::string, SettingsValue> values() const {
    std::lock_guard lock(mutex_);
    return values_;
  }
  // How many writes and removals reached the store.
  int writeCount() const {
    std::lock_guard lock(mutex_);
    return writes_;
  }

 protected:
  std::optional<SettingsValue> load(const std::string& key) const override {
    std::lock_guard lock(mutex_);
    auto found = values_.find(key);
    if (found == values_.end()) return std::nullopt;
    return found->second;
  }
  void store(const std::string& key, std::optional<SettingsValue> value) override {
    std::lock_guard lock(mutex_);
    ++writes_;
    if (value) {
      values_[key] = std::move(*value);
    } else {
      values_.erase(key);
    }
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::string, SettingsValue> values_;
  int writes_ = 0;
};

}  // namespace ornav::testing
