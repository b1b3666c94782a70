// The one instance of a type that a process-wide static entry point forwards to (Logger::write,
// UpdateService's operations). The composition root installs its own parts for as long as it
// lives; a test installs the parts it built. Installations nest: ending one brings back the one
// before. Install before other threads start; the pointer may then be read from any thread.
#pragma once

#include <atomic>

namespace ornav {

template <typename T>
class Installed {
 public:
  explicit Installed(T& instance) : previous_(slot().exchange(&instance)) {}
  ~Installed() { slot().store(previous_); }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;

  // The installed instance, or null while none is.
  static T* current() { return slot().load(std::memory_order_acquire); }

 private:
  static std::atomic<T*>& slot() {
    static std::atomic<T*> instance{nullptr};
    return instance;
  }
  T* previous_;
};

}  // namespace ornav
