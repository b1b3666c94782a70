#include "message_reader.h"

#include <nlohmann/json.hpp>

#include "base/text.h"
#include "markup.h"
#include "utf_text.h"

namespace ornav::corpus {
namespace {

void collect(const nlohmann::json& value, std::vector<std::string>& out) {
  if (value.is_string()) {
    out.push_back(value.get<std::string>());
  } else if (value.is_object()) {
    for (const auto& [name, member] : value.items()) {
      if (!name.starts_with('@')) collect(member, out);
    }
  } else if (value.is_array()) {
    for (const auto& member : value)
      collect(member, out);
  }
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `count` hex digits at text[pos] (count 0: up to the closing brace of \u{...}).
std::optional<uint32_t> hex_value(std::string_view text, size_t& pos, size_t count) {
  uint32_t v = 0;
  size_t read = 0;
  while (pos < text.size() && (count == 0 ? text[pos] != '}' : read < count)) {
    const int d = hex_digit(text[pos]);
    if (d < 0 || read == 8) return std::nullopt;
    v = v * 16 + static_cast<uint32_t>(d);
    ++pos;
    ++read;
  }
  if (read == 0 || (count != 0 && read != count)) return std::nullopt;
  if (count == 0) {
    if (pos >= text.size()) return std::nullopt;
    ++pos;  // the closing brace
  }
  return v;
}

// Decodes the literal whose opening quote is text[pos]; pos ends after the closing quote.
std::optional<std::string> script_literal(std::string_view text, size_t& pos) {
  const char quote = text[pos++];
  std::string out;
  uint32_t high_surrogate = 0;  // the first half of a UTF-16 pair written as two escapes
  const auto flush_lone_half = [&] {
    if (high_surrogate) appendUtf8(out, 0xFFFD);
    high_surrogate = 0;
  };
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c == '\n') return std::nullopt;
    if (c != '\\') {
      flush_lone_half();
      if (c == quote) return out;
      out += c;
      continue;
    }
    if (pos >= text.size()) return std::nullopt;
    const char e = text[pos++];
    std::optional<uint32_t> cp;
    if (e == 'x') {
      cp = hex_value(text, pos, 2);
    } else if (e == 'u' && pos < text.size() && text[pos] == '{') {
      ++pos;
      cp = hex_value(text, pos, 0);
    } else if (e == 'u') {
      cp = hex_value(text, pos, 4);
    } else {
      flush_lone_half();
      if (e == 'n') out += '\n';
      if (e == 't') out += '\t';
      // \r is dropped and a backslash before a line break continues the line; \' \" \\ and
      // the rest stand for themselves.
      if (e != 'n' && e != 't' && e != 'r' && e != '\n') out += e;
      continue;
    }
    if (!cp) return std::nullopt;
    if (*cp >= 0xDC00 && *cp < 0xE000 && high_surrogate) {
      cp = 0x10000 + ((high_surrogate - 0xD800) << 10) + (*cp - 0xDC00);
      high_surrogate = 0;
    }
    flush_lone_half();
    if (*cp >= 0xD800 && *cp < 0xDC00) {
      high_surrogate = *cp;
      continue;
    }
    appendUtf8(out, *cp);
  }
  return std::nullopt;
}

// Position of the "}}" that closes the template opened at text[open], nested ones skipped.
size_t template_end(std::string_view text, size_t open) {
  int depth = 0;
  for (size_t i = open; i + 1 < text.size(); ++i) {
    if (text.compare(i, 2, "{{") == 0) {
      ++depth;
      ++i;
    } else if (text.compare(i, 2, "}}") == 0) {
      if (--depth == 0) return i;
      ++i;
    }
  }
  return std::string_view::npos;
}

// The first alternative of a template body such as "PLURAL:$1|form|forms", or nothing when the
// template is not one that chooses between forms.
std::optional<std::string_view> chosen_form(std::string_view body) {
  const size_t colon = body.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view name = body.substr(0, colon);
  if (name != "PLURAL" && name != "GENDER" && name != "GRAMMAR" && name != "plural" &&
      name != "gender") {
    return std::nullopt;
  }
  const size_t bar = body.find('|', colon);
  if (bar == std::string_view::npos) return std::string_view{};
  std::string_view form = body.substr(bar + 1);
  // Skip a nested template's bars when cutting at the next one.
  int depth = 0;
  for (size_t i = 0; i < form.size(); ++i) {
    if (form.compare(i, 2, "{{") == 0) ++depth;
    if (form.compare(i, 2, "}}") == 0 && depth > 0) --depth;
    if (form[i] == '|' && depth == 0) return form.substr(0, i);
  }
  return form;
}

}  // namespace

std::optional<std::vector<std::string>> read_json_strings(std::string_view text) {
  const auto document = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (document.is_discarded()) return std::nullopt;
  std::vector<std::string> out;
  collect(document, out);
  return out;
}

std::vector<std::string> read_script_strings(std::string_view text) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (text.compare(pos, 2, "//") == 0) {
      pos = text.find('\n', pos);
    } else if (text.compare(pos, 2, "/*") == 0) {
      pos = text.find("*/", pos + 2);
      if (pos != std::string_view::npos) pos += 2;
    } else if (c == '"' || c == '\'') {
      auto literal = script_literal(text, pos);
      if (!literal) break;
      out.push_back(std::move(*literal));
      continue;
    } else {
      ++pos;
      continue;
    }
  }
  return out;
}

std::string wiki_message_text(std::string_view message) {
  std::string out;
  for (size_t i = 0; i < message.size();) {
    if (message.compare(i, 2, "{{") == 0) {
      const size_t end = template_end(message, i);
      if (end == std::string_view::npos) {
        out += kBreak;
        break;
      }
      const auto form = chosen_form(message.substr(i + 2, end - i - 2));
      out += form ? wiki_message_text(*form) : std::string(kBreak);
      i = end + 2;
    } else if (message.compare(i, 2, "[[") == 0) {
      const size_t end = message.find("]]", i + 2);
      if (end == std::string_view::npos) {
        out += kBreak;
        break;
      }
      const std::string_view link = message.substr(i + 2, end - i - 2);
      const size_t bar = link.find('|');
      out += wiki_message_text(bar == std::string_view::npos ? link : link.substr(bar + 1));
      i = end + 2;
    } else if (message[i] == '[' &&
               (message.compare(i + 1, 4, "http") == 0 || message.compare(i + 1, 2, "//") == 0)) {
      const size_t end = message.find(']', i);
      if (end == std::string_view::npos) {
        out += kBreak;
        break;
      }
      const std::string_view link = message.substr(i + 1, end - i - 1);
      const size_t space = link.find(' ');
      out += space == std::string_view::npos ? std::string(kBreak)
                                             : wiki_message_text(link.substr(space + 1));
      i = end + 1;
    } else if (message.compare(i, 2, "''") == 0) {
      while (i < message.size() && message[i] == '\'')
        ++i;
    } else if (message[i] == '$' && i + 1 < message.size() && message[i + 1] >= '0' &&
               message[i + 1] <= '9') {
      out += kBreak;
      ++i;
      while (i < message.size() && message[i] >= '0' && message[i] <= '9')
        ++i;
    } else {
      out += message[i++];
    }
  }
  return out;
}

}  // namespace ornav::corpus
