#include "source_walker.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "base/files.h"
#include "keyfile_reader.h"
#include "message_reader.h"
#include "mo_reader.h"
#include "xml_reader.h"

namespace ornav::corpus {
namespace fs = std::filesystem;
namespace {

constexpr uintmax_t kMaxFileSize = 16u << 20;  // no text source in these packages comes near

bool skipped_extension(std::string ext) {
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  static constexpr std::array<std::string_view, 34> kBinary = {
      ".png", ".jpg",         ".jpeg", ".gif",    ".svgz", ".ico", ".xpm", ".bmp",  ".webp",
      ".ogg", ".oga",         ".wav",  ".mp3",    ".flac", ".so",  ".a",   ".gz",   ".bz2",
      ".xz",  ".zst",         ".zip",  ".jar",    ".ttf",  ".otf", ".pcf", ".woff", ".qm",
      ".pyc", ".traineddata", ".db",   ".sqlite", ".bin",  ".po",  ".pot"};
  return std::find(kBinary.begin(), kBinary.end(), ext) != kBinary.end();
}

// Where a path sits: in a locale/<tag> or help/<tag> folder, and whether that tag is ours.
struct Placement {
  bool in_locale = false;
  bool in_our_locale = false;
  bool in_help = false;
  bool in_our_help = false;
};

Placement place(const fs::path& relative, std::string_view language) {
  Placement p;
  std::vector<std::string> parts;
  for (const auto& part : relative)
    parts.push_back(part.string());
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    bool ours = is_locale_tag(parts[i + 1], language);
    if (parts[i] == "locale" || parts[i] == "locale-langpack") {
      p.in_locale = true;
      p.in_our_locale = p.in_our_locale || ours;
    } else if (parts[i] == "help") {
      p.in_help = true;
      p.in_our_help = p.in_our_help || ours;
    }
  }
  return p;
}

bool ends_with(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// Key files stored inside locale/ug*: their unbracketed values are already in our language.
std::vector<std::string> read_locale_keyfile(std::string_view text) {
  std::vector<std::string> out;
  for_each_assignment(text, [&](std::string_view rawKey, std::string_view value) {
    std::string key(rawKey);
    key.erase(std::remove_if(key.begin(), key.end(), [](char c) { return c == ' ' || c == '\t'; }),
              key.end());
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (key != "name" && key != "comment" && key != "genericname" && key != "keywords" &&
        key != "summary" && key != "description") {
      return;
    }
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
      value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
      value.remove_suffix(1);
    if (!value.empty()) out.emplace_back(value);
  });
  return out;
}

}  // namespace

std::string_view source_kind_name(SourceKind kind) {
  switch (kind) {
    case SourceKind::kCatalog:
      return "translation catalogs (.mo)";
    case SourceKind::kKeyFile:
      return "key files (Name[ug]= ...)";
    case SourceKind::kJson:
      return "JSON metadata (\"Name[ug]\": ...)";
    case SourceKind::kXmlLang:
      return "XML elements with xml:lang=\"ug\"";
    case SourceKind::kCldr:
      return "CLDR locale data";
    case SourceKind::kHelp:
      return "help pages";
    case SourceKind::kLocaleKeyFile:
      return "key files in locale/ug";
    case SourceKind::kMessageFile:
      return "message files (ug.json, ug-arab.json)";
    case SourceKind::kScriptLocale:
      return "JavaScript locale modules (ug.js)";
  }
  return "other";
}

WalkStats walk_package(const fs::path& package_root, std::string_view language,
                       const StringSink& sink) {
  WalkStats stats;
  std::error_code ec;
  std::vector<fs::path> files;
  fs::recursive_directory_iterator it(package_root, fs::directory_options::skip_permission_denied,
                                      ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code type_ec;
    if (it->is_regular_file(type_ec) && !it->is_symlink(type_ec)) files.push_back(it->path());
  }
  // A stable order keeps "first seen in" attributions the same from run to run.
  std::sort(files.begin(), files.end());

  auto emit = [&](const std::vector<std::string>& strings, SourceKind kind) {
    if (strings.empty()) return;
    ++stats.files[kind];
    stats.strings[kind] += strings.size();
    for (const auto& s : strings)
      sink(s, kind);
  };

  for (const fs::path& path : files) {
    fs::path relative = path.lexically_relative(package_root);
    std::string ext = path.extension().string();
    std::string rel = relative.generic_string();
    Placement where = place(relative, language);
    if ((where.in_locale && !where.in_our_locale) || (where.in_help && !where.in_our_help)) {
      continue;
    }
    std::error_code size_ec;
    uintmax_t size = fs::file_size(path, size_ec);
    if (size_ec || size > kMaxFileSize) continue;

    bool is_catalog = ext == ".mo" && where.in_our_locale;
    bool is_cldr = ends_with(rel, "cldr/common/main/" + std::string(language) + ".xml") ||
                   ends_with(rel, "cldr/common/annotations/" + std::string(language) + ".xml");
    bool is_help = where.in_our_help && (ext == ".page" || ext == ".xml" || ext == ".docbook");
    // Files named for the language: "ug-arab.json", "ug.umd.js" (the name up to its first dot).
    const std::string name = path.filename().string();
    const bool named_ours = is_locale_tag(name.substr(0, name.find('.')), language);
    const std::string parent = path.parent_path().filename().string();
    const bool is_cldr_json = ext == ".json" && is_locale_tag(parent, language) &&
                              path.parent_path().parent_path().filename() == "main";
    const bool is_message_file = ext == ".json" && named_ours;
    const bool is_script_locale = ext == ".js" && named_ours;
    if (!is_catalog && !is_cldr && !is_help && skipped_extension(ext)) continue;

    auto bytes = ornav::readWholeFile(path);
    if (!bytes) {
      ++stats.unreadable;
      continue;
    }
    if (bytes->starts_with("\x7f"
                           "ELF"))
      continue;
    if (is_catalog) {
      auto strings = read_mo_translations(*bytes);
      if (!strings) {
        ++stats.unreadable;
        continue;
      }
      emit(*strings, SourceKind::kCatalog);
      continue;
    }
    if (is_cldr) {
      emit(read_xml_text(*bytes), SourceKind::kCldr);
      continue;
    }
    if (is_cldr_json || is_message_file) {
      auto strings = read_json_strings(*bytes);
      if (!strings) {
        ++stats.unreadable;
        continue;
      }
      if (is_message_file) {
        for (auto& s : *strings)
          s = wiki_message_text(s);
      }
      emit(*strings, is_cldr_json ? SourceKind::kCldr : SourceKind::kMessageFile);
      continue;
    }
    if (is_script_locale) {
      emit(read_script_strings(*bytes), SourceKind::kScriptLocale);
      continue;
    }
    if (is_help) {
      emit(read_xml_text(*bytes), SourceKind::kHelp);
      continue;
    }
    if (where.in_our_locale && (ext == ".desktop" || ext == ".linfo")) {
      emit(read_locale_keyfile(*bytes), SourceKind::kLocaleKeyFile);
      continue;
    }
    std::string bracketed = "[" + std::string(language);
    if (bytes->find(bracketed) != std::string::npos) {
      if (ext == ".json" || (!bytes->empty() && bytes->front() == '{')) {
        emit(read_json_values(*bytes, language), SourceKind::kJson);
      } else {
        emit(read_keyfile_values(*bytes, language), SourceKind::kKeyFile);
      }
    }
    std::string lang_attr = "xml:lang=\"" + std::string(language);
    std::string lang_attr_single = "xml:lang='" + std::string(language);
    if (bytes->find(lang_attr) != std::string::npos ||
        bytes->find(lang_attr_single) != std::string::npos) {
      emit(read_xml_lang_text(*bytes, language), SourceKind::kXmlLang);
    }
  }
  return stats;
}

}  // namespace ornav::corpus
