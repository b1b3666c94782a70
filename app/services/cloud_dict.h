// Reading the cloud dictionary answer; the operation is UpdateServiceOperations::fetchCloudDict.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "services/update_service_operations.h"

namespace ornav::cloud_dict {

// What an answer means for the caller.
struct CloudDictAnswer {
  enum class Kind { badFormat, unchanged, dictionary };
  Kind kind = Kind::badFormat;
  CloudDict dict;  // dictionary: the text and version; unchanged: the version only
};

CloudDictAnswer readCloudDictAnswer(std::string_view body);

// The dictionary endpoint with the query item "since" = `since` (percent-encoded as a query
// value; always present, also when empty).
std::string cloudDictRequestURL(const std::string& endpoint, std::string_view since);

}  // namespace ornav::cloud_dict
