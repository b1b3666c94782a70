// The Info.plist the build configures passes the lint, names icons the bundle carries and comes
// with the input mode's display name; and the lint rejects each kind of fault it looks for.
#include "info_plist_lint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ornav_display_name.h"

namespace ornav::resources {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const fs::path kContents = fs::path(ORNAV_BUNDLE_DIR) / "Contents";

InfoPlistExpectations expectations() {
  return {"com.ornav.inputmethod.Ornavel",
          ORNAV_PROJECT_VERSION,
          std::string(displayName),
          "OrnavInputController",
          "ug",
          "Arab"};
}

std::string configured() {
  return readFile(kContents / "Info.plist");
}

// The configured property list with `from` replaced by `to` (which must occur).
std::string changed(const std::string& from, const std::string& to) {
  std::string text = configured();
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

bool mentions(const std::vector<std::string>& problems, const std::string& part) {
  for (const auto& problem : problems) {
    if (problem.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(InfoPlistLint, ConfiguredPropertyListPasses) {
  const auto problems = lintInfoPlist(configured(), expectations());
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

TEST(InfoPlistLint, EveryNamedIconIsInTheBundle) {
#ifndef ORNAV_HAVE_ICON
  GTEST_SKIP() << "the icon is not rendered in this build";
#endif
  const auto icons = iconFilesOf(configured());
  EXPECT_EQ(icons, (std::vector<std::string>{"AppIcon.icns", "MenuIconTemplate.png"}));
  for (const auto& icon : icons)
    EXPECT_TRUE(fs::is_regular_file(kContents / "Resources" / icon));
}

TEST(InfoPlistLint, TheInputModeHasItsDisplayName) {
  const std::string strings = readFile(kContents / "Resources" / "en.lproj" / "InfoPlist.strings");
  EXPECT_NE(strings.find("\"com.ornav.inputmethod.Ornavel.Uyghur\" = \"" +
                         std::string(displayName) + "\";"),
            std::string::npos)
      << strings;
  EXPECT_EQ(strings.find('@'), std::string::npos);
}

TEST(InfoPlistLint, RejectsMalformedText) {
  const std::string text = configured();
  EXPECT_TRUE(mentions(lintInfoPlist(text.substr(0, text.size() / 2), expectations()),
                       "not a well-formed"));
  EXPECT_TRUE(mentions(lintInfoPlist("", expectations()), "not a well-formed"));
}

TEST(InfoPlistLint, RejectsMissingKeysAndWrongTypes) {
  EXPECT_TRUE(
      mentions(lintInfoPlist(changed("<key>LSUIElement</key>\n\t<true/>", ""), expectations()),
               "LSUIElement: a boolean is required"));
  EXPECT_TRUE(mentions(lintInfoPlist(changed("<key>LSUIElement</key>\n\t<true/>",
                                             "<key>LSUIElement</key><string>1</string>"),
                                     expectations()),
                       "LSUIElement: a boolean is required"));
  EXPECT_TRUE(
      mentions(lintInfoPlist(changed("<key>LSUIElement</key>",
                                     "<key>LSBackgroundOnly</key><true/><key>LSUIElement</key>"),
                             expectations()),
               "LSBackgroundOnly"));
  EXPECT_TRUE(mentions(
      lintInfoPlist(changed("<key>InputMethodServerControllerClass</key>", "<key>Unused</key>"),
                    expectations()),
      "InputMethodServerControllerClass: a non-empty string is required"));
  EXPECT_TRUE(
      mentions(lintInfoPlist(changed("com.ornav.inputmethod.Ornavel_Connection", "com.ornav.Other"),
                             expectations()),
               "InputMethodConnectionName"));
}

TEST(InfoPlistLint, RejectsModesThatDisagree) {
  EXPECT_TRUE(mentions(
      lintInfoPlist(changed("<string>Arab</string>\n\t\t\t\t</array>",
                            "<string>Arab</string><string>Latn</string>\n\t\t\t\t</array>"),
                    expectations()),
      "should not name Latn"));
  EXPECT_TRUE(mentions(
      lintInfoPlist(changed("<array>\n\t\t\t<string>com.ornav.inputmethod.Ornavel.Uyghur</string>",
                            "<array>\n\t\t\t<string>com.ornav.inputmethod.Ornavel.Other</string>"),
                    expectations()),
      "tsVisibleInputModeOrderedArrayKey"));
  EXPECT_TRUE(
      mentions(lintInfoPlist(changed("<string>com.ornav.inputmethod.Ornavel.Uyghur</string>",
                                     "<string>com.ornav.inputmethod.Ornavel.Typo</string>"),
                             expectations()),
               "TISInputSourceID"));
  EXPECT_TRUE(mentions(
      lintInfoPlist(changed("<string>smArabic</string>", "<integer>4</integer>"), expectations()),
      "tsInputModeScriptKey"));
}

TEST(InfoPlistLint, RejectsUnconfiguredValues) {
  EXPECT_TRUE(mentions(lintInfoPlist(changed("<string>" ORNAV_PROJECT_VERSION "</string>",
                                             "<string>@PROJECT_VERSION@</string>"),
                                     expectations()),
                       "unconfigured value: @PROJECT_VERSION@"));
}

}  // namespace
}  // namespace ornav::resources
