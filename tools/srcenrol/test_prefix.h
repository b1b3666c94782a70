// A fresh directory under the system's temporary folder, removed with everything in it when the
// test ends; it stands for the root of a Mac's disk in the registry tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace srcenrol::testing {

class TestPrefix {
 public:
  TestPrefix() {
    std::string pattern = (std::filesystem::temp_directory_path() / "srcenrol-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TestPrefix() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
  }
  TestPrefix(const TestPrefix&) = delete;
  TestPrefix& operator=(const TestPrefix&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes `contents` to `relative` under the prefix, creating the folders on the way.
  void write(const std::filesystem::path& relative, const std::string& contents) const {
    const auto target = path_ / relative;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << contents;
  }

  std::string read(const std::filesystem::path& relative) const {
    std::ifstream in(path_ / relative, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

inline constexpr char kInstalledInfoPlist[] =
    "Library/Input Methods/Ornavel.app/Contents/Info.plist";
inline constexpr char kRegistry[] = "Library/InputSources.registry";

// An XML property list around `body` (the members of the top-level dictionary).
inline std::string infoPlist(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\"><dict>" +
         body + "</dict></plist>\n";
}

}  // namespace srcenrol::testing
