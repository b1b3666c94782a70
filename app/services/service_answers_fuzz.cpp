// Everything the service client reads from outside: answers of the web service, the user's word
// counts and the stored upload snapshot, and download links. None of it may crash or hang, and
// what goes back out (snapshots, upload bodies) must stay valid JSON.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <nlohmann/json.hpp>

#include "services/about.h"
#include "services/cloud_dict.h"
#include "services/feedback.h"
#include "services/update_check.h"
#include "services/update_package.h"
#include "services/user_dict_payload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  using namespace ornav;

  (void)update_check::readUpdateAnswer(text);
  (void)cloud_dict::readCloudDictAnswer(text);
  (void)feedback::readFeedbackAnswer(text);
  (void)about::readAboutAnswer(text, AboutContent{"t", "d", "c"});

  UserDictCounts snapshot = parseUploadedSnapshot(text);
  auto payload = buildUserDictUploadPayload(text, size % 2 == 0, snapshot);
  if (payload) {
    const std::string body = userDictUploadBody("device", payload->entries);
    if (nlohmann::json::parse(body, nullptr, false).is_discarded()) __builtin_trap();
    const std::string stored = serializeUploadedSnapshot(payload->snapshot);
    if (parseUploadedSnapshot(stored) != payload->snapshot) __builtin_trap();
  }

  UpdateInfo info;
  info.version = std::string(text.substr(0, size / 2));
  const std::string name = downloadedPackageName(info, text);
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    __builtin_trap();
  }
  return 0;
}
