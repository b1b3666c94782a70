#include "engine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "test_dict.h"

namespace ornav {
namespace {

using testing::file_exists;
using testing::KeyCounts;
using testing::pair_key;
using testing::read_text;
using testing::TempDir;
using testing::write_text;
using Words = std::vector<std::string>;

// A small dictionary: a few words, pairs after "kitab", one word holding a TAB.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::write_dict(dict_.path(),
                        {{"bar", 10},
                         {"kino", 30},
                         {"kitab", 50},
                         {"kitabxana", 20},
                         {"ta\tb", 5},
                         {"\xD8\xA7\xD9\x84", 8}},
                        {{pair_key("kitab", "bar"), 3},
                         {pair_key("kitab", "oqu"), 7},
                         {pair_key("oqu", ""), 1},
                         {pair_key("oqu", "kitab"), 2}});
  }

  std::unique_ptr<Engine> open(bool with_user_dir = true) {
    auto engine = Engine::create(
        dict_.path(), with_user_dir ? std::optional<std::string_view>(user_.path()) : std::nullopt);
    EXPECT_NE(engine, nullptr);
    return engine;
  }
  std::string user_file(std::string_view name) const { return user_.file(name); }

  TempDir dict_;
  TempDir user_;
};

TEST_F(EngineTest, CreationNeedsBothReadableMaps) {
  EXPECT_EQ(Engine::create(dict_.file("missing"), std::nullopt), nullptr);
  TempDir only_unigram;
  ::link(dict_.file("unigram.fst").c_str(), only_unigram.file("unigram.fst").c_str());
  EXPECT_EQ(Engine::create(only_unigram.path(), std::nullopt), nullptr);
  write_text(only_unigram.file("bigram.fst"), "not a map at all, but long enough to have a footer");
  EXPECT_EQ(Engine::create(only_unigram.path(), std::nullopt), nullptr);
  write_text(dict_.file("unigram.fst"), "");
  EXPECT_EQ(Engine::create(dict_.path(), std::nullopt), nullptr);
}

TEST_F(EngineTest, CreationReadsTheThreeUserFiles) {
  write_text(user_file("user_freq.tsv"), "kitabxana\t+1\nbad\t-1\n");
  write_text(user_file("user_unknown.tsv"), "qelem\t2\r\n");
  write_text(user_file("extra_dict.tsv"), "kitob\t45\n");
  auto engine = open();
  EXPECT_EQ(engine->user_freq(), (FreqTable{{"kitabxana", 1}}));
  EXPECT_EQ(engine->export_user_unknown(), "qelem\t2\n");
  engine->input("ki");
  // kitabxana: 20 + 100000; kitob only in the cloud dictionary.
  EXPECT_EQ(engine->candidates(), (Words{"kitabxana", "kitab", "kitob", "kino"}));
}

TEST_F(EngineTest, InvalidUserFileLoadsEmptyAndIsReplacedOnSave) {
  write_text(user_file("user_freq.tsv"), "kino\t9\n\xFF\n");
  auto engine = open();
  EXPECT_TRUE(engine->user_freq().empty());
  engine->input("kin");
  EXPECT_EQ(engine->select(0), "kino");
  EXPECT_EQ(read_text(user_file("user_freq.tsv")), "kino\t1\n");
}

TEST_F(EngineTest, WithoutUserDirectoryNothingIsReadOrWritten) {
  write_text(user_file("user_freq.tsv"), "bar\t100\n");
  auto engine = open(false);
  EXPECT_TRUE(engine->user_freq().empty());
  engine->input("b");
  EXPECT_EQ(engine->select(0), "bar");
  engine->input("new");
  EXPECT_EQ(engine->commit_raw(), "new");
  EXPECT_EQ(engine->sync_extra_dict("x\t1\ny\t2\n"), 2);
  EXPECT_EQ(engine->export_user_freq(), "bar\t1\n");
  EXPECT_EQ(engine->export_user_unknown(), "new\t1\n");
  EXPECT_EQ(testing::list_dir(user_.path()), Words{"user_freq.tsv"});
  EXPECT_EQ(read_text(user_file("user_freq.tsv")), "bar\t100\n");
}

TEST_F(EngineTest, MissingUserDirectoryWorksAndIsNeverCreated) {
  const std::string gone = user_file("not-there");
  auto engine = Engine::create(dict_.path(), gone);
  ASSERT_NE(engine, nullptr);
  engine->input("bar");
  EXPECT_EQ(engine->select(0), "bar");
  EXPECT_EQ(engine->sync_extra_dict("x\t1\n"), 1);
  EXPECT_FALSE(file_exists(gone));
  EXPECT_EQ(engine->export_user_freq(), "bar\t1\n");
}

TEST_F(EngineTest, BufferEditing) {
  auto engine = open();
  EXPECT_FALSE(engine->backspace());
  engine->input("\xD8\xA7");
  EXPECT_FALSE(engine->backspace());  // one two-byte letter: gone, nothing left
  EXPECT_EQ(engine->buffer(), "");
  engine->input("\xD8\xA7");
  engine->input("\xD9\x84");
  EXPECT_TRUE(engine->backspace());
  EXPECT_EQ(engine->buffer(), "\xD8\xA7");
  engine->input("a\xF0\x9F\x98\x80");
  EXPECT_TRUE(engine->backspace());
  EXPECT_EQ(engine->buffer(),
            "\xD8\xA7"
            "a");
}

TEST_F(EngineTest, PickCountsSavesAndSwitchesToPredictions) {
  auto engine = open();
  engine->input("kit");
  EXPECT_EQ(engine->candidates(), (Words{"kitab", "kitabxana"}));
  EXPECT_EQ(engine->select(0), "kitab");
  EXPECT_EQ(engine->buffer(), "");
  EXPECT_EQ(engine->prev_word(), "kitab");
  EXPECT_EQ(read_text(user_file("user_freq.tsv")), "kitab\t1\n");
  EXPECT_EQ(engine->candidates(), (Words{"oqu", "bar"}));

  // A pick in prediction mode counts the continuation and makes it the context.
  EXPECT_EQ(engine->select(0), "oqu");
  EXPECT_EQ(engine->prev_word(), "oqu");
  EXPECT_EQ(engine->candidates(), (Words{"kitab", ""}));
  EXPECT_EQ(engine->select(0), "kitab");
  EXPECT_EQ(read_text(user_file("user_freq.tsv")), "kitab\t2\noqu\t1\n");
  EXPECT_EQ(engine->candidates(), (Words{"oqu", "bar"}));
}

TEST_F(EngineTest, PickOutOfRangeChangesNothing) {
  auto engine = open();
  engine->input("kit");
  EXPECT_EQ(engine->select(2), "");
  EXPECT_EQ(engine->select(static_cast<std::size_t>(-1)), "");
  EXPECT_EQ(engine->buffer(), "kit");
  EXPECT_FALSE(engine->prev_word().has_value());
  EXPECT_TRUE(engine->user_freq().empty());
  EXPECT_FALSE(file_exists(user_file("user_freq.tsv")));
}

TEST_F(EngineTest, PickOfTheEmptyContinuationSetsAnEmptyContext) {
  auto engine = open();
  engine->input("oqu");
  ASSERT_EQ(engine->commit_raw(), "oqu");  // unknown text, counted
  EXPECT_EQ(engine->candidates(), (Words{"kitab", ""}));
  EXPECT_EQ(engine->select(1), "");
  EXPECT_EQ(engine->prev_word(), "");
  EXPECT_TRUE(engine->user_freq().empty());
  EXPECT_FALSE(file_exists(user_file("user_freq.tsv")));
  EXPECT_EQ(engine->candidates(), Words{});  // no pair starts with the separator
}

TEST_F(EngineTest, RawCommitCountsOnlyUnknownText) {
  auto engine = open();
  EXPECT_EQ(engine->commit_raw(), "");  // empty buffer: no context
  EXPECT_FALSE(engine->prev_word().has_value());

  engine->input("kitab");
  EXPECT_EQ(engine->commit_raw(), "kitab");  // a unigram key: not counted, still the context
  EXPECT_EQ(engine->prev_word(), "kitab");
  EXPECT_FALSE(file_exists(user_file("user_unknown.tsv")));

  engine->input("qelem");
  EXPECT_EQ(engine->commit_raw(), "qelem");
  engine->input("qelem");
  EXPECT_EQ(engine->commit_raw(), "qelem");
  EXPECT_EQ(engine->buffer(), "");
  EXPECT_EQ(read_text(user_file("user_unknown.tsv")), "qelem\t2\n");

  EXPECT_EQ(engine->sync_extra_dict("bulut\t3\n"), 1);
  engine->input("bulut");
  EXPECT_EQ(engine->commit_raw(), "bulut");  // known from the cloud dictionary
  EXPECT_EQ(engine->export_user_unknown(), "qelem\t2\n");

  EXPECT_EQ(engine->commit_raw(), "");  // empty buffer keeps the context
  EXPECT_EQ(engine->prev_word(), "bulut");
}

TEST_F(EngineTest, ResetClearsBufferAndContextOnly) {
  auto engine = open();
  engine->input("kitab");
  engine->select(0);
  engine->input("ki");
  engine->reset();
  EXPECT_EQ(engine->buffer(), "");
  EXPECT_FALSE(engine->prev_word().has_value());
  EXPECT_EQ(engine->candidates(), Words{});
  EXPECT_EQ(engine->export_user_freq(), "kitab\t1\n");
}

TEST_F(EngineTest, CloudDictionaryMerge) {
  auto engine = open();
  EXPECT_EQ(engine->sync_extra_dict("kiyim\t40\nbad line\n\t3\nkitob\t+45\nx\t-2\nmeh\t1"), 3);
  EXPECT_EQ(read_text(user_file("extra_dict.tsv")), "kitob\t45\nkiyim\t40\nmeh\t1\n");
  engine->input("ki");
  EXPECT_EQ(engine->candidates(), (Words{"kitab", "kitob", "kiyim", "kino", "kitabxana"}));

  // Not UTF-8: refused, the old cloud dictionary stays.
  EXPECT_EQ(engine->sync_extra_dict("kiz\t1\n\xC0\x80"), -1);
  EXPECT_EQ(engine->extra_dict().size(), 3u);
  EXPECT_EQ(read_text(user_file("extra_dict.tsv")), "kitob\t45\nkiyim\t40\nmeh\t1\n");

  // A later engine over the same user directory starts with the merged dictionary.
  auto later = open();
  EXPECT_EQ(later->extra_dict(), engine->extra_dict());

  // Replaced as a whole; an empty text leaves an empty file.
  EXPECT_EQ(engine->sync_extra_dict("kiz\t1\n"), 1);
  EXPECT_EQ(engine->candidates(), (Words{"kitab", "kino", "kitabxana", "kiz"}));
  EXPECT_EQ(engine->sync_extra_dict(""), 0);
  EXPECT_TRUE(engine->extra_dict().empty());
  EXPECT_TRUE(file_exists(user_file("extra_dict.tsv")));
  EXPECT_EQ(read_text(user_file("extra_dict.tsv")), "");
}

TEST_F(EngineTest, ExportsShowTheTablesInMemory) {
  auto engine = open();
  EXPECT_EQ(engine->export_user_freq(), "");
  EXPECT_EQ(engine->export_user_unknown(), "");
  engine->input("kino");
  engine->select(0);
  ::unlink(user_file("user_freq.tsv").c_str());
  EXPECT_EQ(engine->export_user_freq(), "kino\t1\n");
  EXPECT_FALSE(file_exists(user_file("user_freq.tsv")));  // exporting writes nothing
}

// Two client applications, two engines, one user directory: neither erases the other's picks.
TEST_F(EngineTest, EnginesSharingAUserDirectoryKeepEachOthersPicks) {
  auto first = open();
  auto second = open();
  first->input("kitab");
  first->select(0);
  second->input("kino");
  second->select(0);
  first->input("kitab");
  first->select(0);
  second->input("oqu");
  second->commit_raw();
  first->input("oqu");
  first->commit_raw();
  EXPECT_EQ(read_text(user_file("user_freq.tsv")), "kino\t1\nkitab\t2\n");
  EXPECT_EQ(read_text(user_file("user_unknown.tsv")), "oqu\t2\n");
  // Each engine still ranks with its own table.
  EXPECT_EQ(first->user_freq(), (FreqTable{{"kitab", 2}}));
  EXPECT_EQ(second->user_freq(), (FreqTable{{"kino", 1}}));
}

TEST_F(EngineTest, FailedSaveKeepsTheIncrementForTheNextSave) {
  auto engine = open();
  // A directory in the file's place makes the save fail.
  ASSERT_EQ(::mkdir(user_file("user_freq.tsv").c_str(), 0700), 0);
  engine->input("bar");
  EXPECT_EQ(engine->select(0), "bar");
  EXPECT_EQ(engine->user_freq(), (FreqTable{{"bar", 1}}));
  ASSERT_EQ(::rmdir(user_file("user_freq.tsv").c_str()), 0);
  engine->input("kino");
  engine->select(0);
  EXPECT_EQ(read_text(user_file("user_freq.tsv")), "bar\t1\nkino\t1\n");
}

TEST_F(EngineTest, WordsWithTabOrLineBreaksAreNeverWritten) {
  auto engine = open();
  engine->input("ta");
  EXPECT_EQ(engine->select(0), "ta\tb");
  EXPECT_EQ(engine->user_freq(), (FreqTable{{"ta\tb", 1}}));
  EXPECT_FALSE(file_exists(user_file("user_freq.tsv")));
  EXPECT_EQ(engine->export_user_freq(), "");

  engine->input("two\nlines");
  EXPECT_EQ(engine->commit_raw(), "two\nlines");
  engine->input("cr\r");
  engine->commit_raw();
  engine->input("fine");
  engine->commit_raw();
  EXPECT_EQ(engine->user_unknown().size(), 3u);
  EXPECT_EQ(read_text(user_file("user_unknown.tsv")), "fine\t1\n");
  EXPECT_EQ(engine->export_user_unknown(), "fine\t1\n");
}

// A pick is on disk when orn_select returns: a process killed at that moment (no destructor, no
// waiting for the disk) still leaves it in the user file.
TEST_F(EngineTest, APickSurvivesAKillRightAfterItWasMade) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    auto engine = Engine::create(dict_.path(), std::optional<std::string_view>(user_.path()));
    if (!engine) ::_exit(2);
    engine->input("ki");
    if (engine->select(0) != "kitab") ::_exit(3);
    ::raise(SIGKILL);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  EXPECT_EQ(testing::read_text(user_file(user_freq_file)), "kitab\t1\n");
}

}  // namespace
}  // namespace ornav
