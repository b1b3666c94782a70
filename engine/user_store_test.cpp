#include "user_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "child_process_test_support.h"
#include "saturating.h"
#include "test_dict.h"

namespace ornav {
namespace {

using testing::drop_root_rights;
using testing::in_child;
using testing::list_dir;
using testing::read_text;
using testing::TempDir;
using testing::write_text;

mode_t mode_of(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(UserStorePaths, JoinsWithOneSeparator) {
  EXPECT_EQ(join_path("/a/b", "user_freq.tsv"), "/a/b/user_freq.tsv");
  EXPECT_EQ(join_path("/a/b/", "user_freq.tsv"), "/a/b/user_freq.tsv");
  EXPECT_EQ(join_path("", "x.tsv"), "x.tsv");
}

TEST(UserStoreLoad, MissingOrBadFilesGiveEmptyTables) {
  TempDir dir;
  EXPECT_TRUE(load_user_freq(dir.file("absent.tsv")).empty());
  write_text(dir.file("bad.tsv"), "a\t1\n\xFF\t2\n");
  EXPECT_TRUE(load_user_freq(dir.file("bad.tsv")).empty());
  ::mkdir(dir.file("dir.tsv").c_str(), 0700);
  EXPECT_TRUE(load_user_freq(dir.file("dir.tsv")).empty());
  write_text(dir.file("good.tsv"), "a\t1\nb\t+2 \r\n");
  EXPECT_EQ(load_user_freq(dir.file("good.tsv")), (FreqTable{{"a", 1}, {"b", 2}}));
}

TEST(UserStoreAtomicWrite, ReplacesContentAndKeepsPermissions) {
  TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  ASSERT_TRUE(write_file_atomically(path, "a\t1\n"));
  EXPECT_EQ(read_text(path), "a\t1\n");
  EXPECT_EQ(mode_of(path), 0600u);  // a new file is private

  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(write_file_atomically(path, ""));
  EXPECT_EQ(read_text(path), "");
  EXPECT_EQ(mode_of(path), 0640u);
  EXPECT_EQ(list_dir(dir.path()), std::vector<std::string>{"user_freq.tsv"});
}

TEST(UserStoreAtomicWrite, ReplacesTheTargetOfASymbolicLink) {
  TempDir dir;
  ::mkdir(dir.file("synced").c_str(), 0700);
  write_text(dir.file("synced/user_freq.tsv"), "old\t1\n");
  ASSERT_EQ(::symlink("synced/user_freq.tsv", dir.file("user_freq.tsv").c_str()), 0);
  ASSERT_TRUE(write_file_atomically(dir.file("user_freq.tsv"), "new\t2\n"));
  struct stat st {};
  ASSERT_EQ(::lstat(dir.file("user_freq.tsv").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(read_text(dir.file("synced/user_freq.tsv")), "new\t2\n");
  EXPECT_EQ(list_dir(dir.file("synced")), std::vector<std::string>{"user_freq.tsv"});
}

TEST(UserStoreAtomicWrite, ReadOnlyDirectoryLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  write_text(path, "old\t5\n");
  ::chmod(path.c_str(), 0644);
  ::chmod(dir.path().c_str(), 0555);
  const int status = in_child([&] {
    if (!drop_root_rights()) return 2;
    return write_file_atomically(path, "new\t1\n") ? 1 : 0;
  });
  ::chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(status, 0) << "the write should fail without a writable directory";
  EXPECT_EQ(read_text(path), "old\t5\n");
  EXPECT_EQ(list_dir(dir.path()), std::vector<std::string>{"user_freq.tsv"});
}

TEST(UserStoreAtomicWrite, FullDiskLeavesTheOldFileAndNoTemporary) {
  TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  write_text(path, "old\t5\n");
  // A file-size limit makes the write fail part-way, as a full disk would.
  const int status = in_child([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    return write_file_atomically(path, std::string(4096, 'x')) ? 1 : 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(read_text(path), "old\t5\n");
  EXPECT_EQ(list_dir(dir.path()), std::vector<std::string>{"user_freq.tsv"});
}

// What a save did, in order; fsync tells a folder from a file.
std::vector<std::string> calls_seen;

save_calls recording_calls() {
  return {.fsync =
              [](int fd) {
                struct stat st {};
                ::fstat(fd, &st);
                calls_seen.push_back(S_ISDIR(st.st_mode) ? "sync folder" : "sync file");
                return ::fsync(fd);
              },
          .rename =
              [](const char* from, const char* to) {
                calls_seen.push_back("rename");
                return ::rename(from, to);
              }};
}

TEST(UserStoreAtomicWrite, SyncsTheFileThenRenamesThenSyncsTheFolder) {
  TempDir dir;
  calls_seen.clear();
  ASSERT_TRUE(
      write_file_atomically(dir.file("a.tsv"), "a\t1\n", durability::synced, recording_calls()));
  EXPECT_EQ(calls_seen, (std::vector<std::string>{"sync file", "rename", "sync folder"}));
  calls_seen.clear();
  ASSERT_TRUE(write_file_atomically(dir.file("a.tsv"), "a\t2\n", durability::left_to_caller,
                                    recording_calls()));
  EXPECT_EQ(calls_seen, std::vector<std::string>{"rename"});
}

TEST(UserStoreMerge, AddsIncrementsToTheCountsOnDisk) {
  TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  write_text(path, "a\t1\nb\t2\nz\t18446744073709551610\n");
  ASSERT_TRUE(merge_into_file(path, {{"a", 3}, {"c", 1}, {"z", 100}, {"t\tab", 9}}));
  EXPECT_EQ(read_text(path), "a\t4\nb\t2\nc\t1\nz\t18446744073709551615\n");
  EXPECT_TRUE(testing::file_exists(dir.file(".user_freq.tsv.lock")));
}

TEST(UserStoreMerge, CreatesAMissingFile) {
  TempDir dir;
  ASSERT_TRUE(merge_into_file(dir.file("user_unknown.tsv"), {{"x", 2}}));
  EXPECT_EQ(read_text(dir.file("user_unknown.tsv")), "x\t2\n");
}

TEST(UserStoreMerge, KeepsANonUtf8FileAsideBeforeReplacingIt) {
  TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  const std::string damaged = "a\t5\n\xff\t1\n";
  write_text(path, damaged);
  write_text(path + ".unreadable", "an older copy");
  ASSERT_TRUE(merge_into_file(path, {{"b", 1}}));
  EXPECT_EQ(read_text(path), "b\t1\n");
  EXPECT_EQ(read_text(path + ".unreadable"), "an older copy");
  EXPECT_EQ(read_text(path + ".unreadable.1"), damaged);
  // Once replaced, the file is UTF-8 again and later saves merge normally.
  ASSERT_TRUE(merge_into_file(path, {{"b", 1}}));
  EXPECT_EQ(read_text(path), "b\t2\n");
  EXPECT_FALSE(testing::file_exists(path + ".unreadable.2"));
}

TEST(UserStoreMerge, FailsWithoutTouchingAnUnreadableFile) {
  TempDir dir;
  // A file its owner may not read, in a folder where the merge could replace it: the learned
  // counts must not give way to the increments alone.
  const std::string path = dir.file("user_freq.tsv");
  write_text(path, "a\t5\n");
  ::chmod(path.c_str(), 0);
  ::chmod(dir.path().c_str(), 0777);
  const int status = in_child([&] {
    if (!drop_root_rights()) return 2;
    return merge_into_file(path, {{"b", 1}}) ? 1 : 0;
  });
  ::chmod(path.c_str(), 0600);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(read_text(path), "a\t5\n");
  // A directory where the file should be cannot be read either.
  ASSERT_EQ(::mkdir(dir.file("dir.tsv").c_str(), 0700), 0);
  EXPECT_FALSE(merge_into_file(dir.file("dir.tsv"), {{"a", 1}}));
  EXPECT_FALSE(merge_into_file(dir.file("missing-dir/user_freq.tsv"), {{"a", 1}}));
}

TEST(UserStoreMerge, WaitsForTheLockAndGivesUpWhenItIsHeld) {
  TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  write_text(path, "a\t1\n");
  const int lock_fd = ::open(dir.file(".user_freq.tsv.lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(lock_fd, 0);
  ASSERT_EQ(::flock(lock_fd, LOCK_EX), 0);
  EXPECT_FALSE(merge_into_file(path, {{"a", 1}}));
  EXPECT_EQ(read_text(path), "a\t1\n");
  ::close(lock_fd);
  EXPECT_TRUE(merge_into_file(path, {{"a", 1}}));
  EXPECT_EQ(read_text(path), "a\t2\n");
}

TEST(UserStoreMerge, ConcurrentProcessesLoseNoIncrement) {
  TempDir dir;
  const std::string path = dir.file("user_freq.tsv");
  constexpr int rounds = 40;
  std::vector<pid_t> children;
  for (int p = 0; p < 3; ++p) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      bool ok = true;
      for (int i = 0; i < rounds; ++i)
        ok = merge_into_file(path, {{"w", 1}}) && ok;
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(read_text(path), "w\t" + std::to_string(3 * rounds) + "\n");
}

}  // namespace
}  // namespace ornav
