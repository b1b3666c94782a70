#include "output_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "base/files.h"
#include "base/temporary_folder.h"

namespace ornav::corpus {
namespace {

namespace fs = std::filesystem;

TEST(WriteText, ReplacesARegularFileWhole) {
  ornav::TemporaryFolder dir;
  const fs::path target = dir.write("unigram.tsv", "old\n");
  std::string why;
  ASSERT_TRUE(write_text(target, "ئا\t1\n", &why)) << why;
  EXPECT_EQ(ornav::readWholeFile(target), "ئا\t1\n");
  EXPECT_FALSE(fs::exists(dir / "unigram.tsv.tmp"));
  ASSERT_TRUE(write_text(dir / "new.txt", "", &why)) << why;
  EXPECT_EQ(ornav::readWholeFile(dir / "new.txt"), "");
}

TEST(WriteText, NeverReplacesWhatIsNotARegularFile) {
  ornav::TemporaryFolder dir;
  std::string why;
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(write_text(dir / "folder", "x", &why));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  EXPECT_NE(why.find("not a regular file"), std::string::npos);

  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(write_text(dir / "fifo", "x", &why));
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));

  const fs::path kept = dir.write("kept.txt", "kept");
  fs::create_symlink(kept, dir / "link");
  EXPECT_FALSE(write_text(dir / "link", "x", &why));
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_EQ(ornav::readWholeFile(kept), "kept");
  EXPECT_FALSE(fs::exists(dir / "link.tmp"));
}

TEST(WriteText, AMissingFolderFailsAndLeavesNothing) {
  ornav::TemporaryFolder dir;
  std::string why;
  EXPECT_FALSE(write_text(dir / "absent" / "x.tsv", "x", &why));
  EXPECT_FALSE(why.empty());
  EXPECT_FALSE(fs::exists(dir / "absent"));
}

}  // namespace
}  // namespace ornav::corpus
