#include "commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "test_dir.h"

namespace ornav::dict {
namespace {

using ::testing::HasSubstr;
using testing::makeDictionary;
using ::testing::Not;
using testing::ScratchDir;
using testing::writeFile;

struct Run {
  int status;
  std::string out;
  std::string err;
};

Run run(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = runCommand(args, out, err);
  return {status, out.str(), err.str()};
}

constexpr std::string_view keymap = R"({"map": {"s": "س", "a": "ا", "l": "ل", "m": "م",
  "d": "د", "o": "و", "t": "ت", "e": "ە", "k": "ك", "i": "ى", "b": "ب"}})";

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(makeDictionary(dir_.path(),
                               "سالام\t500\nسان\t30\nساپ\t20\nسالامەت\t10\nدوست\t40\nكىتاب\t9\n",
                               "سالام\tدوست\t5\nسالام\tكىتاب\t2\n"));
    writeFile(dir_ / "keymap.json", keymap);
  }
  std::string path(std::string_view name) const { return (dir_ / name).string(); }
  ScratchDir dir_;
};

TEST_F(CommandsTest, HelpAndUsageErrors) {
  const auto help = run({"--help"});
  EXPECT_EQ(help.status, exitOk);
  for (const char* command : {"build", "index", "dump", "lookup", "candidates", "stats", "eval"}) {
    EXPECT_THAT(help.out, HasSubstr(std::string("ornav-dict ") + command)) << command;
  }
  EXPECT_THAT(help.out, HasSubstr("Exit status"));
  EXPECT_EQ(run({}).status, exitUsage);
  EXPECT_EQ(run({"frobnicate"}).status, exitUsage);
  EXPECT_EQ(run({"build", "a.tsv"}).status, exitUsage);
  EXPECT_EQ(run({"dump"}).status, exitUsage);
  EXPECT_EQ(run({"index"}).status, exitUsage);
  EXPECT_EQ(run({"lookup", path("unigram.fst")}).status, exitUsage);
  EXPECT_EQ(run({"lookup", path("unigram.fst"), "\\xZZ"}).status, exitUsage);
  EXPECT_EQ(run({"eval", path(""), path("keymap.json"), path("t"), "--fast"}).status, exitUsage);
  EXPECT_THAT(run({"stats"}).err, HasSubstr("Try 'ornav-dict --help'"));
}

TEST_F(CommandsTest, BuildExitStatusSaysWhatWentWrong) {
  writeFile(dir_ / "bad.tsv", "سالام\t1\nسالام 2\n");
  writeFile(dir_ / "pairs.tsv", "");
  const auto bad = run({"build", path("bad.tsv"), path("pairs.tsv"), path("out")});
  EXPECT_EQ(bad.status, exitBadInput);
  EXPECT_THAT(bad.err, HasSubstr("bad.tsv:2: missing TAB"));
  EXPECT_EQ(run({"build", path("none.tsv"), path("pairs.tsv"), path("out")}).status, exitIoError);
  writeFile(dir_ / "good.tsv", "سالام\t1\n");
  EXPECT_EQ(run({"build", path("good.tsv"), path("pairs.tsv"), path("out")}).status, exitOk);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "out/unigram.fst"));
}

TEST_F(CommandsTest, DumpShowsPairsLikeTheirCountFile) {
  const auto dump = run({"dump", path("bigram.fst")});
  EXPECT_EQ(dump.status, exitOk);
  EXPECT_EQ(dump.out, "سالام\tدوست\t5\nسالام\tكىتاب\t2\n");
  EXPECT_EQ(run({"dump", path("missing.fst")}).status, exitIoError);
  const auto not_map = run({"dump", path("keymap.json")});
  EXPECT_EQ(not_map.status, exitBadInput);
  EXPECT_THAT(not_map.err, HasSubstr("not a dictionary map"));
}

TEST_F(CommandsTest, LookupFindsWordsAndPairsAndSaysWhenAKeyIsAbsent) {
  const auto found = run({"lookup", path("unigram.fst"), "سالام", "دوست"});
  EXPECT_EQ(found.status, exitOk);
  EXPECT_EQ(found.out, "سالام\t500\nدوست\t40\n");
  const auto pair = run({"lookup", path("bigram.fst"), "سالام␟دوست"});
  EXPECT_EQ(pair.status, exitOk);
  EXPECT_EQ(pair.out, "سالام\tدوست\t5\n");
  const auto absent = run({"lookup", path("unigram.fst"), "سال", "سان"});
  EXPECT_EQ(absent.status, exitNotFound);
  EXPECT_EQ(absent.out, "سال\t-\nسان\t30\n");
}

TEST_F(CommandsTest, CandidatesTypesThroughTheKeyMapAndShowsPredictions) {
  const auto shown = run({"candidates", dir_.path().string(), path("keymap.json"), "sa", "salam"});
  EXPECT_EQ(shown.status, exitOk) << shown.err;
  EXPECT_THAT(shown.out, HasSubstr("sa -> سا\n  1 سالام   2 سان   3 ساپ   4 سالامەت\n"));
  EXPECT_THAT(shown.out, HasSubstr("salam -> سالام\n  1 سالام   2 سالامەت\n"
                                   "after picking سالام:\n  1 دوست   2 كىتاب\n"));
  const auto unmapped = run({"candidates", dir_.path().string(), path("keymap.json"), "sx"});
  EXPECT_EQ(unmapped.status, exitBadInput);
  EXPECT_THAT(unmapped.err, HasSubstr("\"x\" in \"sx\" has no key-map entry"));
  const auto none = run({"candidates", dir_.path().string(), path("keymap.json"), "mb"});
  EXPECT_THAT(none.out, HasSubstr("(no candidates)"));
  EXPECT_THAT(none.out, Not(HasSubstr("after picking")));
}

TEST_F(CommandsTest, CandidatesRefusesBadDirectoriesAndKeyMaps) {
  EXPECT_EQ(run({"candidates", path("nowhere"), path("keymap.json"), "sa"}).status, exitBadInput);
  writeFile(dir_ / "broken.json", R"({"map": {"a": 1}})");
  const auto broken = run({"candidates", dir_.path().string(), path("broken.json"), "sa"});
  EXPECT_EQ(broken.status, exitBadInput);
  EXPECT_THAT(broken.err, HasSubstr("not a key map"));
  EXPECT_EQ(run({"candidates", dir_.path().string(), path("none.json"), "sa"}).status, exitIoError);
}

TEST_F(CommandsTest, StatsCountsKeysAndListsTopWords) {
  const auto stats = run({"stats", dir_.path().string()});
  EXPECT_EQ(stats.status, exitOk);
  EXPECT_THAT(stats.out, HasSubstr("unigram.fst: 6 words"));
  EXPECT_THAT(stats.out, HasSubstr("counts total 609"));
  EXPECT_THAT(stats.out, HasSubstr("bigram.fst: 2 pairs after 1 distinct words"));
  EXPECT_THAT(stats.out, HasSubstr("  1\tسالام\t500\n  2\tدوست\t40\n"));
  EXPECT_THAT(stats.out, HasSubstr(" ms (median of 21)\n"));
}

TEST_F(CommandsTest, EvalReportsTheFigures) {
  writeFile(dir_ / "text.txt", "سالام دوست\nسالام كىتاب!\n");
  const auto on = run({"eval", dir_.path().string(), path("keymap.json"), path("text.txt")});
  EXPECT_EQ(on.status, exitOk) << on.err;
  EXPECT_THAT(on.out, HasSubstr("4 words, 19 letters, 2 lines; learning on"));
  EXPECT_THAT(on.out, HasSubstr("keystroke savings"));
  EXPECT_THAT(on.out, HasSubstr("from predictions     50.0 %"));
  const auto off =
      run({"eval", dir_.path().string(), path("keymap.json"), path("text.txt"), "--no-learning"});
  EXPECT_THAT(off.out, HasSubstr("learning off"));
  // Each layout on the same text, from an engine of its own.
  writeFile(dir_ / "uly.json", R"({"map": {"s": "س", "a": "ا", "l": "ل", "m": "م", "d": "د",
      "o": "و", "t": "ت", "k": "ك", "i": "ى", "b": "ب"}, "digraphs": {"sh": "ش"}})");
  const auto both = run({"eval", dir_.path().string(), path("text.txt"), "--keymap",
                         path("keymap.json"), "--keymap", path("uly.json")});
  EXPECT_EQ(both.status, exitOk) << both.err;
  EXPECT_THAT(both.out, HasSubstr("learning on; key map " + path("keymap.json") + "\n"));
  EXPECT_THAT(both.out, HasSubstr("learning on; key map " + path("uly.json") + "\n"));
  writeFile(dir_ / "latin1.txt", "caf\xE9");
  EXPECT_EQ(run({"eval", dir_.path().string(), path("keymap.json"), path("latin1.txt")}).status,
            exitBadInput);
}

}  // namespace
}  // namespace ornav::dict
