#include "core/key_map.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "ports/bundle.h"
#include "ports/system_log.h"

namespace ornav {
namespace {

using ::testing::ElementsAre;

class RecordingLog : public SystemLog {
 public:
  void write(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

// A bundle whose resources are one folder; only pathForResource matters here.
class FolderBundle : public Bundle {
 public:
  explicit FolderBundle(std::filesystem::path folder) : folder_(std::move(folder)) {}
  std::optional<InfoValue> infoValue(const std::string&) const override { return std::nullopt; }
  std::filesystem::path bundlePath() const override { return folder_; }
  std::filesystem::path resourcePath() const override { return folder_; }
  std::optional<std::filesystem::path> pathForResource(const std::string& name,
                                                       const std::string& ext) const override {
    auto path = folder_ / (ext.empty() ? name : name + "." + ext);
    if (!std::filesystem::exists(path)) return std::nullopt;
    return path;
  }

 private:
  std::filesystem::path folder_;
};

class KeyMapLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("ornav_keymap_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    bundle_ = std::make_unique<FolderBundle>(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void load() { keys_.load(bundle_.get(), &log_); }
  void writeKeyMap(const std::string& text) {
    std::ofstream(folder_ / "keymap.json", std::ios::binary) << text;
  }

  std::filesystem::path folder_;
  std::unique_ptr<FolderBundle> bundle_;
  RecordingLog log_;
  KeyMap keys_;
};

TEST(ParseKeyMap, ReadsMapAndKeepsOtherMembers) {
  const auto file =
      parseKeyMap(R"({"map": {"a": "ا", "gh": "غ"}, "initial": {"a": "ئا"}, "version": 3})");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->map.size(), 2u);
  EXPECT_EQ(file->map.at("gh"), "غ");
  EXPECT_EQ(file->otherMembers.at("initial").at("a"), "ئا");
  EXPECT_EQ(file->otherMembers.at("version"), 3);
  EXPECT_FALSE(file->otherMembers.contains("map"));
}

TEST(ParseKeyMap, RejectsEveryMalformedShape) {
  EXPECT_FALSE(parseKeyMap(""));
  EXPECT_FALSE(parseKeyMap("{\"map\": {\"a\": \"x\"}"));  // truncated
  EXPECT_FALSE(parseKeyMap("[]"));
  EXPECT_FALSE(parseKeyMap(R"({"other": {}})"));
  EXPECT_FALSE(parseKeyMap(R"({"map": ["a"]})"));
  EXPECT_FALSE(parseKeyMap(R"({"map": "a"})"));
  // One value of another type spoils the whole file.
  EXPECT_FALSE(parseKeyMap(R"({"map": {"a": "ا", "b": 5}})"));
  EXPECT_FALSE(parseKeyMap(R"({"map": {"a": "ا", "b": null}})"));
  // Bytes that are not UTF-8 are not JSON text.
  EXPECT_FALSE(parseKeyMap("{\"map\": {\"a\": \"\xff\"}}"));
}

TEST(ParseKeyMap, SaysWhyAFileIsRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"{", "not valid JSON"},
      {"[1]", "the top level is not an object"},
      {R"({"other": {}})", "no member \"map\""},
      {R"({"map": 1})", "\"map\" is not an object"},
      {R"({"map": {"a": 1}})", "a value in \"map\" is not a string"},
  };
  for (const auto& [text, reason] : cases) {
    std::string why;
    EXPECT_FALSE(parseKeyMap(text, &why)) << text;
    EXPECT_EQ(why, reason) << text;
  }
}

TEST(ParseKeyMap, OptionalTablesAreEmptyUnlessObjectsOfStrings) {
  const auto file = parseKeyMap(
      R"({"map": {"a": "ا"}, "initial": {"a": "ئا"}, "punctuation": {",": "،", ";": 1}})");
  ASSERT_TRUE(file);
  const KeyMapExtras extras = file->extras();
  EXPECT_EQ(extras.initialText("a"), "ئا");
  EXPECT_FALSE(extras.initialText("b"));
  EXPECT_TRUE(extras.punctuation.empty());  // one value of another type empties the table
  EXPECT_EQ(KeyMap(*file).extras().initial, extras.initial);
}

TEST(ParseKeyMap, EmptyMapIsValid) {
  const auto file = parseKeyMap(R"({"map": {}})");
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->map.empty());
}

TEST_F(KeyMapLoadTest, MissingResourceLogsNotFoundAndLeavesTableEmpty) {
  load();
  EXPECT_THAT(log_.messages, ElementsAre("[Ornavel] keymap.json 未找到"));
  EXPECT_TRUE(keys_.arabic().empty());
  EXPECT_FALSE(keys_.map("a"));
}

TEST_F(KeyMapLoadTest, UnreadableResourceLogsNotFound) {
  std::filesystem::create_directories(folder_ / "keymap.json");  // a folder, not a file
  load();
  EXPECT_THAT(log_.messages, ElementsAre("[Ornavel] keymap.json 未找到"));
}

TEST_F(KeyMapLoadTest, LoadsAndLooksUpExactly) {
  writeKeyMap(
      R"({"map": {"a": "ا", "A": "ە", "e\u0301": "ې", "q": "ق"}, "punctuation": {",": "،"}})");
  load();
  EXPECT_THAT(log_.messages, ElementsAre("[Ornavel] 已加载映射 4 条"));
  const KeyMap& keys = keys_;
  EXPECT_EQ(keys.map("a"), "ا");
  EXPECT_EQ(keys.map("A"), "ە");          // case matters
  EXPECT_EQ(keys.map("e\xCC\x81"), "ې");  // a two-character dead-key composition
  EXPECT_FALSE(keys.map("e"));            // no per-character fallback
  EXPECT_FALSE(keys.map("aq"));
  EXPECT_FALSE(keys.map(""));
  EXPECT_FALSE(keys.map(","));  // other tables are not part of the lookup
  EXPECT_EQ(keys.extras().punctuation.at(","), "،");
  EXPECT_TRUE(keys.extras().initial.empty());
}

TEST_F(KeyMapLoadTest, EmptyMapLoadsZeroEntries) {
  writeKeyMap(R"({"map": {}})");
  load();
  EXPECT_THAT(log_.messages, ElementsAre("[Ornavel] 已加载映射 0 条"));
}

TEST_F(KeyMapLoadTest, MalformedFileKeepsPreviousTable) {
  writeKeyMap(R"({"map": {"a": "ا"}})");
  load();
  writeKeyMap(R"({"map": {"a": "ب", "b": 2}})");
  load();
  writeKeyMap("not json");
  load();
  EXPECT_THAT(log_.messages,
              ElementsAre("[Ornavel] 已加载映射 1 条", "[Ornavel] keymap.json 解析失败",
                          "[Ornavel] keymap.json 解析失败"));
  EXPECT_EQ(keys_.map("a"), "ا");
  EXPECT_FALSE(keys_.map("b"));
}

TEST_F(KeyMapLoadTest, ShippedKeyMapLoads) {
  const std::filesystem::path shipped = std::filesystem::path(ORNAV_SOURCE_DIR) / "resources";
  if (!std::filesystem::exists(shipped / "keymap.json")) GTEST_SKIP() << "no shipped key map yet";
  FolderBundle resources(shipped);
  keys_.load(&resources, &log_);
  ASSERT_EQ(log_.messages.size(), 1u);
  EXPECT_THAT(log_.messages[0], ::testing::StartsWith("[Ornavel] 已加载映射 "));
  EXPECT_FALSE(keys_.arabic().empty());
}

}  // namespace
}  // namespace ornav
