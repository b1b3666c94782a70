// Fuzzes the request handlers: the first byte picks an endpoint (or an unknown one), the rest is
// the body, or the "since" value of a GET. Every answer must be an HTTP status; a crash, a leak
// or undefined behaviour ends the run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "service_handlers.h"

using namespace ornav::service;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<Storage> storage = Storage::open("sqlite::memory:", 1);
  static ServiceHandlers handlers(*storage, {.uploadsPerHour = 0,
                                             .feedbackPerHour = 0,
                                             .crashReportsPerHour = 0,
                                             .storingRequestsPerAddress = 0});
  static const char* const routes[][2] = {
      {"POST", "/api/ornav-ime/user-dict"}, {"POST", "/api/ornav-ime/feedback"},
      {"POST", "/api/ornav-ime/crash"},     {"GET", "/api/ornav-ime/dict"},
      {"GET", "/api/ornav-ime/latest"},     {"GET", "/api/ornav-ime/about"},
      {"PUT", "/api/ornav-ime/crash"},      {"GET", "/api/ornav-ime/other"},
  };
  if (size == 0) return 0;
  const auto& [method, path] = routes[data[0] % (sizeof routes / sizeof routes[0])];
  ServiceRequest request{method, path, {}, std::string(data + 1, data + size), "127.0.0.1"};
  if (request.method == "GET") request.query["since"] = request.body;
  if (data[0] % 64 == 63) storage->rebuildDictionary(1, 0);
  const ServiceResponse response = handlers.handle(request);
  if (response.status < 200 || response.status > 599) __builtin_trap();
  return 0;
}
