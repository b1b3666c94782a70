#include "source_walker.h"

#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/temporary_folder.h"
#include "mo_test_support.h"

namespace ornav::corpus {
namespace {

namespace fs = std::filesystem;
using ::testing::UnorderedElementsAre;

class SourceWalkerTest : public ::testing::Test {
 protected:
  void write(const std::string& relative, const std::string& bytes) {
    temp_.write("pkg/" + relative, bytes);
  }

  std::vector<std::pair<std::string, SourceKind>> walk(WalkStats* stats = nullptr) {
    std::vector<std::pair<std::string, SourceKind>> got;
    WalkStats s = walk_package(root_ / "pkg", "ug", [&](std::string_view text, SourceKind kind) {
      got.emplace_back(std::string(text), kind);
    });
    if (stats) *stats = s;
    return got;
  }

  ornav::TemporaryFolder temp_;
  const fs::path& root_ = temp_.path();
};

using Got = std::pair<std::string, SourceKind>;

TEST_F(SourceWalkerTest, FindsEveryKindOfSource) {
  write("usr/share/locale/ug/LC_MESSAGES/app.mo", testing::make_mo({{"Open", "ئېچىش"}}));
  write("usr/share/applications/app.desktop", "[Desktop Entry]\nName=App\nName[ug]=پروگرامما\n");
  write("usr/share/kservices5/plugin.json", "{\"Name[ug]\": \"قىستۇرما\"}");
  write("usr/share/metainfo/app.appdata.xml",
        "<component><name>App</name><name xml:lang=\"ug\">ئەپ</name></component>");
  write("usr/share/unicode/cldr/common/main/ug.xml", "<ldml><language>ئۇيغۇرچە</language></ldml>");
  write("usr/share/help/ug/app/index.page", "<page><title>ياردەم</title></page>");
  write("usr/share/locale/ug/entry.desktop", "[KCM Locale]\nName=ئۇيغۇرچە\nName[de]=Uigurisch\n");
  WalkStats stats;
  EXPECT_THAT(walk(&stats),
              UnorderedElementsAre(
                  Got{"ئېچىش", SourceKind::kCatalog}, Got{"پروگرامما", SourceKind::kKeyFile},
                  Got{"قىستۇرما", SourceKind::kJson}, Got{"ئەپ", SourceKind::kXmlLang},
                  Got{"ئۇيغۇرچە", SourceKind::kCldr}, Got{"ياردەم", SourceKind::kHelp},
                  Got{"ئۇيغۇرچە", SourceKind::kLocaleKeyFile}));
  EXPECT_EQ(stats.files.at(SourceKind::kCatalog), 1u);
  EXPECT_EQ(stats.unreadable, 0u);
}

TEST_F(SourceWalkerTest, OtherLanguagesAndBinariesAreLeftAlone) {
  write("usr/share/locale/uk/LC_MESSAGES/app.mo", testing::make_mo({{"Open", "Відкрити"}}));
  write("usr/share/locale/uz/app.desktop", "Name=Ochish\n");
  write("usr/share/help/de/app/index.page", "<page><title>Hilfe</title></page>");
  write("usr/share/unicode/cldr/common/main/uk.xml", "<ldml><language>x</language></ldml>");
  write("usr/share/unicode/cldr/common/collation/ug.xml", "<ldml><x>ئا</x></ldml>");
  write("usr/share/icons/a.png", "Name[ug]=not text");
  write("usr/lib/plugin.data", std::string("\x7f"
                                           "ELF Name[ug]=x\n",
                                           17));
  EXPECT_TRUE(walk().empty());
}

TEST_F(SourceWalkerTest, ReadsMessageFilesAndLocaleModulesOfWebSoftware) {
  write("usr/share/mediawiki/languages/i18n/ug-arab.json",
        R"({"@metadata": {"authors": ["ئاپتور"]}, "edit": "تەھرىرلەش $1 {{PLURAL:$2|بەت}}"})");
  write("usr/share/mediawiki/languages/i18n/fr.json", R"({"edit": "Modifier"})");
  write("usr/share/mediawiki/extensions/X/i18n/ug.json", "{not json");
  write("package/main/ug/languages.json", R"({"main": {"ug": {"names": ["ئۇيغۇرچە"]}}})");
  write("package/main/uk/languages.json", R"({"main": {"uk": {"names": ["x"]}}})");
  write("package/dist/translations/ug.js", R"(export default {"Bold": "\u062a\u0648"};)");
  write("package/dist/translations/ug.d.ts", "declare const x: 'ئاتا';");
  write("package/langs/de.js", "x('Fett')");
  write("resources/lib/moment/locale/ug-cn.js", "months: 'يانۋار_فېۋرال'.split('_')");
  WalkStats stats;
  EXPECT_THAT(
      walk(&stats),
      UnorderedElementsAre(
          Got{"تەھرىرلەش \uFFFC بەت", SourceKind::kMessageFile}, Got{"ئۇيغۇرچە", SourceKind::kCldr},
          Got{"Bold", SourceKind::kScriptLocale}, Got{"تو", SourceKind::kScriptLocale},
          Got{"يانۋار_فېۋرال", SourceKind::kScriptLocale}, Got{"_", SourceKind::kScriptLocale}));
  EXPECT_EQ(stats.unreadable, 1u);  // the message file that is not JSON
}

TEST_F(SourceWalkerTest, CorruptCatalogIsCountedAndSkipped) {
  write("usr/share/locale/ug/LC_MESSAGES/bad.mo", "garbage");
  write("usr/share/locale/ug_CN/LC_MESSAGES/good.mo", testing::make_mo({{"Yes", "ھەئە"}}));
  WalkStats stats;
  EXPECT_THAT(walk(&stats), UnorderedElementsAre(Got{"ھەئە", SourceKind::kCatalog}));
  EXPECT_EQ(stats.unreadable, 1u);
}

TEST_F(SourceWalkerTest, SymbolicLinksAreNotFollowed) {
  fs::create_directories(root_ / "outside");
  std::ofstream(root_ / "outside" / "a.desktop") << "Name[ug]=سىرتتا\n";
  fs::create_directories(root_ / "pkg");
  fs::create_directory_symlink(root_ / "outside", root_ / "pkg" / "link");
  fs::create_symlink(root_ / "outside" / "a.desktop", root_ / "pkg" / "b.desktop");
  EXPECT_TRUE(walk().empty());
}

TEST_F(SourceWalkerTest, MissingFolderGivesNothing) {
  WalkStats stats = walk_package(root_ / "absent", "ug", [](std::string_view, SourceKind) {
    ADD_FAILURE() << "no string expected";
  });
  EXPECT_TRUE(stats.files.empty());
}

}  // namespace
}  // namespace ornav::corpus
