// The macOS layer realises every port that the Linux realisation does, and no port that it does
// not: a port implemented on one side only means a program that works on one platform and not on
// the other. The scanner that finds the implemented ports is tested on its own first.
#include "platform/mac/port_scan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ornav::mac_platform {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = ORNAV_SOURCE_DIR;

std::string portHeaders() {
  std::string text;
  for (const auto& entry : fs::directory_iterator(kSource / "app" / "ports")) {
    if (entry.path().extension() != ".h") continue;
    std::ifstream in(entry.path());
    std::ostringstream content;
    content << in.rdbuf();
    text += content.str();
  }
  return text;
}

std::string listed(const std::set<std::string>& names) {
  std::string text;
  for (const auto& name : names)
    text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::set<std::string> without(const std::set<std::string>& all, const std::set<std::string>& cut) {
  std::set<std::string> rest;
  for (const auto& name : all)
    if (cut.count(name) == 0) rest.insert(name);
  return rest;
}

TEST(ScanClasses, FindsPublicBasesWhateverTheSpelling) {
  const auto classes = scanClasses(R"(
    class A final : public ornav::Timer {};
    struct B : public MainQueue, private Hidden, public virtual Clock { void f(); };
    class RunLoop::Repeating : public Timer<int, std::pair<int, int>> {
      void invalidate() override;
    };
    class C: public Settings{};
  )");
  ASSERT_EQ(classes.size(), 4u);
  EXPECT_EQ(classes[0], (ClassDeclaration{"A", {"Timer"}, false}));
  EXPECT_EQ(classes[1], (ClassDeclaration{"B", {"MainQueue", "Clock"}, false}));
  EXPECT_EQ(classes[2], (ClassDeclaration{"RunLoop::Repeating", {"Timer"}, false}));
  EXPECT_EQ(classes[3], (ClassDeclaration{"C", {"Settings"}, false}));
}

TEST(ScanClasses, IgnoresCommentsLiteralsAndEnumerations) {
  const auto classes = scanClasses(R"(
    // class Old : public Alerts {};
    /* class Older : public Screens {}; */
    const char* text = "class Quoted : public UrlOpener {";
    enum class Role : int { a = 1'000 };
    @class NSPanel;
    class Real : public InputMenu { virtual void show() = 0; };
  )");
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0], (ClassDeclaration{"Real", {"InputMenu"}, true}));
}

TEST(CatalogueOf, PortsAreClassesWithPureVirtualsAndDerivedOnesStandForThem) {
  const PortCatalogue catalogue = catalogueOf(R"(
    class Settings { public: virtual bool get() const = 0; };
    class SettingsOverMap : public Settings { protected: virtual void load() = 0; };
    class Clock { public: virtual long now() const = 0; double seconds() const { return 0; } };
    struct Value { int x = 0; };
    class Helper { public: void help(); };
  )");
  EXPECT_EQ(catalogue.ports, (std::set<std::string>{"Clock", "Settings"}));
  EXPECT_EQ(catalogue.standsFor,
            (std::map<std::string, std::string>{{"SettingsOverMap", "Settings"}}));
  EXPECT_EQ(portsImplemented(catalogue, R"(
    class FileSettings : public SettingsOverMap {};
    class Wall final : public ornav::Clock {};
    class Other : public Helper {};
  )"),
            (std::set<std::string>{"Clock", "Settings"}));
}

TEST(RealisationSources, LeavesOutTestsAndExcludedFolders) {
  const fs::path root = fs::temp_directory_path() / "ornav-port-scan-test";
  fs::remove_all(root);
  fs::create_directories(root / "qt");
  fs::create_directories(root / "compile_check");
  std::ofstream(root / "real.mm") << "class A : public Alerts {};";
  std::ofstream(root / "qt" / "window.cpp") << "class B : public Screens {};";
  std::ofstream(root / "real_test.cpp") << "class C : public Clock {};";
  std::ofstream(root / "compile_check" / "bad.mm") << "class D : public Timer {};";
  std::ofstream(root / "notes.txt") << "class E : public UrlOpener {};";
  const std::string text = realisationSources(root, {"compile_check"});
  fs::remove_all(root);
  EXPECT_NE(text.find("public Alerts"), std::string::npos);
  EXPECT_NE(text.find("public Screens"), std::string::npos);
  EXPECT_EQ(text.find("public Clock"), std::string::npos);
  EXPECT_EQ(text.find("public Timer"), std::string::npos);
  EXPECT_EQ(text.find("public UrlOpener"), std::string::npos);
}

class PortCoverage : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue = catalogueOf(portHeaders());
    linuxPorts = portsImplemented(catalogue, realisationSources(kSource / "platform" / "linux"));
    macPorts = portsImplemented(catalogue, realisationSources(kSource / "platform" / "mac",
                                                              {"compile_check", "sdk-decls"}));
  }
  PortCatalogue catalogue;
  std::set<std::string> linuxPorts;
  std::set<std::string> macPorts;
};

TEST_F(PortCoverage, TheScannerSeesThePortsAndBothRealisations) {
  // A scanner that found nothing would make the comparisons below pass vacuously.
  for (const char* port : {"Settings", "MainQueue", "Timer", "HttpSession", "PanelWindow",
                           "DialogWindow", "TextClient"}) {
    EXPECT_EQ(catalogue.ports.count(port), 1u) << port;
  }
  EXPECT_EQ(catalogue.standsFor.at("SettingsOverMap"), "Settings");
  EXPECT_GE(linuxPorts.size(), 10u) << listed(linuxPorts);
  EXPECT_GE(macPorts.size(), 10u) << listed(macPorts);
}

TEST_F(PortCoverage, TheMacLayerRealisesEveryPortTheLinuxRealisationDoes) {
  const auto missing = without(linuxPorts, macPorts);
  EXPECT_TRUE(missing.empty()) << "realised on Linux but not in platform/mac: " << listed(missing);
}

TEST_F(PortCoverage, TheLinuxRealisationRealisesEveryPortTheMacLayerDoes) {
  const auto missing = without(macPorts, linuxPorts);
  // The window ports of Linux come with the Qt host; until its folder exists there is nothing to
  // compare them with.
  if (!fs::exists(kSource / "platform" / "linux" / "qt")) {
    GTEST_SKIP() << "platform/linux/qt does not exist yet; realised in platform/mac only: "
                 << listed(missing);
  }
  EXPECT_TRUE(missing.empty()) << "realised in platform/mac but not on Linux: " << listed(missing);
}

}  // namespace
}  // namespace ornav::mac_platform
