// Whole engines with a ranking index against the reference ranking, through random sequences of
// operations: typing, backspace, picks (which learn and save), raw commits, resets and cloud
// merges. After every operation the engine's list must be the reference list for its state, so a
// list kept from before a change, or a table out of step with its sorted copy, shows at once.
#include <gtest/gtest.h>

#include <random>

#include "engine.h"
#include "ranking_reference.h"
#include "test_dict.h"
#include "utf8.h"

namespace ornav {
namespace {

using testing::KeyCounts;
using testing::Table;

const char* const letters[] = {"a", "b", "\xD8\xA7", "\xD9\x84", "\xE2\x80\x80"};

Table table_of(const FreqTable& table) {
  return Table(table.begin(), table.end());
}

TEST(EngineDifferential, EveryOperationLeavesTheReferenceList) {
  std::size_t checked = 0, picks = 0, long_lists = 0;
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    const auto pick = [&](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(rng);
    };
    const auto word = [&] {
      std::string w;
      for (int n = pick(1, 5); n > 0; --n)
        w += letters[pick(0, 4)];
      return w;
    };
    KeyCounts unigram, bigram;
    std::vector<std::string> words;
    for (int i = pick(100, 900); i > 0; --i) {
      const std::string w = word();
      unigram[w] = std::uint64_t(pick(0, 3) == 0 ? pick(0, 5) : pick(0, 5000));
      words.push_back(w);
    }
    for (int hub = 0; hub < 3; ++hub) {
      const std::string& first = words[std::size_t(pick(0, int(words.size()) - 1))];
      for (int i = pick(5, 300); i > 0; --i) {
        bigram[testing::pair_key(first, words[std::size_t(pick(0, int(words.size()) - 1))])] =
            std::uint64_t(pick(0, 50));
      }
    }
    testing::TempDir dict, user;
    testing::write_dict(dict.path(), unigram, bigram);
    testing::write_ranking_index(dict.path(), std::uint32_t(pick(0, 30)));
    // Picks learn in memory either way; only some engines also read and write user files (each
    // save is synchronised with the disk, which is slow on a busy machine).
    const bool with_files = seed % 5 == 0;
    if (with_files) {
      std::string picks_text;
      for (int i = pick(0, 80); i > 0; --i)
        picks_text += word() + "\t" + std::to_string(pick(0, 30)) + "\n";
      testing::write_text(user.file("user_freq.tsv"), picks_text);
    }
    auto engine = Engine::create(
        dict.path(), with_files ? std::optional<std::string_view>(user.path()) : std::nullopt);
    ASSERT_TRUE(engine && engine->dictionary().found_index);

    for (int op = 0; op < 300; ++op) {
      switch (pick(0, 12)) {
        case 0:
          engine->backspace();
          break;
        case 1:
        case 2: {
          const auto& list = engine->candidates();
          const std::size_t index = std::size_t(pick(0, int(list.size())));
          const std::string expected = index < list.size() ? list[index] : "";
          ASSERT_EQ(engine->select(index), expected);
          picks += !expected.empty();
          break;
        }
        case 3:
          engine->commit_raw();
          break;
        case 4:
          if (pick(0, 3) == 0) engine->reset();
          break;
        case 5: {
          std::string cloud;
          for (int i = pick(0, 120); i > 0; --i)
            cloud += word() + "\t" + std::to_string(pick(0, 8000)) + "\n";
          engine->sync_extra_dict(cloud);
          break;
        }
        default:
          engine->input(letters[pick(0, 4)]);
      }
      const auto want =
          testing::reference_rank(unigram, bigram, engine->buffer(), engine->prev_word(),
                                  table_of(engine->user_freq()), table_of(engine->extra_dict()));
      ASSERT_EQ(engine->candidates(), want) << "seed " << seed << ", operation " << op;
      ++checked;
      long_lists += want.size() == list_limit;
    }
  }
  EXPECT_GT(picks, 500u);
  EXPECT_GT(long_lists, 1000u);
  EXPECT_EQ(checked, 40u * 300u);
}

}  // namespace
}  // namespace ornav
