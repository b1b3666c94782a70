// The textual rules that decide whether a string is usable as a web address, and joining a base
// address with a path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ornav::url_text {

// `base` followed by `path` (given without a leading slash), with exactly one slash between.
std::string join(std::string_view base, std::string_view path);

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

}  // namespace ornav::url_text
