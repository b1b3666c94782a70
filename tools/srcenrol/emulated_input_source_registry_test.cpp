// The emulated registry behaves like the system's list where the tool can see it: what a bundle
// provides is read from its Info.plist, registering again lists again, and every unusable input
// (no bundle, a broken description, a damaged list) has a defined answer.
#include "emulated_input_source_registry.h"

#include <gtest/gtest.h>
#include <plist/plist.h>
#include <stdlib.h>

#include <cstdlib>
#include <string>

#include "enrol.h"
#include "test_prefix.h"

namespace srcenrol {
namespace {

using testing::infoPlist;
using testing::kInstalledInfoPlist;
using testing::kRegistry;
using testing::TestPrefix;

const std::string kInputMethod =
    "<key>CFBundleIdentifier</key><string>com.ornav.inputmethod.Ornavel</string>"
    "<key>InputMethodConnectionName</key><string>com.ornav.inputmethod.Ornavel_Connection</string>";

std::string modes(const std::string& entries) {
  return "<key>ComponentInputModeDict</key><dict><key>tsInputModeListKey</key><dict>" + entries +
         "</dict></dict>";
}

TEST(EmulatedRegistry, MissingBundleIsAParameterErrorAndWritesNothing) {
  TestPrefix prefix;
  EmulatedInputSourceRegistry registry(prefix.path());
  EXPECT_EQ(registry.registerBundle(kBundlePath), -50);
  EXPECT_FALSE(std::filesystem::exists(prefix.path() / kRegistry));
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier), ListedSources{});
}

TEST(EmulatedRegistry, UnusableDescriptionsAreParameterErrors) {
  for (const std::string& contents :
       {std::string(), std::string("not a property list"),
        infoPlist("<key>CFBundleIdentifier</key><string>com.ornav</string"),  // cut short
        infoPlist("<key>CFBundleName</key><string>Ornavel</string>"),         // no identifier
        infoPlist("<key>CFBundleIdentifier</key><integer>7</integer>"),
        infoPlist("<key>CFBundleIdentifier</key><string>com.ornav&#10;x</string>"),
        std::string("<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>")}) {
    TestPrefix prefix;
    prefix.write(kInstalledInfoPlist, contents);
    EmulatedInputSourceRegistry registry(prefix.path());
    EXPECT_EQ(registry.registerBundle(kBundlePath), -50) << contents;
    EXPECT_FALSE(std::filesystem::exists(prefix.path() / kRegistry)) << contents;
  }
}

TEST(EmulatedRegistry, InputMethodThenEachModeInFileOrder) {
  TestPrefix prefix;
  prefix.write(
      kInstalledInfoPlist,
      infoPlist(kInputMethod + modes("<key>z.first</key><dict><key>TISInputSourceID</key>"
                                     "<string>com.ornav.inputmethod.Ornavel.Uyghur</string></dict>"
                                     "<key>a.second</key><dict/>")));
  EmulatedInputSourceRegistry registry(prefix.path());
  ASSERT_EQ(registry.registerBundle(kBundlePath), 0);
  EXPECT_EQ(prefix.read(kRegistry),
            "com.ornav.inputmethod.Ornavel\tcom.ornav.inputmethod.Ornavel\n"
            "com.ornav.inputmethod.Ornavel\tcom.ornav.inputmethod.Ornavel.Uyghur\n"
            "com.ornav.inputmethod.Ornavel\ta.second\n");
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier),
            (ListedSources{"com.ornav.inputmethod.Ornavel", "com.ornav.inputmethod.Ornavel.Uyghur",
                           "a.second"}));
}

TEST(EmulatedRegistry, DeclaredSourceIdentifierOfTheInputMethodIsUsed) {
  TestPrefix prefix;
  prefix.write(kInstalledInfoPlist,
               infoPlist(kInputMethod + "<key>TISInputSourceID</key><string>own.id</string>"));
  EmulatedInputSourceRegistry registry(prefix.path());
  ASSERT_EQ(registry.registerBundle(kBundlePath), 0);
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier), (ListedSources{"own.id"}));
}

TEST(EmulatedRegistry, BinaryPropertyListsAreReadToo) {
  plist_t root = plist_new_dict();
  plist_dict_set_item(root, "CFBundleIdentifier", plist_new_string(kBundleIdentifier));
  plist_dict_set_item(root, "InputMethodConnectionName", plist_new_string("c"));
  char* binary = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &binary, &length);
  plist_free(root);
  ASSERT_NE(binary, nullptr);
  TestPrefix prefix;
  prefix.write(kInstalledInfoPlist, std::string(binary, length));
  plist_to_bin_free(binary);
  EmulatedInputSourceRegistry registry(prefix.path());
  ASSERT_EQ(registry.registerBundle(kBundlePath), 0);
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier), (ListedSources{kBundleIdentifier}));
}

TEST(EmulatedRegistry, BundleWithoutAnInputMethodRegistersNoSource) {
  TestPrefix prefix;
  prefix.write(
      kInstalledInfoPlist,
      infoPlist("<key>CFBundleIdentifier</key><string>com.ornav.inputmethod.Ornavel</string>"));
  EmulatedInputSourceRegistry registry(prefix.path());
  EXPECT_EQ(registry.registerBundle(kBundlePath), 0);
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier), ListedSources{});
}

TEST(EmulatedRegistry, RegisteringAgainListsEverySourceAgain) {
  TestPrefix prefix;
  prefix.write(kInstalledInfoPlist, infoPlist(kInputMethod));
  EmulatedInputSourceRegistry registry(prefix.path());
  ASSERT_EQ(registry.registerBundle(kBundlePath), 0);
  ASSERT_EQ(registry.registerBundle(kBundlePath), 0);
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier),
            (ListedSources{kBundleIdentifier, kBundleIdentifier}));
}

TEST(EmulatedRegistry, ListingKeepsOtherBundlesOutAndReadsDamagedLinesSafely) {
  TestPrefix prefix;
  prefix.write(kRegistry,
               "com.other\tcom.other.mode\n"
               "garbage without a tab\n"
               "com.ornav.inputmethod.Ornavel\t\n"
               "com.ornav.inputmethod.Ornavel.Extra\tx\n"
               "com.ornav.inputmethod.Ornavel\tcom.ornav.inputmethod.Ornavel.Uyghur");
  EmulatedInputSourceRegistry registry(prefix.path());
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier),
            (ListedSources{std::nullopt, "com.ornav.inputmethod.Ornavel.Uyghur"}));

  // A list that ends without a line feed gets its next entry on a line of its own.
  prefix.write(kInstalledInfoPlist, infoPlist(kInputMethod));
  ASSERT_EQ(registry.registerBundle(kBundlePath), 0);
  EXPECT_EQ(
      registry.sourcesOfBundle(kBundleIdentifier),
      (ListedSources{std::nullopt, "com.ornav.inputmethod.Ornavel.Uyghur", kBundleIdentifier}));
  EXPECT_EQ(registry.sourcesOfBundle("com.other"), (ListedSources{"com.other.mode"}));
}

TEST(EmulatedRegistry, UnwritableListIsAnIoErrorAndUnreadableListGivesNoList) {
  TestPrefix prefix;
  prefix.write(kInstalledInfoPlist, infoPlist(kInputMethod));
  std::filesystem::create_directories(prefix.path() / kRegistry);  // a folder where the file goes
  EmulatedInputSourceRegistry registry(prefix.path());
  EXPECT_EQ(registry.registerBundle(kBundlePath), -36);
  EXPECT_EQ(registry.sourcesOfBundle(kBundleIdentifier), std::nullopt);
}

TEST(EmulatedRegistry, DefaultPrefixComesFromTheEnvironment) {
  const char* savedPrefix = std::getenv("ORNAV_PREFIX");
  const char* savedData = std::getenv("XDG_DATA_HOME");
  const char* savedHome = std::getenv("HOME");
  const std::string prefixValue = savedPrefix != nullptr ? savedPrefix : "";
  const std::string dataValue = savedData != nullptr ? savedData : "";
  const std::string homeValue = savedHome != nullptr ? savedHome : "";

  ::setenv("ORNAV_PREFIX", "/opt/mac-root", 1);
  EXPECT_EQ(EmulatedInputSourceRegistry::defaultPrefix(), "/opt/mac-root");
  ::setenv("ORNAV_PREFIX", "", 1);
  ::setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(EmulatedInputSourceRegistry::defaultPrefix(), "/data/ornav-prefix");
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(EmulatedInputSourceRegistry::defaultPrefix(), "/home/u/.local/share/ornav-prefix");

  const auto restore = [](const char* name, const char* saved, const std::string& value) {
    if (saved != nullptr) {
      ::setenv(name, value.c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  };
  restore("ORNAV_PREFIX", savedPrefix, prefixValue);
  restore("XDG_DATA_HOME", savedData, dataValue);
  restore("HOME", savedHome, homeValue);
}

}  // namespace
}  // namespace srcenrol
