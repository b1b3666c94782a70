#include "platform/mac/port_scan.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>

namespace ornav::mac_platform {

namespace fs = std::filesystem;

namespace {

// Comments and literals become spaces, so nothing inside them is read as a declaration.
std::string withoutCommentsAndLiterals(std::string_view source) {
  std::string out(source);
  std::size_t i = 0;
  while (i < out.size()) {
    if (out.compare(i, 2, "//") == 0) {
      while (i < out.size() && out[i] != '\n')
        out[i++] = ' ';
    } else if (out.compare(i, 2, "/*") == 0) {
      const std::size_t end = out.find("*/", i + 2);
      const std::size_t stop = end == std::string::npos ? out.size() : end + 2;
      for (; i < stop; ++i)
        if (out[i] != '\n') out[i] = ' ';
    } else if (out[i] == '"' || out[i] == '\'') {
      const char quote = out[i];
      // A digit separator (1'000) is not a literal.
      if (quote == '\'' && i > 0 && std::isalnum(static_cast<unsigned char>(out[i - 1]))) {
        ++i;
        continue;
      }
      out[i++] = ' ';
      while (i < out.size() && out[i] != quote && out[i] != '\n') {
        if (out[i] == '\\' && i + 1 < out.size()) out[i++] = ' ';
        out[i++] = ' ';
      }
      if (i < out.size() && out[i] == quote) out[i++] = ' ';
    } else {
      ++i;
    }
  }
  return out;
}

std::string trim(std::string text) {
  const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
  text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
  text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
  return text;
}

// Splits a base list at the commas outside template arguments.
std::vector<std::string> splitBases(const std::string& list) {
  std::vector<std::string> parts;
  int depth = 0;
  std::string current;
  for (char c : list) {
    if (c == '<') ++depth;
    if (c == '>') --depth;
    if (c == ',' && depth == 0) {
      parts.push_back(trim(current));
      current.clear();
    } else {
      current += c;
    }
  }
  parts.push_back(trim(current));
  return parts;
}

// "public ornav::Timer" -> "Timer"; empty for bases that are not public.
std::string publicBaseName(std::string base) {
  static const std::regex access(R"(^(?:virtual\s+)?public\s+(?:virtual\s+)?(.+)$)");
  std::smatch match;
  if (!std::regex_match(base, match, access)) return {};
  std::string name = trim(match[1].str());
  if (const auto angle = name.find('<'); angle != std::string::npos) name.resize(angle);
  if (const auto colons = name.rfind("::"); colons != std::string::npos) {
    name.erase(0, colons + 2);
  }
  return trim(name);
}

// The text between the brace at `open` and its partner.
std::string_view bodyAt(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}' && --depth == 0) return text.substr(open, i - open + 1);
  }
  return text.substr(open);
}

}  // namespace

std::vector<ClassDeclaration> scanClasses(std::string_view source) {
  const std::string text = withoutCommentsAndLiterals(source);
  // `enum class X : int {` has the same shape; its "base" is not public and is dropped below.
  static const std::regex head(
      R"(\b(?:class|struct)\s+([A-Za-z_][\w:]*)\s*(?:final\s*)?:(?!:)\s*([^{};]*)\{)");
  static const std::regex pureVirtual(R"(=\s*0\s*;)");
  std::vector<ClassDeclaration> classes;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), head); it != std::sregex_iterator();
       ++it) {
    ClassDeclaration declaration;
    declaration.name = (*it)[1].str();
    for (const std::string& base : splitBases((*it)[2].str())) {
      if (std::string name = publicBaseName(base); !name.empty()) {
        declaration.bases.push_back(std::move(name));
      }
    }
    if (declaration.bases.empty()) continue;
    const std::size_t open = static_cast<std::size_t>(it->position(0) + it->length(0) - 1);
    const std::string body(bodyAt(text, open));
    declaration.declaresPureVirtual = std::regex_search(body, pureVirtual);
    classes.push_back(std::move(declaration));
  }
  // Classes without a base list are ports when they have pure virtual functions.
  static const std::regex plainHead(R"(\bclass\s+([A-Za-z_]\w*)\s*\{)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), plainHead);
       it != std::sregex_iterator(); ++it) {
    const std::size_t open = static_cast<std::size_t>(it->position(0) + it->length(0) - 1);
    const std::string body(bodyAt(text, open));
    if (std::regex_search(body, pureVirtual)) {
      classes.push_back(ClassDeclaration{(*it)[1].str(), {}, true});
    }
  }
  return classes;
}

PortCatalogue catalogueOf(std::string_view portHeaders) {
  PortCatalogue catalogue;
  const std::vector<ClassDeclaration> classes = scanClasses(portHeaders);
  for (const auto& declaration : classes) {
    if (declaration.declaresPureVirtual && declaration.bases.empty()) {
      catalogue.ports.insert(declaration.name);
    }
  }
  for (const auto& declaration : classes) {
    for (const auto& base : declaration.bases) {
      if (catalogue.ports.count(base) != 0) catalogue.standsFor[declaration.name] = base;
    }
  }
  return catalogue;
}

std::set<std::string> portsImplemented(const PortCatalogue& catalogue, std::string_view source) {
  std::set<std::string> implemented;
  for (const auto& declaration : scanClasses(source)) {
    for (const auto& base : declaration.bases) {
      if (catalogue.ports.count(base) != 0) implemented.insert(base);
      if (auto alias = catalogue.standsFor.find(base); alias != catalogue.standsFor.end()) {
        implemented.insert(alias->second);
      }
    }
  }
  return implemented;
}

std::string realisationSources(const fs::path& folder,
                               const std::vector<std::string>& excludedSubfolders) {
  static const std::set<std::string> extensions = {".h", ".hpp", ".cpp", ".cc", ".mm", ".m"};
  static const std::regex notRealisation(R"(_(test|bench|fuzz)(_support)?\.[a-z]+$)");
  std::vector<fs::path> files;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::path relative = it->path().lexically_relative(folder);
    const std::string first = relative.begin() != relative.end() ? relative.begin()->string() : "";
    if (std::find(excludedSubfolders.begin(), excludedSubfolders.end(), first) !=
        excludedSubfolders.end()) {
      if (it->is_directory()) it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file() || extensions.count(it->path().extension().string()) == 0) continue;
    if (std::regex_search(it->path().filename().string(), notRealisation)) continue;
    files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  std::string text;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    text += content.str();
    text += '\n';
  }
  return text;
}

}  // namespace ornav::mac_platform
