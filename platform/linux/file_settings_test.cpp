#include "platform/linux/file_settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "base/files.h"
#include "base/temporary_folder.h"
#include "platform/linux/base64.h"
#include "testing/fake_system.h"

namespace ornav::linux_platform {
namespace {

using testing::RecordingSystemLog;

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FileSettingsTest, AbsentIsDistinctFromFalseZeroAndEmpty) {
  TemporaryFolder dir;
  FileSettings settings(dir / "settings.json", nullptr);
  EXPECT_EQ(settings.getBool("Ornavel.uploadConsent"), std::nullopt);
  EXPECT_EQ(settings.getString("Ornavel.cloudDictVersion"), std::nullopt);
  settings.setBool("Ornavel.uploadConsent", false);
  settings.setString("Ornavel.cloudDictVersion", "");
  settings.setInteger("zero", 0);
  EXPECT_EQ(settings.getBool("Ornavel.uploadConsent"), false);
  EXPECT_EQ(settings.getString("Ornavel.cloudDictVersion"), "");
  EXPECT_EQ(settings.getInteger("zero"), 0);
  EXPECT_FALSE(settings.contains("never"));
  settings.remove("zero");
  EXPECT_EQ(settings.getInteger("zero"), std::nullopt);
}

TEST(FileSettingsTest, EveryTypeSurvivesAReload) {
  TemporaryFolder dir;
  const auto path = dir / "Ornavel" / "settings.json";  // the folder is created on first write
  const SettingsData bytes = {0x00, 0xFF, 0x7B, 0x22, 0x0A};
  {
    FileSettings settings(path, nullptr);
    settings.setBool("b", true);
    settings.setInteger("i", -9007199254740993);  // not representable as a double
    settings.setDouble("d", 1767225600.125);
    settings.setDouble("nan", std::nan(""));
    settings.setString("s", "ئۇيغۇرچە \"quoted\"\n");
    settings.setData("data", bytes);
    settings.setStringArray("a", {"x", "", "ي"});
    settings.setStringDictionary("m", {{"k", "v"}, {"", "empty key"}});
  }
  FileSettings reloaded(path, nullptr);
  EXPECT_EQ(reloaded.getBool("b"), true);
  EXPECT_EQ(reloaded.getInteger("i"), -9007199254740993);
  EXPECT_EQ(reloaded.getDouble("d"), 1767225600.125);
  EXPECT_TRUE(std::isnan(reloaded.getDouble("nan").value_or(0)));
  EXPECT_EQ(reloaded.getString("s"), "ئۇيغۇرچە \"quoted\"\n");
  EXPECT_EQ(reloaded.getData("data"), bytes);
  EXPECT_EQ(reloaded.getStringArray("a"), (std::vector<std::string>{"x", "", "ي"}));
  EXPECT_EQ(reloaded.getStringDictionary("m"), (SettingsDictionary{{"k", "v"}, {"", "empty key"}}));
  // Typed reads of another kind are absent, not converted text.
  EXPECT_EQ(reloaded.getString("b"), std::nullopt);
  EXPECT_EQ(reloaded.getData("s"), std::nullopt);
}

TEST(FileSettingsTest, ConcurrentWritersLoseNothing) {
  TemporaryFolder dir;
  const auto path = dir / "settings.json";
  {
    FileSettings settings(path, nullptr);
    std::vector<std::thread> writers;
    for (int t = 0; t < 6; ++t) {
      writers.emplace_back([&settings, t] {
        for (int i = 0; i < 40; ++i) {
          settings.setInteger("k" + std::to_string(t) + "." + std::to_string(i), t * 1000 + i);
          settings.getInteger("k0.0");  // readers interleave with the writers
        }
      });
    }
    for (auto& writer : writers)
      writer.join();
  }
  FileSettings reloaded(path, nullptr);
  for (int t = 0; t < 6; ++t) {
    for (int i = 0; i < 40; ++i) {
      ASSERT_EQ(reloaded.getInteger("k" + std::to_string(t) + "." + std::to_string(i)),
                t * 1000 + i);
    }
  }
  // Only the settings file remains: no temporary files are left behind.
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"settings.json"});
}

TEST(FileSettingsTest, CorruptFileIsSetAsideWithALogLine) {
  for (const std::string content : {"{\"a\": {\"bool\": tru", "[1, 2]", "\xFF\xFE garbage", ""}) {
    TemporaryFolder dir;
    const auto path = dir.write("settings.json", content);
    RecordingSystemLog log;
    FileSettings settings(path, &log);
    EXPECT_FALSE(settings.contains("a"));
    ASSERT_EQ(log.lines().size(), 1u) << content;
    EXPECT_NE(log.lines()[0].find("[Ornavel] 设置文件已损坏"), std::string::npos);
    auto names = filesIn(dir.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind("settings.json.corrupt-", 0), 0u);
    // The set-aside file keeps the old bytes for the user; new writes start a fresh file.
    EXPECT_EQ(readWholeFile(dir / names[0]), content);
    settings.setBool("fresh", true);
    EXPECT_EQ(FileSettings(path, nullptr).getBool("fresh"), true);
  }
}

TEST(FileSettingsTest, AnUnreadableFileIsSetAsideNotOverwritten) {
  TemporaryFolder dir;
  const auto path = dir / "settings.json";
  std::filesystem::create_directories(path);  // something that cannot be read as a file
  dir.write("settings.json/keep.txt", "user data");
  RecordingSystemLog log;
  FileSettings settings(path, &log);
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_NE(log.lines()[0].find("无法读取"), std::string::npos);
  settings.setBool("a", true);
  EXPECT_EQ(FileSettings(path, nullptr).getBool("a"), true);
  auto names = filesIn(dir.path());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], "settings.json");
  EXPECT_EQ(readWholeFile(dir / names[1] / "keep.txt"), "user data");
}

TEST(FileSettingsTest, EntriesOfUnknownShapeAreKeptAndWrittenBack) {
  TemporaryFolder dir;
  const auto path = dir.write("settings.json",
                              R"({"future": {"color": [1, 2, 3]}, "plain": 5,
                                  "ok": {"string": "v"}})");
  {
    FileSettings settings(path, nullptr);
    EXPECT_EQ(settings.getString("ok"), "v");
    EXPECT_EQ(settings.getInteger("plain"), std::nullopt);  // not in the typed form
    settings.setBool("new", true);
  }
  auto json = nlohmann::json::parse(*readWholeFile(path));
  EXPECT_EQ(json["future"], nlohmann::json::parse(R"({"color": [1, 2, 3]})"));
  EXPECT_EQ(json["plain"], 5);
  EXPECT_EQ(json["new"], nlohmann::json::parse(R"({"bool": true})"));
}

TEST(FileSettingsTest, FileIsPrivateAndAFailedWriteKeepsTheValueInMemory) {
  TemporaryFolder dir;
  const auto path = dir / "settings.json";
  RecordingSystemLog log;
  FileSettings settings(path, &log);
  settings.setString("a", "1");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // A folder where the file should be: the replacement fails (also for root), is logged, and the
  // value stays readable in memory.
  std::filesystem::remove(path);
  std::filesystem::create_directories(path / "occupied");
  settings.setString("a", "2");
  EXPECT_EQ(settings.getString("a"), "2");
  ASSERT_FALSE(log.lines().empty());
  EXPECT_NE(log.lines().back().find("设置文件写入失败"), std::string::npos);
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"settings.json"});  // no temp left
}

TEST(FileSettingsTest, InvalidUtf8IsStoredWithoutFailingTheSave) {
  TemporaryFolder dir;
  const auto path = dir / "settings.json";
  FileSettings settings(path, nullptr);
  settings.setString("bad", std::string("a\xC3", 2));
  settings.setString("good", "b");
  FileSettings reloaded(path, nullptr);
  EXPECT_EQ(reloaded.getString("good"), "b");
  EXPECT_EQ(reloaded.getString("bad"), "a\xEF\xBF\xBD");  // replaced by U+FFFD
}

TEST(FileSettingsTest, DefaultPathFollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(FileSettings::defaultPath(), "/somewhere/config/Ornavel/settings.json");
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(FileSettings::defaultPath().filename(), "settings.json");
  EXPECT_TRUE(FileSettings::defaultPath().is_absolute());
  if (old) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

TEST(Base64Test, RoundTripsAndRefusesNonCanonicalText) {
  for (std::size_t n = 0; n < 7; ++n) {
    SettingsData bytes;
    for (std::size_t i = 0; i < n; ++i)
      bytes.push_back(static_cast<std::uint8_t>(0xF0 + i * 7));
    EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes);
  }
  EXPECT_EQ(base64Encode({'f', 'o', 'o', 'b'}), "Zm9vYg==");
  EXPECT_EQ(base64Decode("Zm9vYg"), std::nullopt);    // padding missing
  EXPECT_EQ(base64Decode("Zm9vYh=="), std::nullopt);  // stray bits under the padding
  EXPECT_EQ(base64Decode("Zm9v Yg=="), std::nullopt);
  EXPECT_EQ(base64Decode("Zg==Zg=="), std::nullopt);  // padding only at the end
}

}  // namespace
}  // namespace ornav::linux_platform
