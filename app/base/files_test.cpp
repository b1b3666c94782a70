#include "base/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "child_process_test_support.h"

namespace ornav {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ornav-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

TEST_F(Files, ReadsWholeFilesAndSaysWhyNot) {
  std::ofstream(dir_ / "a.txt", std::ios::binary) << std::string("x\0y", 3);
  EXPECT_EQ(readWholeFile(dir_ / "a.txt"), std::string("x\0y", 3));

  std::string why;
  EXPECT_FALSE(readWholeFile(dir_ / "missing", &why));
  EXPECT_EQ(why, "No such file or directory");
  EXPECT_FALSE(readWholeFile(dir_, &why));
  EXPECT_EQ(why, "is a directory");
  EXPECT_FALSE(readWholeFile(dir_ / "a.txt", &why, 2));
  EXPECT_EQ(why, "larger than 2 bytes");
  EXPECT_EQ(readWholeFile(dir_ / "a.txt", nullptr, 3), std::string("x\0y", 3));
}

TEST_F(Files, RefusesAFifoWithoutWaitingForAWriter) {
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  std::string why;
  EXPECT_FALSE(readWholeFile(dir_ / "fifo", &why));
  EXPECT_EQ(why, "not a regular file");
}

TEST_F(Files, ReplacesAtomicallyWithTheGivenModeAndCreatesFolders) {
  const fs::path target = dir_ / "deep" / "er" / "settings.json";
  EXPECT_EQ(writeFileAtomically(target, "one"), std::nullopt);
  EXPECT_EQ(writeFileAtomically(target, "two", {.mode = 0640, .flushed = false}), std::nullopt);
  EXPECT_EQ(readWholeFile(target), "two");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()),
            1);
}

TEST_F(Files, AFailedReplacementLeavesTheOldContent) {
  const fs::path target = dir_ / "keep.txt";
  // Root writes into read-only folders: the child is the folder's owner without root rights.
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(dir_.c_str(), testing::kNobody, testing::kNobody), 0);
  }
  const int status = testing::in_child([&] {
    if (!testing::drop_root_rights() || writeFileAtomically(target, "old")) return 2;
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    const auto failure = writeFileAtomically(target, "new");
    fs::permissions(dir_, fs::perms::owner_all);
    if (!failure || failure->find("cannot create") == std::string::npos) return 1;
    return readWholeFile(target) == "old" ? 0 : 3;
  });
  EXPECT_EQ(status, 0) << "1: the write did not fail as it should, 3: the old content is gone";
}

TEST_F(Files, ReplacingAFileThatIsADirectoryFailsAndKeepsIt) {
  fs::create_directories(dir_ / "taken" / "inside");
  const auto failure = writeFileAtomically(dir_ / "taken", "x");
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("cannot replace"), std::string::npos) << *failure;
  EXPECT_TRUE(fs::is_directory(dir_ / "taken" / "inside"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace ornav
