// The C interface, exercised through libornav_engine.so as the application uses it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "ornav_engine.h"
#include "test_dict.h"

namespace {

using ornav::testing::pair_key;
using ornav::testing::read_text;
using ornav::testing::TempDir;

// Takes ownership of a result string; null stays distinguishable from "".
std::optional<std::string> take(char* text) {
  if (!text) return std::nullopt;
  std::string copy(text);
  orn_string_free(text);
  return copy;
}

class CApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ornav::testing::write_dict(
        dict_.path(),
        {{"bar", 10}, {"kino", 30}, {"kitab", 50}, {std::string("nul\0x", 5), 7}, {"max", 1}},
        {{pair_key("kitab", "oqu"), 7}, {pair_key("kitab", std::string("a\0b", 3)), 1}});
    engine_ = orn_engine_new(dict_.path().c_str(), user_.path().c_str());
    ASSERT_NE(engine_, nullptr);
  }
  void TearDown() override { orn_engine_free(engine_); }

  TempDir dict_;
  TempDir user_;
  OrnEngine* engine_ = nullptr;
};

TEST(CApiNulls, NullHandleGivesNeutralAnswers) {
  EXPECT_EQ(orn_buffer(nullptr), nullptr);
  EXPECT_EQ(orn_candidates(nullptr), nullptr);
  EXPECT_EQ(orn_select(nullptr, 0), nullptr);
  EXPECT_EQ(orn_commit_raw(nullptr), nullptr);
  EXPECT_EQ(orn_export_user_freq(nullptr), nullptr);
  EXPECT_EQ(orn_export_user_unknown(nullptr), nullptr);
  EXPECT_EQ(orn_backspace(nullptr), 0);
  EXPECT_EQ(orn_sync_extra_dict(nullptr, "a\t1\n"), -1);
  orn_input(nullptr, "a");
  orn_reset(nullptr);
  orn_engine_free(nullptr);
  orn_string_free(nullptr);
}

TEST(CApiCreation, BadDirectories) {
  TempDir dict;
  ornav::testing::write_dict(dict.path(), {{"a", 1}}, {});
  ornav::testing::write_ranking_index(dict.path());
  EXPECT_EQ(orn_engine_new(nullptr, nullptr), nullptr);
  EXPECT_EQ(orn_engine_new("/nonexistent-ornav-dir", nullptr), nullptr);
  EXPECT_EQ(orn_engine_new((dict.path() + "/\xFF").c_str(), nullptr), nullptr);
  // A user directory that is not UTF-8 counts as absent: the engine works and writes nothing,
  // although the directory exists.
  const std::string bad_user = dict.path() + "/\xC0\x80";
  ASSERT_EQ(::mkdir(bad_user.c_str(), 0700), 0);
  OrnEngine* engine = orn_engine_new(dict.path().c_str(), bad_user.c_str());
  ASSERT_NE(engine, nullptr);
  orn_input(engine, "a");
  EXPECT_EQ(take(orn_select(engine, 0)), "a");
  EXPECT_EQ(take(orn_export_user_freq(engine)), "a\t1\n");
  orn_engine_free(engine);
  EXPECT_TRUE(ornav::testing::list_dir(bad_user).empty());
  // An empty user directory counts as absent too, rather than the working directory.
  engine = orn_engine_new(dict.path().c_str(), "");
  ASSERT_NE(engine, nullptr);
  orn_input(engine, "a");
  EXPECT_EQ(take(orn_commit_raw(engine)), "a");
  orn_input(engine, "zz");
  EXPECT_EQ(take(orn_commit_raw(engine)), "zz");
  EXPECT_EQ(take(orn_export_user_unknown(engine)), "zz\t1\n");
  EXPECT_FALSE(ornav::testing::file_exists("user_unknown.tsv"));
  orn_engine_free(engine);
  EXPECT_EQ(ornav::testing::list_dir(dict.path()),
            (std::vector<std::string>{"bigram.fst", "ranking.idx", "unigram.fst", "\xC0\x80"}));
}

TEST_F(CApiTest, InputIgnoresNullAndInvalidText) {
  orn_input(engine_, "ki");
  orn_input(engine_, nullptr);
  orn_input(engine_, "\xD8");
  orn_input(engine_, "t\xFF");
  EXPECT_EQ(take(orn_buffer(engine_)), "ki");
  EXPECT_EQ(orn_sync_extra_dict(engine_, nullptr), -1);
  EXPECT_EQ(orn_sync_extra_dict(engine_, "a\t1\n\xFF"), -1);
}

TEST_F(CApiTest, BackspaceResults) {
  EXPECT_EQ(orn_backspace(engine_), 0);
  orn_input(engine_, "\xD8\xA7");
  EXPECT_EQ(orn_backspace(engine_), 0);
  EXPECT_EQ(take(orn_buffer(engine_)), "");
  orn_input(engine_, "\xD8\xA7\xD9\x84");
  EXPECT_EQ(orn_backspace(engine_), 1);
  EXPECT_EQ(take(orn_buffer(engine_)), "\xD8\xA7");
}

TEST_F(CApiTest, CandidatesJoinedByLineFeeds) {
  EXPECT_EQ(take(orn_candidates(engine_)), "");  // not null
  orn_input(engine_, "k");
  EXPECT_EQ(take(orn_candidates(engine_)), "kitab\nkino");
  orn_input(engine_, "z");
  EXPECT_EQ(take(orn_candidates(engine_)), "");
}

TEST_F(CApiTest, SelectAndCommit) {
  orn_input(engine_, "ki");
  EXPECT_EQ(take(orn_select(engine_, 2)), "");
  EXPECT_EQ(take(orn_buffer(engine_)), "ki");
  EXPECT_EQ(take(orn_select(engine_, 0)), "kitab");
  EXPECT_EQ(take(orn_buffer(engine_)), "");
  EXPECT_EQ(read_text(user_.file("user_freq.tsv")), "kitab\t1\n");
  orn_input(engine_, "yeni");
  EXPECT_EQ(take(orn_commit_raw(engine_)), "yeni");
  EXPECT_EQ(take(orn_commit_raw(engine_)), "");
  EXPECT_EQ(take(orn_export_user_unknown(engine_)), "yeni\t1\n");
  EXPECT_EQ(take(orn_export_user_freq(engine_)), "kitab\t1\n");
  EXPECT_EQ(orn_sync_extra_dict(engine_, "kiyim\t4\nbad\n"), 1);
  orn_reset(engine_);
  EXPECT_EQ(take(orn_candidates(engine_)), "");
}

TEST_F(CApiTest, TextWithNulComesBackAsNullAfterTheStateChange) {
  orn_input(engine_, "nul");
  EXPECT_EQ(orn_candidates(engine_), nullptr);
  EXPECT_EQ(orn_select(engine_, 0), nullptr);  // the pick still happened
  EXPECT_EQ(take(orn_buffer(engine_)), "");
  orn_reset(engine_);
  orn_input(engine_, "kitab");
  EXPECT_EQ(take(orn_select(engine_, 0)), "kitab");
  EXPECT_EQ(orn_candidates(engine_), nullptr);  // one continuation holds a NUL
  EXPECT_EQ(orn_select(engine_, 1), nullptr);
  EXPECT_EQ(take(orn_buffer(engine_)), "");
  // The NUL word is counted in memory and written to the file as it is.
  EXPECT_EQ(orn_export_user_freq(engine_), nullptr);
}

TEST_F(CApiTest, StringsOutliveTheEngine) {
  orn_input(engine_, "kit");
  char* buffer = orn_buffer(engine_);
  char* candidates = orn_candidates(engine_);
  orn_engine_free(engine_);
  engine_ = nullptr;
  EXPECT_STREQ(buffer, "kit");
  EXPECT_STREQ(candidates, "kitab");
  orn_string_free(buffer);
  orn_string_free(candidates);
}

TEST_F(CApiTest, CountsSaturateAtTheMaximum) {
  ornav::testing::write_text(user_.file("user_freq.tsv"), "max\t18446744073709551614\n");
  OrnEngine* engine = orn_engine_new(dict_.path().c_str(), user_.path().c_str());
  for (int i = 0; i < 3; ++i) {
    orn_input(engine, "max");
    EXPECT_EQ(take(orn_select(engine, 0)), "max");
  }
  EXPECT_EQ(take(orn_export_user_freq(engine)), "max\t18446744073709551615\n");
  EXPECT_EQ(read_text(user_.file("user_freq.tsv")), "max\t18446744073709551615\n");
  orn_engine_free(engine);
}

// Running out of memory is answered like any other failure: a null handle, no exception and no
// abort reaching the caller.
TEST(CApiFailures, OutOfMemoryGivesNull) {
#if defined(ORNAV_SANITIZED)
  GTEST_SKIP() << "address-space limits do not mix with the address sanitizer";
#else
  TempDir dict;
  ornav::testing::write_dict(dict.path(), {{"a", 1}}, {});
  // A sparse 2 GiB "map": reading it needs more memory than the child may have.
  const int fd = ::open(dict.file("unigram.fst").c_str(), O_WRONLY | O_TRUNC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0);
  ::close(fd);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(2);
    OrnEngine* engine = orn_engine_new(dict.path().c_str(), nullptr);
    ::_exit(engine == nullptr ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died instead of getting a null handle";
  EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}

}  // namespace
