#include "ports/platform.h"

namespace ornav {

namespace {
Platform& installed() {
  static Platform ports;
  return ports;
}
}  // namespace

const Platform& platform() {
  return installed();
}

void installPlatform(const Platform& ports) {
  installed() = ports;
}

}  // namespace ornav
