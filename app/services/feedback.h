// The pieces of a feedback submission that need no network: the request body and how the
// answer is read. The operation is UpdateServiceOperations::submitFeedback.
#pragma once

#include <string>
#include <string_view>

#include "services/update_types.h"

namespace ornav::feedback {

struct FeedbackFacts {
  std::string message;  // trimmed, never empty
  std::string contact;  // trimmed, may be empty
  std::string version;
  std::string device;
  std::string host;  // bundle identifier of the last client application, or empty
  std::string os;    // "major.minor.patch"
  std::string time;  // ISO 8601, UTC, seconds, trailing Z
};

std::string feedbackBody(const FeedbackFacts& facts);

// "2026-12-06T05:12:47Z" for the given seconds since 1970 (fractions dropped).
std::string iso8601UTC(double secondsSince1970);

FeedbackResult readFeedbackAnswer(std::string_view body);

}  // namespace ornav::feedback
