#include "xml_reader.h"

#include <expat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "keyfile_reader.h"

namespace ornav::corpus {
namespace {

constexpr std::string_view kWrapper = "ornav-content";

bool is_inline(std::string_view name) {
  const size_t colon = name.find(':');
  if (colon != std::string_view::npos) name.remove_prefix(colon + 1);
  static constexpr std::array<std::string_view, 30> kInline = {
      "em",          "b",         "i",        "u",           "strong",   "span",
      "link",        "gui",       "guiseq",   "key",         "keyseq",   "app",
      "cmd",         "file",      "sys",      "var",         "a",        "emphasis",
      "literal",     "command",   "filename", "application", "guilabel", "guimenu",
      "guimenuitem", "guibutton", "ulink",    "xref",        "quote",    "keycap"};
  return std::find(kInline.begin(), kInline.end(), name) != kInline.end();
}

bool has_visible_text(std::string_view s) {
  return s.find_first_not_of(" \t\n\r") != std::string_view::npos;
}

// Where the document's content begins: the offset of its first element, or of the first thing
// that cannot stand in a prolog (text, a stray reference). Expat reads the prolog.
size_t content_start(std::string_view xml) {
  struct Probe {
    XML_Parser parser;
    size_t at = std::string_view::npos;
  };
  XML_Parser parser = XML_ParserCreate("UTF-8");
  if (!parser) return 0;
  Probe probe{parser};
  XML_SetUserData(parser, &probe);
  XML_SetStartElementHandler(parser, [](void* data, const XML_Char*, const XML_Char**) {
    auto* p = static_cast<Probe*>(data);
    p->at = static_cast<size_t>(XML_GetCurrentByteIndex(p->parser));
    XML_StopParser(p->parser, XML_FALSE);
  });
  const XML_Status status = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE);
  if (probe.at == std::string_view::npos) {
    const XML_Index error_at = XML_GetCurrentByteIndex(parser);
    probe.at =
        status == XML_STATUS_ERROR && error_at >= 0 ? static_cast<size_t>(error_at) : xml.size();
  }
  XML_ParserFree(parser);
  return std::min(probe.at, xml.size());
}

bool is_xml_char(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The reference that starts at text[i] == '&' as the parser should see it: valid references
// unchanged; a character reference to something that is not a character (NUL, a surrogate, a
// value past U+10FFFF) as U+FFFD, so the words on either side stay apart; anything else (an
// undeclared entity, a reference too long to be a number, a lone '&') escaped, so it stays as
// written. `declared` is the prolog, whose entity declarations make names valid.
std::string checked_reference(std::string_view text, size_t i, std::string_view declared,
                              size_t& length) {
  const size_t semi = text.find(';', i);
  length = 1;
  if (semi == std::string_view::npos || semi - i > 12) return "&amp;";
  const std::string_view name = text.substr(i + 1, semi - i - 1);
  if (name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return "&amp;";
    uint64_t value = 0;
    for (char c : digits) {
      int d = (c >= '0' && c <= '9')          ? c - '0'
              : (hex && c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (hex && c >= 'A' && c <= 'F') ? c - 'A' + 10
                                              : -1;
      if (d < 0) return "&amp;";
      value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    }
    length = semi - i + 1;
    if (!is_xml_char(static_cast<uint32_t>(std::min<uint64_t>(value, 0x110000)))) {
      return "&#xFFFD;";
    }
    return std::string(text.substr(i, length));
  }
  static constexpr std::array<std::string_view, 5> kPredefined = {"lt", "gt", "amp", "quot",
                                                                  "apos"};
  const bool known =
      std::find(kPredefined.begin(), kPredefined.end(), name) != kPredefined.end() ||
      (!name.empty() && declared.find("<!ENTITY " + std::string(name)) != std::string_view::npos);
  if (!known) return "&amp;";
  length = semi - i + 1;
  return std::string(text.substr(i, length));
}

// The content with every reference made acceptable; comments, CDATA sections and processing
// instructions are copied as they are (references mean nothing there).
std::string checked_content(std::string_view content, std::string_view prolog) {
  std::string out;
  out.reserve(content.size() + 64);
  size_t i = 0;
  while (i < content.size()) {
    const char c = content[i];
    if (c == '<') {
      std::string_view close;
      if (content.compare(i, 4, "<!--") == 0) close = "-->";
      if (content.compare(i, 9, "<![CDATA[") == 0) close = "]]>";
      if (content.compare(i, 2, "<?") == 0) close = "?>";
      if (!close.empty()) {
        const size_t end = content.find(close, i + 2);
        const size_t stop = end == std::string_view::npos ? content.size() : end + close.size();
        out.append(content.substr(i, stop - i));
        i = stop;
        continue;
      }
    }
    if (c == '&') {
      size_t length = 1;
      out += checked_reference(content, i, prolog, length);
      i += length;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

// Expat reads the markup; what is ours is the treatment of imperfect files. A file is read as
// element content (text and several elements may stand at the top, inside a wrapper element
// placed after the prolog), references are made acceptable first (checked_content), and the first
// error ends the reading: whatever was read before it is handed on.
class ContentReader {
 public:
  virtual ~ContentReader() = default;

  void read(std::string_view xml) {
    const size_t start = content_start(xml);
    const std::string_view prolog = xml.substr(0, start);
    std::string document(prolog);
    document += '<';
    document += kWrapper;
    document += '>';
    document += checked_content(xml.substr(start), prolog);
    document += "</";
    document += kWrapper;
    document += '>';
    if (document.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return;

    XML_Parser parser = XML_ParserCreate("UTF-8");
    if (!parser) return;
    XML_SetUserData(parser, this);
    XML_SetElementHandler(
        parser,
        [](void* self, const XML_Char* name, const XML_Char** attributes) {
          static_cast<ContentReader*>(self)->open_element(name, attributes);
        },
        [](void* self, const XML_Char* name) {
          static_cast<ContentReader*>(self)->close_element(name);
        });
    XML_SetCharacterDataHandler(parser, [](void* self, const XML_Char* s, int length) {
      static_cast<ContentReader*>(self)->text(std::string_view(s, static_cast<size_t>(length)));
    });
    XML_SetCdataSectionHandler(
        parser, [](void* self) { static_cast<ContentReader*>(self)->in_cdata_ = true; },
        [](void* self) {
          auto* reader = static_cast<ContentReader*>(self);
          reader->in_cdata_ = false;
          reader->text_(reader->cdata_);
          reader->cdata_.clear();
        });
    XML_Parse(parser, document.data(), static_cast<int>(document.size()), XML_TRUE);
    XML_ParserFree(parser);
    finish();
  }

 protected:
  virtual void start_(std::string_view name, const XML_Char** attributes) = 0;
  virtual void end_(std::string_view name) = 0;
  virtual void text_(std::string_view text) = 0;
  virtual void finish() {}

 private:
  void open_element(std::string_view name, const XML_Char** attributes) {
    if (depth_++ > 0) start_(name, attributes);
  }
  void close_element(std::string_view name) {
    if (--depth_ > 0) end_(name);
  }
  // A CDATA section is handed on only once it is closed: an open one at the end of a file is
  // malformed input, not text.
  void text(std::string_view s) {
    if (in_cdata_) {
      cdata_ += s;
    } else {
      text_(s);
    }
  }

  int depth_ = 0;  // 1 inside the wrapper
  bool in_cdata_ = false;
  std::string cdata_;
};

const XML_Char* attribute(const XML_Char** attributes, std::string_view name) {
  for (size_t i = 0; attributes[i]; i += 2) {
    if (name == attributes[i]) return attributes[i + 1];
  }
  return nullptr;
}

class LangTextReader : public ContentReader {
 public:
  explicit LangTextReader(std::string_view language) : language_(language) {}
  std::vector<std::string> out;

 protected:
  void start_(std::string_view name, const XML_Char** attributes) override {
    if (depth_ == 0) {
      const XML_Char* lang = attribute(attributes, "xml:lang");
      if (lang && is_locale_tag(lang, language_)) {
        depth_ = 1;
        current_.clear();
      }
      return;
    }
    if (!is_inline(name)) current_ += '\n';
    ++depth_;
  }
  void end_(std::string_view name) override {
    if (depth_ == 0) return;
    if (--depth_ == 0) {
      if (has_visible_text(current_)) out.push_back(current_);
      current_.clear();
      return;
    }
    if (!is_inline(name)) current_ += '\n';
  }
  void text_(std::string_view text) override {
    if (depth_ > 0) current_ += text;
  }

 private:
  std::string_view language_;
  int depth_ = 0;  // element depth inside the captured element; 0 = not capturing
  std::string current_;
};

class PlainTextReader : public ContentReader {
 public:
  std::vector<std::string> out;

 protected:
  void start_(std::string_view name, const XML_Char**) override {
    if (!is_inline(name)) flush();
  }
  void end_(std::string_view name) override {
    if (!is_inline(name)) flush();
  }
  void text_(std::string_view text) override { current_ += text; }
  void finish() override { flush(); }

 private:
  void flush() {
    if (has_visible_text(current_)) out.push_back(current_);
    current_.clear();
  }
  std::string current_;
};

}  // namespace

std::vector<std::string> read_xml_lang_text(std::string_view xml, std::string_view language) {
  LangTextReader reader(language);
  reader.read(xml);
  return std::move(reader.out);
}

std::vector<std::string> read_xml_text(std::string_view xml) {
  PlainTextReader reader;
  reader.read(xml);
  return std::move(reader.out);
}

}  // namespace ornav::corpus
