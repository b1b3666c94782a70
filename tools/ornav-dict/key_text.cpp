#include "key_text.h"

#include <cstdio>

#include "base/text.h"
#include "count_file.h"

namespace ornav::dict {
namespace {

void appendEscaped(std::string& out, unsigned char b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02X", b);
  out += buf;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::string_view separatorSymbol = "\u241F";

}  // namespace

std::string showKey(std::string_view key) {
  std::string out;
  for (std::size_t at = 0; at < key.size();) {
    const auto b = static_cast<unsigned char>(key[at]);
    if (key[at] == pairSeparator) {
      out += '\t';
      ++at;
      continue;
    }
    if (b < 0x20 || b == 0x7F || b == '\\') {
      appendEscaped(out, b);
      ++at;
      continue;
    }
    const auto c = decodeUtf8At(key, at);
    if (!c) {
      appendEscaped(out, b);
      ++at;
      continue;
    }
    if (key.substr(at).starts_with(separatorSymbol)) {  // typed back it would mean 0x1F
      for (const char s : separatorSymbol)
        appendEscaped(out, static_cast<unsigned char>(s));
      at += separatorSymbol.size();
      continue;
    }
    out.append(key.substr(at, c->size));
    at += c->size;
  }
  return out;
}

std::optional<std::string> parseKeyArgument(std::string_view argument) {
  std::string key;
  for (std::size_t at = 0; at < argument.size();) {
    if (argument[at] == '\t') {
      key += pairSeparator;
      ++at;
    } else if (argument.substr(at).starts_with(separatorSymbol)) {
      key += pairSeparator;
      at += separatorSymbol.size();
    } else if (argument[at] == '\\') {
      if (argument.size() - at < 4 || argument[at + 1] != 'x') return std::nullopt;
      const int hi = hexValue(argument[at + 2]);
      const int lo = hexValue(argument[at + 3]);
      if (hi < 0 || lo < 0) return std::nullopt;
      key += static_cast<char>(hi * 16 + lo);
      at += 4;
    } else {
      key += argument[at++];
    }
  }
  return key;
}

}  // namespace ornav::dict
