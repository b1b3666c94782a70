#include "xml_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "keyfile_reader.h"
#include "utf_text.h"

namespace ornav::corpus {
namespace {

// Appends `raw` to `out` with entities decoded; an unknown entity stays as written.
void append_decoded(std::string& out, std::string_view raw) {
  for (size_t i = 0; i < raw.size(); ++i) {
    size_t semi = raw[i] == '&' ? raw.find(';', i) : std::string_view::npos;
    if (semi == std::string_view::npos || semi - i > 12) {
      out += raw[i];
      continue;
    }
    std::string_view name = raw.substr(i + 1, semi - i - 1);
    if (name == "lt") {
      out += '<';
    } else if (name == "gt") {
      out += '>';
    } else if (name == "amp") {
      out += '&';
    } else if (name == "quot") {
      out += '"';
    } else if (name == "apos") {
      out += '\'';
    } else if (name.size() > 1 && name[0] == '#') {
      bool hex = name[1] == 'x' || name[1] == 'X';
      std::string_view digits = name.substr(hex ? 2 : 1);
      uint32_t cp = 0;
      bool ok = !digits.empty() && digits.size() <= 8;
      for (char c : digits) {
        int d = (c >= '0' && c <= '9')          ? c - '0'
                : (hex && c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (hex && c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                : -1;
        if (d < 0) ok = false;
        // Held just above the last code point, so a long run of digits cannot wrap around.
        cp = std::min<uint32_t>(cp * (hex ? 16 : 10) + static_cast<uint32_t>(d < 0 ? 0 : d),
                                0x110000);
      }
      if (!ok) {
        out += raw[i];
        continue;
      }
      append_utf8(out, cp == 0 ? 0xFFFD : cp);  // NUL is no text character
    } else {
      out += raw[i];
      continue;
    }
    i = semi;
  }
}

bool is_inline(std::string_view name) {
  size_t colon = name.find(':');
  if (colon != std::string_view::npos) name.remove_prefix(colon + 1);
  static constexpr std::array<std::string_view, 30> kInline = {
      "em",          "b",         "i",        "u",           "strong",   "span",
      "link",        "gui",       "guiseq",   "key",         "keyseq",   "app",
      "cmd",         "file",      "sys",      "var",         "a",        "emphasis",
      "literal",     "command",   "filename", "application", "guilabel", "guimenu",
      "guimenuitem", "guibutton", "ulink",    "xref",        "quote",    "keycap"};
  for (std::string_view n : kInline) {
    if (n == name) return true;
  }
  return false;
}

struct Tag {
  std::string_view name;
  bool closing = false;
  bool self_closing = false;
  std::optional<std::string> lang;  // value of xml:lang, when present
};

// Parses the tag that starts at xml[pos] == '<' and ends at xml[end] == '>'.
Tag parse_tag(std::string_view body) {
  Tag tag;
  size_t i = 0;
  if (!body.empty() && body[0] == '/') {
    tag.closing = true;
    i = 1;
  }
  if (!body.empty() && body.back() == '/') {
    tag.self_closing = true;
    body.remove_suffix(1);
  }
  size_t name_start = i;
  while (i < body.size() && body[i] != ' ' && body[i] != '\t' && body[i] != '\n' &&
         body[i] != '\r') {
    ++i;
  }
  tag.name = body.substr(name_start, i - name_start);
  while (i < body.size()) {
    while (i < body.size() &&
           (body[i] == ' ' || body[i] == '\t' || body[i] == '\n' || body[i] == '\r')) {
      ++i;
    }
    size_t eq = body.find('=', i);
    if (eq == std::string_view::npos) break;
    std::string_view attr = body.substr(i, eq - i);
    while (!attr.empty() && (attr.back() == ' ' || attr.back() == '\t'))
      attr.remove_suffix(1);
    size_t q = eq + 1;
    while (q < body.size() && (body[q] == ' ' || body[q] == '\t'))
      ++q;
    if (q >= body.size() || (body[q] != '"' && body[q] != '\'')) break;
    size_t close = body.find(body[q], q + 1);
    if (close == std::string_view::npos) break;
    if (attr == "xml:lang") {
      std::string value;
      append_decoded(value, body.substr(q + 1, close - q - 1));
      tag.lang = std::move(value);
    }
    i = close + 1;
  }
  return tag;
}

// Walks the document and calls the handlers for text and tags.
template <typename OnText, typename OnTag>
void walk(std::string_view xml, OnText on_text, OnTag on_tag) {
  size_t pos = 0;
  while (pos < xml.size()) {
    size_t lt = xml.find('<', pos);
    if (lt == std::string_view::npos) {
      on_text(xml.substr(pos), false);
      return;
    }
    if (lt > pos) on_text(xml.substr(pos, lt - pos), false);
    std::string_view rest = xml.substr(lt);
    size_t end = 0;
    if (rest.starts_with("<!--")) {
      end = xml.find("-->", lt + 4);
      if (end == std::string_view::npos) return;
      pos = end + 3;
    } else if (rest.starts_with("<![CDATA[")) {
      end = xml.find("]]>", lt + 9);
      if (end == std::string_view::npos) return;
      on_text(xml.substr(lt + 9, end - lt - 9), true);
      pos = end + 3;
    } else if (rest.starts_with("<?")) {
      end = xml.find("?>", lt + 2);
      if (end == std::string_view::npos) return;
      pos = end + 2;
    } else if (rest.starts_with("<!")) {
      // Document type: skip an internal subset in brackets as a whole.
      size_t bracket = xml.find('[', lt);
      size_t gt = xml.find('>', lt);
      if (gt == std::string_view::npos) return;
      if (bracket != std::string_view::npos && bracket < gt) {
        size_t close = xml.find("]>", bracket);
        if (close == std::string_view::npos) return;
        pos = close + 2;
      } else {
        pos = gt + 1;
      }
    } else {
      // A '>' inside a quoted attribute value does not end the tag.
      size_t i = lt + 1;
      char quote = 0;
      for (; i < xml.size(); ++i) {
        char c = xml[i];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (i >= xml.size()) return;
      on_tag(parse_tag(xml.substr(lt + 1, i - lt - 1)));
      pos = i + 1;
    }
  }
}

bool has_visible_text(std::string_view s) {
  for (char c : s) {
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> read_xml_lang_text(std::string_view xml, std::string_view language) {
  std::vector<std::string> out;
  std::string current;
  int depth = 0;  // element depth inside the captured element; 0 = not capturing
  walk(
      xml,
      [&](std::string_view text, bool cdata) {
        if (depth == 0) return;
        if (cdata) {
          current += text;
        } else {
          append_decoded(current, text);
        }
      },
      [&](const Tag& tag) {
        if (depth == 0) {
          if (!tag.closing && !tag.self_closing && tag.lang && is_locale_tag(*tag.lang, language)) {
            depth = 1;
            current.clear();
          }
          return;
        }
        if (tag.closing && --depth == 0) {
          if (has_visible_text(current)) out.push_back(current);
          current.clear();
          return;
        }
        if (!is_inline(tag.name)) current += '\n';
        if (!tag.closing && !tag.self_closing) ++depth;
      });
  return out;
}

std::vector<std::string> read_xml_text(std::string_view xml) {
  std::vector<std::string> out;
  std::string current;
  auto flush = [&] {
    if (has_visible_text(current)) out.push_back(current);
    current.clear();
  };
  walk(
      xml,
      [&](std::string_view text, bool cdata) {
        if (cdata) {
          current += text;
        } else {
          append_decoded(current, text);
        }
      },
      [&](const Tag& tag) {
        if (!is_inline(tag.name)) flush();
      });
  flush();
  return out;
}

}  // namespace ornav::corpus
