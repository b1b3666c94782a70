// Finds which ports a body of C++ or Objective-C++ source implements, by reading the class
// declarations in it: a class implements a port when it names the port among its public bases.
// Used by the test that keeps the macOS layer and the Linux realisation covering the same ports.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ornav::mac_platform {

struct ClassDeclaration {
  std::string name;                // as written, "RunLoop::RepeatingTimer" included
  std::vector<std::string> bases;  // public bases, without namespaces or template arguments
  bool declaresPureVirtual = false;
  friend bool operator==(const ClassDeclaration&, const ClassDeclaration&) = default;
};

// The class and struct definitions in `source` that have a base list, with comments, string and
// character literals ignored.
std::vector<ClassDeclaration> scanClasses(std::string_view source);

// The ports of the port headers: every class with a pure virtual function. A class there that
// derives from a port stands for that port (a settings store built on a shared base).
struct PortCatalogue {
  std::set<std::string> ports;
  std::map<std::string, std::string> standsFor;
};
PortCatalogue catalogueOf(std::string_view portHeaders);

// The ports that the classes of `source` implement.
std::set<std::string> portsImplemented(const PortCatalogue& catalogue, std::string_view source);

// The text of the realisation's files under `folder` (C++ and Objective-C++ sources and headers,
// recursively), leaving out tests, benchmarks, fuzz targets and the given subfolders.
std::string realisationSources(const std::filesystem::path& folder,
                               const std::vector<std::string>& excludedSubfolders = {});

}  // namespace ornav::mac_platform
