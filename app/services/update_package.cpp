#include "services/update_package.h"

#include <cctype>

namespace ornav {
namespace {

bool isAllowedNameByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

std::string replaceDisallowedRuns(std::string_view name) {
  std::string out;
  bool inRun = false;
  for (unsigned char c : name) {
    if (isAllowedNameByte(c)) {
      out.push_back(static_cast<char>(c));
      inRun = false;
    } else if (!inRun) {
      out.push_back('-');
      inRun = true;
    }
  }
  return out;
}

bool onlyDots(std::string_view name) {
  return name.find_first_not_of('.') == std::string_view::npos;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      int hi = hexValue(text[i + 1]);
      int lo = hexValue(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

std::string lastPathComponent(std::string_view url) {
  std::string_view rest = url;
  size_t end = rest.find_first_of("?#");
  if (end != std::string_view::npos) rest = rest.substr(0, end);
  size_t scheme = rest.find("://");
  if (scheme != std::string_view::npos) {
    rest = rest.substr(scheme + 3);
    size_t pathStart = rest.find('/');
    rest = pathStart == std::string_view::npos ? std::string_view{} : rest.substr(pathStart);
  }
  while (!rest.empty() && rest.back() == '/')
    rest.remove_suffix(1);
  size_t slash = rest.rfind('/');
  if (slash != std::string_view::npos) rest = rest.substr(slash + 1);
  return percentDecoded(rest);
}

std::string downloadedPackageName(const UpdateInfo& info, std::string_view sourceURL) {
  std::string name = lastPathComponent(sourceURL);
  if (name.empty() || onlyDots(name)) name = "Ornavel-" + info.version + ".pkg";
  name = replaceDisallowedRuns(name);
  if (name.empty() || onlyDots(name)) name = "Ornavel-Update.pkg";
  return name;
}

bool isPlainHttpURL(std::string_view url) {
  if (url.size() < 5) return false;
  static constexpr std::string_view kHttp = "http:";
  for (size_t i = 0; i < kHttp.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(url[i])) != kHttp[i]) return false;
  }
  return true;
}

std::string firstShasumField(std::string_view output) {
  size_t start = output.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  size_t end = output.find(' ', start);
  return std::string(output.substr(start, end == std::string_view::npos ? end : end - start));
}

bool checksumMatches(std::string_view expected, std::string_view computed) {
  if (expected.size() != computed.size()) return false;
  for (size_t i = 0; i < expected.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(expected[i]);
    unsigned char b = static_cast<unsigned char>(computed[i]);
    if (a < 0x80 && b < 0x80 ? std::tolower(a) != std::tolower(b) : a != b) return false;
  }
  return true;
}

std::string shellQuoted(std::string_view path) {
  std::string out = "'";
  for (char c : path) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  out.push_back('\'');
  return out;
}

std::string installerCommand(std::string_view packagePath) {
  return "/usr/sbin/installer -pkg " + shellQuoted(packagePath) + " -target /";
}

std::string appleScriptEscaped(std::string_view text) {
  std::string backslashes;
  for (char c : text) {
    if (c == '\\') backslashes.push_back('\\');
    backslashes.push_back(c);
  }
  std::string out;
  for (char c : backslashes) {
    if (c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

std::string installerScript(std::string_view packagePath) {
  return "do shell script \"" + appleScriptEscaped(installerCommand(packagePath)) +
         "\" with administrator privileges";
}

std::vector<std::string> installerArguments(std::string_view packagePath) {
  return {"-e", installerScript(packagePath)};
}

std::vector<std::string> shasumArguments(std::string_view packagePath) {
  return {"-a", "256", std::string(packagePath)};
}

}  // namespace ornav
