#include "platform/linux/base64.h"

namespace ornav::linux_platform {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}
}  // namespace

std::string base64Encode(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += kAlphabet[n & 63];
  }
  if (bytes.size() - i == 1) {
    std::uint32_t n = bytes[i] << 16;
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += "==";
  } else if (bytes.size() - i == 2) {
    std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8);
    out += kAlphabet[n >> 18];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += '=';
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    int a = sextet(text[i]), b = sextet(text[i + 1]);
    if (a < 0 || b < 0) return std::nullopt;
    if (last && text[i + 2] == '=' && text[i + 3] == '=') {
      if (b & 15) return std::nullopt;  // bits that padding must leave zero
      out.push_back(static_cast<std::uint8_t>((a << 2) | (b >> 4)));
      break;
    }
    int c = sextet(text[i + 2]);
    if (c < 0) return std::nullopt;
    if (last && text[i + 3] == '=') {
      if (c & 3) return std::nullopt;
      out.push_back(static_cast<std::uint8_t>((a << 2) | (b >> 4)));
      out.push_back(static_cast<std::uint8_t>(((b & 15) << 4) | (c >> 2)));
      break;
    }
    int d = sextet(text[i + 3]);
    if (d < 0) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>((a << 2) | (b >> 4)));
    out.push_back(static_cast<std::uint8_t>(((b & 15) << 4) | (c >> 2)));
    out.push_back(static_cast<std::uint8_t>(((c & 3) << 6) | d));
  }
  return out;
}

}  // namespace ornav::linux_platform
