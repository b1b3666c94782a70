// Another process can select a different input source (a switcher utility, a script) without
// InputMethodKit deactivating the controller that was active, which would leave its composition
// and its panel behind. The watch observes every change of the selected keyboard input source
// and, when the newly selected source is not one of this input method's, deactivates the active
// controller as InputMethodKit would have.
#pragma once

#include <memory>
#include <string>

namespace ornav::mac_platform {

class InputSourceWatch {
 public:
  // Sources whose identifier begins with `ownSourcePrefix` (the bundle identifier) are this input
  // method's own.
  explicit InputSourceWatch(std::string ownSourcePrefix);
  ~InputSourceWatch();
  InputSourceWatch(const InputSourceWatch&) = delete;
  InputSourceWatch& operator=(const InputSourceWatch&) = delete;

 private:
  struct Observation;
  std::unique_ptr<Observation> observation_;
};

}  // namespace ornav::mac_platform
