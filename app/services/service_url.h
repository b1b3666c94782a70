// Service addresses: the one build-time base URL, the endpoints formed from it, and the textual
// checks that decide whether a string is usable as an address.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ornav::service_url {

// The base URL the build was configured with (scheme, host, path "/"), unless a test pointed the
// process at another one.
std::string baseURL();

// The base URL followed by `path` (given without a leading slash), with exactly one slash between.
std::string endpoint(std::string_view path);

// Points every endpoint of this process at another base URL; nullopt restores the built-in one.
// Only tests call this (to reach a local server).
void setBaseURLOverrideForTesting(std::optional<std::string> base);

// True when `text` is a syntactically acceptable URL reference: not empty, no white space or
// control characters, none of the characters that may never appear unescaped, and every '%'
// followed by two hexadecimal digits. Non-ASCII letters are accepted (they are escaped on use).
bool isWellFormed(std::string_view text);

// The scheme of `text` in lower case when it begins with one ("HTTP://x" -> "http"); absent when
// it has none.
std::optional<std::string> scheme(std::string_view text);

// True when `text` is well formed, its scheme is http or https and it names a host. An endpoint
// that fails this counts as not configured; no request is made to it.
bool isUsableEndpoint(std::string_view text);

}  // namespace ornav::service_url
