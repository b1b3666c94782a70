// The bundle the build assembles is what the application reads at run time: its Info.plist names
// the same identifier and connection as the process, and every resource is found by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ornav_display_name.h"
#include "platform/linux/directory_bundle.h"

namespace ornav {
namespace {

namespace fs = std::filesystem;

TEST(AssembledBundle, InfoPlistDescribesTheInputMethod) {
  const linux_platform::DirectoryBundle bundle(ORNAV_BUNDLE_DIR);
  ASSERT_TRUE(bundle.hasInfo()) << ORNAV_BUNDLE_DIR;
  EXPECT_EQ(bundle.identifier(), "com.ornav.inputmethod.Ornavel");
  EXPECT_EQ(bundle.shortVersion(), ORNAV_PROJECT_VERSION);
  EXPECT_EQ(bundle.infoString("InputMethodConnectionName"),
            "com.ornav.inputmethod.Ornavel_Connection");
  EXPECT_EQ(bundle.infoString("InputMethodServerControllerClass"), "OrnavInputController");
  EXPECT_EQ(bundle.infoString("CFBundleDisplayName"), std::string(displayName));
}

TEST(AssembledBundle, ResourcesAreFoundByName) {
  const linux_platform::DirectoryBundle bundle(ORNAV_BUNDLE_DIR);
  const auto keymap = bundle.pathForResource("keymap", "json");
  ASSERT_TRUE(keymap.has_value());
  std::ifstream in(*keymap);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("\"map\""), std::string::npos);
  EXPECT_TRUE(bundle.pathForResource("ornav", "ttf").has_value());
  EXPECT_TRUE(fs::is_regular_file(bundle.resourcePath() / "dict" / "unigram.fst"));
  EXPECT_TRUE(fs::is_regular_file(bundle.resourcePath() / "dict" / "bigram.fst"));
  EXPECT_TRUE(fs::is_regular_file(fs::path(ORNAV_BUNDLE_DIR) / "Contents" / "Frameworks" /
                                  "libornav_engine.so"));
}

}  // namespace
}  // namespace ornav
