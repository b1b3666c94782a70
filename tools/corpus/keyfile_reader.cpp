#include "keyfile_reader.h"

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "utf_text.h"

namespace ornav::corpus {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::string unescape_keyfile(std::string_view v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 == v.size()) {
      out += v[i];
      continue;
    }
    char e = v[++i];
    switch (e) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        out += e;
        break;  // "\\", "\;" and unknown escapes keep the character
    }
  }
  return out;
}

std::optional<uint32_t> hex4(std::string_view s, size_t at) {
  if (at + 4 > s.size()) return std::nullopt;
  uint32_t v = 0;
  for (size_t k = at; k < at + 4; ++k) {
    char c = s[k];
    v <<= 4;
    if (c >= '0' && c <= '9') {
      v |= static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      v |= static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      v |= static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
  }
  return v;
}

// Decodes the JSON string whose opening quote is at text[start]; sets `end` past its closing
// quote. nullopt when the string is malformed or unterminated.
std::optional<std::string> json_string(std::string_view text, size_t start, size_t& end) {
  std::string out;
  for (size_t i = start + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      end = i + 1;
      return out;
    }
    if (c == '\n') return std::nullopt;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case '"':
        out += '"';
        break;
      case '\\':
        out += '\\';
        break;
      case '/':
        out += '/';
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'u': {
        auto cp = hex4(text, i + 1);
        if (!cp) return std::nullopt;
        i += 4;
        if (*cp >= 0xD800 && *cp < 0xDC00 && i + 2 < text.size() && text[i + 1] == '\\' &&
            text[i + 2] == 'u') {
          auto low = hex4(text, i + 3);
          if (low && *low >= 0xDC00 && *low < 0xE000) {
            *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
            i += 6;
          }
        }
        // A lone surrogate is not a character: it separates words like any symbol.
        appendUtf8(out, *cp);
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

bool is_locale_tag(std::string_view tag, std::string_view language) {
  if (tag.substr(0, language.size()) != language) return false;
  if (tag.size() == language.size()) return true;
  char next = tag[language.size()];
  return next == '_' || next == '-' || next == '@' || next == '.';
}

void for_each_assignment(
    std::string_view text,
    const std::function<void(std::string_view key, std::string_view value)>& visit) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    std::string_view line = text.substr(pos, eol == std::string_view::npos ? eol : eol - pos);
    pos = eol == std::string_view::npos ? text.size() : eol + 1;
    size_t eq = line.find('=');
    if (eq != std::string_view::npos) visit(line.substr(0, eq), line.substr(eq + 1));
  }
}

std::vector<std::string> read_keyfile_values(std::string_view text, std::string_view language) {
  std::vector<std::string> out;
  for_each_assignment(text, [&](std::string_view rawKey, std::string_view rawValue) {
    std::string_view key = trim(rawKey);
    size_t open = key.find('[');
    if (open == std::string_view::npos || key.back() != ']') return;
    if (!is_locale_tag(key.substr(open + 1, key.size() - open - 2), language)) return;
    std::string value = unescape_keyfile(trim(rawValue));
    if (!value.empty()) out.push_back(std::move(value));
  });
  return out;
}

std::vector<std::string> read_json_values(std::string_view text, std::string_view language) {
  std::vector<std::string> out;
  size_t pos = 0;
  while ((pos = text.find('"', pos)) != std::string_view::npos) {
    size_t end = 0;
    auto key = json_string(text, pos, end);
    if (!key) {
      ++pos;
      continue;
    }
    pos = end;
    size_t open = key->find('[');
    if (open == std::string::npos || key->back() != ']' ||
        !is_locale_tag(std::string_view(*key).substr(open + 1, key->size() - open - 2), language)) {
      continue;
    }
    size_t colon = pos;
    while (colon < text.size() && (text[colon] == ' ' || text[colon] == '\t'))
      ++colon;
    if (colon >= text.size() || text[colon] != ':') continue;
    size_t quote = colon + 1;
    while (quote < text.size() && (text[quote] == ' ' || text[quote] == '\t' ||
                                   text[quote] == '\n' || text[quote] == '\r')) {
      ++quote;
    }
    if (quote >= text.size() || text[quote] != '"') continue;
    auto value = json_string(text, quote, end);
    if (!value) continue;
    pos = end;
    if (!value->empty()) out.push_back(std::move(*value));
  }
  return out;
}

}  // namespace ornav::corpus
