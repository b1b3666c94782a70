// One HTTP transfer over libcurl, run synchronously on the calling (background) thread. Shared by
// the data-task session and the download session.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "ports/http_session.h"

namespace ornav::linux_platform {

struct TransferOptions {
  HttpRequest request;
  std::optional<double> resourceTimeoutSeconds;  // longest time for the whole transfer
  bool acceptCompressed = true;                  // ask for gzip/deflate and decode it
  // PEM file of the authorities to trust instead of the system's.
  std::optional<std::filesystem::path> trustedCertificates;
  // Receives the body chunk by chunk; answers false to abort (a write failure).
  std::function<bool(const char* data, std::size_t size)> sink;
  // Asked regularly (also while no data flows); true aborts the transfer as cancelled.
  std::function<bool()> cancelled;
};

struct TransferOutcome {
  std::optional<HttpError> error;  // absent: the whole response arrived
  int status = 0;
  HttpHeaders headers;
  std::int64_t expectedLength = -1;  // the final response's Content-Length, -1 when unknown
};

// Checks the address before any thread is started: absent when it is usable.
std::optional<HttpError> checkUrl(const std::string& url);

// Runs the transfer; every failure is an HttpError with a readable description.
TransferOutcome runTransfer(const TransferOptions& options);

// The expected length as seen so far inside `sink` (the current response's Content-Length).
std::int64_t currentExpectedLength();

}  // namespace ornav::linux_platform
