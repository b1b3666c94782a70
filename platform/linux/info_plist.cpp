#include "info_plist.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <vector>

namespace ornav::linux_platform {

namespace {

struct Tag {
  std::string name;
  bool closing = false;
  bool selfClosing = false;
};

// A cursor over the document that yields tags and the text between them.
class Scanner {
 public:
  explicit Scanner(std::string_view xml) : xml_(xml) {}

  // Skips the prolog, comments, processing instructions and the document type, and white space.
  void skipMisc() {
    for (;;) {
      skipSpace();
      if (startsWith("<?")) {
        if (!skipPast("?>")) return fail();
      } else if (startsWith("<!--")) {
        if (!skipPast("-->")) return fail();
      } else if (startsWith("<!DOCTYPE")) {
        if (!skipPast(">")) return fail();
      } else {
        return;
      }
    }
  }

  std::optional<Tag> tag() {
    skipMisc();
    if (failed_ || pos_ >= xml_.size() || xml_[pos_] != '<') return failNone();
    auto end = xml_.find('>', pos_);
    if (end == std::string_view::npos) return failNone();
    std::string_view inside = xml_.substr(pos_ + 1, end - pos_ - 1);
    pos_ = end + 1;
    Tag result;
    if (!inside.empty() && inside.front() == '/') {
      result.closing = true;
      inside.remove_prefix(1);
    }
    if (!inside.empty() && inside.back() == '/') {
      result.selfClosing = true;
      inside.remove_suffix(1);
    }
    // Attributes (the plist's version) are allowed and ignored.
    auto nameEnd = inside.find_first_of(" \t\r\n");
    result.name = std::string(inside.substr(0, nameEnd));
    if (result.name.empty() || (result.closing && result.selfClosing)) return failNone();
    return result;
  }

  // The raw text up to the next '<'.
  std::string_view text() {
    auto end = xml_.find('<', pos_);
    if (end == std::string_view::npos) end = xml_.size();
    auto result = xml_.substr(pos_, end - pos_);
    pos_ = end;
    return result;
  }

  bool atEnd() {
    skipMisc();
    return pos_ >= xml_.size();
  }
  bool failed() const { return failed_; }

 private:
  void skipSpace() {
    while (pos_ < xml_.size() &&
           (xml_[pos_] == ' ' || xml_[pos_] == '\t' || xml_[pos_] == '\r' || xml_[pos_] == '\n')) {
      ++pos_;
    }
  }
  bool startsWith(std::string_view prefix) const {
    return xml_.substr(pos_, prefix.size()) == prefix;
  }
  bool skipPast(std::string_view end) {
    auto found = xml_.find(end, pos_);
    if (found == std::string_view::npos) return false;
    pos_ = found + end.size();
    return true;
  }
  void fail() { failed_ = true; }
  std::nullopt_t failNone() {
    failed_ = true;
    return std::nullopt;
  }

  std::string_view xml_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

void appendUtf8(std::string& out, unsigned long code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Replaces the five named entities and numeric character references.
std::optional<std::string> decodeText(std::string_view raw) {
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '&') {
      out += raw[i];
      continue;
    }
    auto semicolon = raw.find(';', i);
    if (semicolon == std::string_view::npos) return std::nullopt;
    std::string_view entity = raw.substr(i + 1, semicolon - i - 1);
    if (entity == "amp") {
      out += '&';
    } else if (entity == "lt") {
      out += '<';
    } else if (entity == "gt") {
      out += '>';
    } else if (entity == "quot") {
      out += '"';
    } else if (entity == "apos") {
      out += '\'';
    } else if (entity.size() > 1 && entity[0] == '#') {
      const bool hex = entity[1] == 'x' || entity[1] == 'X';
      std::string digits(entity.substr(hex ? 2 : 1));
      if (digits.empty() || digits.size() > 8) return std::nullopt;
      char* end = nullptr;
      unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
      if (*end != '\0' || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
      }
      appendUtf8(out, code);
    } else {
      return std::nullopt;
    }
    i = semicolon;
  }
  return out;
}

std::string trimmed(std::string text) {
  const char* space = " \t\r\n";
  auto first = text.find_first_not_of(space);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// Reads the text of an element whose start tag was consumed, and its end tag.
std::optional<std::string> elementText(Scanner& scanner, const Tag& start) {
  if (start.selfClosing) return std::string();
  auto text = decodeText(scanner.text());
  auto end = scanner.tag();
  if (!text || !end || !end->closing || end->name != start.name) return std::nullopt;
  return text;
}

// Skips a whole value (used for nested containers); false when it is malformed.
bool skipValue(Scanner& scanner, const Tag& start, int depth);

std::optional<InfoValue> scalar(Scanner& scanner, const Tag& start, bool& skipped) {
  skipped = false;
  const std::string& name = start.name;
  if (name == "true" || name == "false") {
    if (!start.selfClosing) {
      auto end = scanner.tag();
      if (!end || !end->closing || end->name != name) return std::nullopt;
    }
    return InfoValue(name == "true");
  }
  if (name == "string") {
    auto text = elementText(scanner, start);
    if (!text) return std::nullopt;
    return InfoValue(*text);
  }
  if (name == "integer") {
    auto text = elementText(scanner, start);
    if (!text) return std::nullopt;
    std::string digits = trimmed(*text);
    std::int64_t value = 0;
    const char* first = digits.data();
    if (!digits.empty() && digits[0] == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, digits.data() + digits.size(), value);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || first == ptr) {
      return std::nullopt;
    }
    return InfoValue(value);
  }
  if (name == "real") {
    auto text = elementText(scanner, start);
    if (!text) return std::nullopt;
    std::string digits = trimmed(*text);
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(digits.c_str(), &end);
    if (digits.empty() || *end != '\0') return std::nullopt;
    return InfoValue(value);
  }
  if (name == "date" || name == "data") {
    auto text = elementText(scanner, start);
    if (!text) return std::nullopt;
    return InfoValue(trimmed(*text));
  }
  if (name == "array" || name == "dict") {
    skipped = true;
    if (!skipValue(scanner, start, 1)) return std::nullopt;
    return InfoValue(false);
  }
  return std::nullopt;
}

bool skipValue(Scanner& scanner, const Tag& start, int depth) {
  if (start.selfClosing) return true;
  if (depth > 64) return false;  // deeper than any real bundle description
  for (;;) {
    auto tag = scanner.tag();
    if (!tag) return false;
    if (tag->closing) return tag->name == start.name;
    if (start.name == "dict" && tag->name == "key") {
      if (!elementText(scanner, *tag)) return false;
      continue;
    }
    if (tag->name == "array" || tag->name == "dict") {
      if (!skipValue(scanner, *tag, depth + 1)) return false;
      continue;
    }
    bool skipped = false;
    if (!scalar(scanner, *tag, skipped)) return false;
  }
}

}  // namespace

std::optional<InfoDictionary> parseInfoPlist(std::string_view xml) {
  Scanner scanner(xml);
  auto plist = scanner.tag();
  if (!plist || plist->closing || plist->name != "plist" || plist->selfClosing) return std::nullopt;
  auto dict = scanner.tag();
  if (!dict || dict->closing || dict->name != "dict") return std::nullopt;

  InfoDictionary result;
  if (!dict->selfClosing) {
    for (;;) {
      auto tag = scanner.tag();
      if (!tag) return std::nullopt;
      if (tag->closing) {
        if (tag->name != "dict") return std::nullopt;
        break;
      }
      if (tag->name != "key") return std::nullopt;
      auto key = elementText(scanner, *tag);
      if (!key) return std::nullopt;
      auto valueTag = scanner.tag();
      if (!valueTag || valueTag->closing) return std::nullopt;
      bool skipped = false;
      auto value = scalar(scanner, *valueTag, skipped);
      if (!value) return std::nullopt;
      if (!skipped) result[*key] = std::move(*value);
    }
  }
  auto end = scanner.tag();
  if (!end || !end->closing || end->name != "plist" || !scanner.atEnd()) return std::nullopt;
  return result;
}

}  // namespace ornav::linux_platform
