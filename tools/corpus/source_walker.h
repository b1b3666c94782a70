// Finds the Uyghur text in the unpacked files of one package and hands every source string to a
// callback. What is read:
//   - translation catalogs (.mo) in a locale/ug* folder
//   - "Key[ug]=" values in key files and "Key[ug]": values in JSON metadata
//   - elements marked xml:lang="ug" in XML (AppStream, polkit, shared-mime ...)
//   - CLDR's main/ug.xml and annotations/ug.xml, and help pages in help/ug*, as plain XML text
//   - the Name/Comment values of key files kept in a locale/ug* folder
//   - message files of web and wiki software named for the language (ug.json, ug-arab.json in
//     i18n folders; CLDR's JSON main/ug/*.json) and JavaScript locale modules (ug.js, ug-cn.js)
// Symbolic links are not followed, so a package cannot point the walk outside its own folder.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace ornav::corpus {

enum class SourceKind {
  kCatalog,
  kKeyFile,
  kJson,
  kXmlLang,
  kCldr,
  kHelp,
  kLocaleKeyFile,
  kMessageFile,
  kScriptLocale,
};
std::string_view source_kind_name(SourceKind kind);

struct WalkStats {
  std::map<SourceKind, uint64_t> files;    // files that gave at least one string, by kind
  std::map<SourceKind, uint64_t> strings;  // strings handed on, by kind
  uint64_t unreadable = 0;                 // files that could not be read or parsed
};

using StringSink = std::function<void(std::string_view text, SourceKind kind)>;

// Walks `package_root` (one unpacked package) for text in `language` ("ug").
WalkStats walk_package(const std::filesystem::path& package_root, std::string_view language,
                       const StringSink& sink);

}  // namespace ornav::corpus
