#include "platform/linux/directory_bundle.h"

#include <gtest/gtest.h>

#include <plist/plist.h>

#include <cstdlib>

#include "base/temporary_folder.h"
#include "platform/linux/info_plist.h"
#include "platform/linux/system_services.h"

namespace ornav::linux_platform {
namespace {

const char* kInfoPlist = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <!-- identity -->
  <key>CFBundleIdentifier</key>
  <string>com.ornav.inputmethod.Ornavel</string>
  <key>CFBundleShortVersionString</key>
  <string>1.2.3</string>
  <key>CFBundleVersion</key>
  <string>45</string>
  <key>InputMethodConnectionName</key>
  <string>com.ornav.inputmethod.Ornavel_Connection</string>
  <key>ComponentInputModeDict</key>
  <dict>
    <key>tsInputModeListKey</key>
    <dict><key>mode</key><array><string>a</string><integer>1</integer></array></dict>
  </dict>
  <key>LSBackgroundOnly</key>
  <true/>
  <key>LSUIElement</key>
  <false/>
  <key>Count</key>
  <integer>-12</integer>
  <key>Scale</key>
  <real>1.5</real>
  <key>Escaped</key>
  <string>a &amp; b &lt;c&gt; &#x627;&#1740;</string>
  <key>Empty</key>
  <string/>
  <key>Languages</key>
  <array/>
</dict>
</plist>
)";

TEST(InfoPlistTest, ReadsTopLevelScalarsAndSkipsContainers) {
  auto info = parseInfoPlist(kInfoPlist);
  ASSERT_TRUE(info.has_value());
  auto string = [&](const char* key) { return std::get<std::string>(info->at(key)); };
  EXPECT_EQ(string("CFBundleIdentifier"), "com.ornav.inputmethod.Ornavel");
  EXPECT_EQ(string("CFBundleShortVersionString"), "1.2.3");
  EXPECT_EQ(string("InputMethodConnectionName"), "com.ornav.inputmethod.Ornavel_Connection");
  EXPECT_EQ(string("Escaped"), "a & b <c> \xD8\xA7\xDB\x8C");
  EXPECT_EQ(string("Empty"), "");
  EXPECT_EQ(std::get<bool>(info->at("LSBackgroundOnly")), true);
  EXPECT_EQ(std::get<bool>(info->at("LSUIElement")), false);
  EXPECT_EQ(std::get<std::int64_t>(info->at("Count")), -12);
  EXPECT_EQ(std::get<double>(info->at("Scale")), 1.5);
  EXPECT_EQ(info->count("ComponentInputModeDict"), 0u);
  EXPECT_EQ(info->count("Languages"), 0u);
}

TEST(InfoPlistTest, MalformedDocumentsGiveNothing) {
  for (const std::string xml : {
           "",
           "<plist><dict><key>a</key><string>b</dict></plist>",  // unclosed string
           "<plist><dict><key>a</key><string>&bogus;</string></dict></plist>",
           "<plist><dict><key>a</key><string>&#0;</string></dict></plist>",
           "<plist><dict><key>a</key><array><string>x</string></dict></plist>",
           "<plist><array/></plist>",
           "<plist><dict/></plist>trailing",
           "<plist><dict><string>no key</string></dict></plist>",
           "not a property list at all",
       }) {
    EXPECT_EQ(parseInfoPlist(xml), std::nullopt) << xml;
  }
  EXPECT_EQ(parseInfoPlist("<plist><dict/></plist>"), InfoDictionary{});
}

// Shapes the property-list library reads leniently: what matters is that nothing is invented
// beyond what the document says and that hostile depth is no danger.
TEST(InfoPlistTest, LenientShapesStaySafe) {
  EXPECT_EQ(parseInfoPlist("<plist><dict><key>a</key><string>b</string></dict>"),
            (InfoDictionary{{"a", std::string("b")}}));  // no </plist>
  EXPECT_EQ(parseInfoPlist("<plist><dict><key>a</key></dict></plist>"), InfoDictionary{});
  std::string deep = "<plist><dict><key>a</key>";
  for (int i = 0; i < 100000; ++i)
    deep += "<array>";
  for (int i = 0; i < 100000; ++i)
    deep += "</array>";
  deep += "</dict></plist>";
  EXPECT_EQ(parseInfoPlist(deep), InfoDictionary{});  // the nested value is no scalar
}

TEST(InfoPlistTest, ReadsBinaryPropertyLists) {
  plist_t dict = plist_new_dict();
  plist_dict_set_item(dict, "CFBundleIdentifier",
                      plist_new_string("com.ornav.inputmethod.Ornavel"));
  plist_dict_set_item(dict, "LSUIElement", plist_new_bool(1));
  plist_dict_set_item(dict, "Count", plist_new_uint(7));
  char* bytes = nullptr;
  uint32_t length = 0;
  plist_to_bin(dict, &bytes, &length);
  plist_free(dict);
  ASSERT_NE(bytes, nullptr);
  const std::string binary(bytes, length);
  std::free(bytes);
  EXPECT_EQ(parseInfoPlist(binary),
            (InfoDictionary{{"CFBundleIdentifier", std::string("com.ornav.inputmethod.Ornavel")},
                            {"LSUIElement", true},
                            {"Count", std::int64_t{7}}}));
}

TEST(DirectoryBundleTest, ReadsInfoAndFindsResourcesInsideTheBundleOnly) {
  TemporaryFolder dir;
  dir.write("Ornavel.app/Contents/Info.plist", kInfoPlist);
  dir.write("Ornavel.app/Contents/Resources/keymap.json", "{}");
  dir.write("Ornavel.app/Contents/Resources/dict/unigram.fst", "x");
  dir.write("secret.txt", "outside");
  DirectoryBundle bundle(dir / "Ornavel.app");
  EXPECT_TRUE(bundle.hasInfo());
  EXPECT_EQ(bundle.identifier(), "com.ornav.inputmethod.Ornavel");
  EXPECT_EQ(bundle.shortVersion(), "1.2.3");
  EXPECT_EQ(bundle.buildVersion(), "45");
  EXPECT_EQ(bundle.infoString("LSBackgroundOnly"), std::nullopt);  // a bool, not a string
  EXPECT_EQ(bundle.resourcePath(), dir / "Ornavel.app/Contents/Resources");
  EXPECT_EQ(bundle.pathForResource("keymap", "json"),
            dir / "Ornavel.app/Contents/Resources/keymap.json");
  EXPECT_EQ(bundle.pathForResource("dict", ""), dir / "Ornavel.app/Contents/Resources/dict");
  EXPECT_EQ(bundle.pathForResource("ornav", "ttf"), std::nullopt);
  EXPECT_EQ(bundle.pathForResource("../../../secret", "txt"), std::nullopt);
  EXPECT_EQ(bundle.pathForResource((dir / "secret").string(), "txt"), std::nullopt);
}

TEST(DirectoryBundleTest, MissingOrBrokenInfoLeavesValuesAbsent) {
  TemporaryFolder dir;
  DirectoryBundle missing(dir / "Nothing.app");
  EXPECT_FALSE(missing.hasInfo());
  EXPECT_EQ(missing.identifier(), std::nullopt);
  dir.write("Broken.app/Contents/Info.plist", "<plist><dict><key>CFBundleIdentifier</key>");
  DirectoryBundle broken(dir / "Broken.app");
  EXPECT_FALSE(broken.hasInfo());
  EXPECT_EQ(broken.shortVersion(), std::nullopt);
}

TEST(SystemServicesTest, VersionTriples) {
  EXPECT_EQ(versionTriple("6.1.0-13-amd64"), "6.1.0");
  EXPECT_EQ(versionTriple("5.10"), "5.10.0");
  EXPECT_EQ(versionTriple("4.19.260+x"), "4.19.260");
  EXPECT_EQ(versionTriple("weird"), "0.0.0");
  ProcessSystemInfo info;
  EXPECT_EQ(info.osVersion().find_first_not_of("0123456789."), std::string::npos);
  EXPECT_FALSE(info.processName().empty());
}

TEST(SystemServicesTest, FoldersFollowXdgAndIgnoreRelativeValues) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  };
  std::vector<Saved> saved;
  for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
    const char* v = std::getenv(name);
    saved.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
  }
  ::setenv("HOME", "/home/u", 1);
  ::setenv("XDG_DATA_HOME", "/data", 1);
  ::setenv("XDG_CACHE_HOME", "relative", 1);
  ::unsetenv("TMPDIR");
  UserFolders folders;
  EXPECT_EQ(folders.home(), "/home/u");
  EXPECT_EQ(folders.applicationSupport(), "/data");
  EXPECT_EQ(folders.caches(), "/home/u/.cache");
  EXPECT_EQ(folders.temporary(), "/tmp");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(folders.applicationSupport(), "/home/u/.local/share");
  for (const auto& s : saved) {
    if (s.value) {
      ::setenv(s.name, s.value->c_str(), 1);
    } else {
      ::unsetenv(s.name);
    }
  }
}

}  // namespace
}  // namespace ornav::linux_platform
