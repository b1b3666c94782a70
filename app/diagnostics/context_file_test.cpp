#include "diagnostics/context_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include "base/files.h"
#include "base/temporary_folder.h"

namespace ornav {
namespace {

namespace fs = std::filesystem;

nlohmann::json readJson(const fs::path& path) {
  return nlohmann::json::parse(readWholeFile(path).value_or(""), nullptr, false);
}

TEST(ContextFile, EveryVersionReadsWholeWhateverCameBefore) {
  const TemporaryFolder folder("ornav-context");
  ContextFile file(folder / "sub" / "crash_context.json");
  const std::string longer = R"({"stage":")" + std::string(5000, 'x') + R"("})";
  ASSERT_TRUE(file.replace(longer));
  EXPECT_EQ(readJson(file.path()), nlohmann::json::parse(longer));
  EXPECT_EQ(fs::file_size(file.path()), 8192u);  // whole blocks
  ASSERT_TRUE(file.replace(R"({"stage":"short"})"));
  EXPECT_EQ(readJson(file.path())["stage"], "short");  // nothing of the longer one shows
  EXPECT_EQ(fs::file_size(file.path()), 8192u);
  EXPECT_EQ(fs::status(file.path()).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST(ContextFile, AFileRemovedOrReplacedBehindItsBackIsWrittenAgain) {
  const TemporaryFolder folder("ornav-context");
  ContextFile file(folder / "crash_context.json");
  ASSERT_TRUE(file.replace(R"({"n":1})"));
  fs::remove(file.path());
  ASSERT_TRUE(file.replace(R"({"n":2})"));
  EXPECT_EQ(readJson(file.path())["n"], 2);
  fs::rename(file.path(), folder / "moved.json");
  folder.write("crash_context.json", "{}");
  ASSERT_TRUE(file.replace(R"({"n":3})"));
  EXPECT_EQ(readJson(file.path())["n"], 3);
  EXPECT_EQ(readJson(folder / "moved.json")["n"], 2);
}

TEST(ContextFile, NeverWritesThroughALinkOrIntoAFolder) {
  const TemporaryFolder folder("ornav-context");
  const fs::path victim = folder.write("victim.txt", "precious");
  fs::create_symlink(victim, folder / "crash_context.json");
  ContextFile linked(folder / "crash_context.json");
  EXPECT_FALSE(linked.replace("{}"));
  EXPECT_EQ(readWholeFile(victim), "precious");

  fs::create_directories(folder / "taken" / "crash_context.json");
  ContextFile blocked(folder / "taken" / "crash_context.json");
  EXPECT_FALSE(blocked.replace("{}"));
}

}  // namespace
}  // namespace ornav
