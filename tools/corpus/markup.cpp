#include "markup.h"

#include <array>
#include <cctype>

namespace ornav::corpus {
namespace {

bool is_ascii_alpha(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool is_ascii_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_name_char(char c) {
  return is_ascii_alpha(c) || is_ascii_digit(c) || c == '_';
}

// Length of a printf/Qt/Python placeholder starting at text[i] == '%', or 0 when the '%' is
// literal text.
size_t placeholder_length(std::string_view text, size_t i) {
  size_t j = i + 1;
  if (j >= text.size()) return 0;
  if (text[j] == '%') return 2;  // "%%" is a literal percent sign, still not a word
  if (text[j] == '(') {          // Python: %(name)s
    size_t close = text.find(')', j);
    if (close == std::string_view::npos || close - j > 64) return 0;
    for (size_t k = j + 1; k < close; ++k) {
      if (!is_name_char(text[k])) return 0;
    }
    j = close + 1;
  } else if (text[j] == 'L' && j + 1 < text.size() && is_ascii_digit(text[j + 1])) {
    ++j;  // KDE's %L1: a localised number
  }
  size_t digits = j;
  while (j < text.size() && is_ascii_digit(text[j]))
    ++j;
  bool had_digits = j > digits;
  if (had_digits && j < text.size() && text[j] == '$') {
    ++j;  // positional argument: %1$s
  } else if (had_digits) {
    // Qt-style %1 .. %99 ends right after its digits unless a conversion letter follows.
    if (j >= text.size() || !is_ascii_alpha(text[j])) return j - i;
  }
  while (j < text.size() && std::string_view("-+ #0'").find(text[j]) != std::string_view::npos) {
    ++j;
  }
  while (j < text.size() && (is_ascii_digit(text[j]) || text[j] == '*'))
    ++j;
  if (j < text.size() && text[j] == '.') {
    ++j;
    while (j < text.size() && (is_ascii_digit(text[j]) || text[j] == '*'))
      ++j;
  }
  static constexpr std::array<std::string_view, 9> kLengths = {"hh", "ll", "I64", "h", "l",
                                                               "L",  "q",  "j",   "z"};
  for (std::string_view len : kLengths) {
    if (text.substr(j, len.size()) == len) {
      j += len.size();
      break;
    }
  }
  if (j < text.size() && text[j] == 't') ++j;  // ptrdiff_t length modifier
  if (j < text.size() &&
      std::string_view("diouxXeEfFgGaAcspnuS").find(text[j]) != std::string_view::npos) {
    return j + 1 - i;
  }
  if (had_digits) return j - i;  // "%1" followed by something unexpected
  return 0;
}

// Length of a {name} / {0} / ${name} variable at text[i], or 0.
size_t brace_variable_length(std::string_view text, size_t i) {
  size_t j = i;
  if (text[j] == '$') ++j;
  if (j >= text.size() || text[j] != '{') return 0;
  size_t close = text.find('}', j);
  if (close == std::string_view::npos || close - j > 64) return 0;
  for (size_t k = j + 1; k < close; ++k) {
    char c = text[k];
    if (!is_name_char(c) && c != '.' && c != ':' && c != '-' && c != ' ' && c != ',') return 0;
  }
  return close + 1 - i;
}

// Tags that end a line or a block: the words around them are not neighbours.
bool is_block_tag(std::string_view name) {
  static constexpr std::array<std::string_view, 18> kBlock = {
      "br", "p",  "div", "li", "ul", "ol", "h1",    "h2", "h3",
      "h4", "h5", "h6",  "tr", "td", "th", "table", "hr", "title"};
  for (std::string_view b : kBlock) {
    if (name.size() == b.size()) {
      bool same = true;
      for (size_t k = 0; k < b.size(); ++k) {
        if (std::tolower(static_cast<unsigned char>(name[k])) != b[k]) same = false;
      }
      if (same) return true;
    }
  }
  return false;
}

// A markup tag at text[i] == '<': its length and whether it is a block tag; 0 when the '<' is a
// plain less-than sign.
size_t tag_length(std::string_view text, size_t i, bool& block) {
  size_t j = i + 1;
  if (j < text.size() && (text[j] == '/' || text[j] == '!' || text[j] == '?')) ++j;
  if (j >= text.size() || !is_ascii_alpha(text[j])) return 0;
  size_t name_start = j;
  while (j < text.size() && (is_name_char(text[j]) || text[j] == '-' || text[j] == ':'))
    ++j;
  std::string_view name = text.substr(name_start, j - name_start);
  size_t close = text.find('>', j);
  size_t reopen = text.find('<', j);
  if (close == std::string_view::npos || (reopen != std::string_view::npos && reopen < close)) {
    return 0;
  }
  if (j < text.size() &&
      !(text[j] == '>' || text[j] == '/' || text[j] == ' ' || text[j] == '\t' || text[j] == '\n')) {
    return 0;  // "<abc+def>" is not a tag
  }
  block = is_block_tag(name);
  return close + 1 - i;
}

// A character entity at text[i] == '&': its length, and whether it stands for a space.
size_t entity_length(std::string_view text, size_t i, bool& is_space) {
  size_t j = i + 1;
  if (j < text.size() && text[j] == '#') {
    ++j;
    if (j < text.size() && (text[j] == 'x' || text[j] == 'X')) ++j;
    size_t start = j;
    while (j < text.size() && std::isxdigit(static_cast<unsigned char>(text[j])))
      ++j;
    if (j == start || j >= text.size() || text[j] != ';') return 0;
    is_space = false;
    return j + 1 - i;
  }
  size_t start = j;
  while (j < text.size() && is_ascii_alpha(text[j]))
    ++j;
  if (j == start || j - start > 8 || j >= text.size() || text[j] != ';') return 0;
  is_space = text.substr(start, j - start) == "nbsp";
  return j + 1 - i;
}

}  // namespace

std::string strip_markup(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    size_t n = 0;
    if (c == '%' && (n = placeholder_length(text, i)) > 0) {
      out += kBreak;
    } else if ((c == '{' || c == '$') && (n = brace_variable_length(text, i)) > 0) {
      out += kBreak;
    } else if (c == '<') {
      bool block = false;
      n = tag_length(text, i, block);
      if (n > 0) out += block ? kBreak : std::string_view(" ");
    } else if (c == '&') {
      bool is_space = false;
      n = entity_length(text, i, is_space);
      if (n > 0) {
        out += is_space ? std::string_view(" ") : kBreak;
      } else if (i + 1 < text.size() && text[i + 1] != ' ' && text[i + 1] != '&') {
        n = 1;  // accelerator mark ("&Open", "ئې&چىش"): drop it, keep the word whole
      }
    } else if (c == '_' && i + 1 < text.size() &&
               (static_cast<unsigned char>(text[i + 1]) >= 0x80 || is_ascii_alpha(text[i + 1])) &&
               (i == 0 || static_cast<unsigned char>(text[i - 1]) >= 0x80 || text[i - 1] == ' ' ||
                text[i - 1] == '(')) {
      n = 1;  // GTK accelerator "_Open"; "file_name" keeps its underscore (and stays a break)
    }
    if (n > 0) {
      i += n;
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

}  // namespace ornav::corpus
