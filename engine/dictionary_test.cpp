// The dictionary behind engines: shared by the engines of a process, opened afresh when its files
// are replaced, and its ranking index optional: missing, stale, damaged or wrong, the engine ranks
// exactly as without it.
#include "dictionary.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "engine.h"
#include "file_bytes.h"
#include "fst/crc32c.h"
#include "index_places.h"
#include "ranking_index_builder.h"
#include "ranking_index_format.h"
#include "ranking_reference.h"
#include "test_dict.h"

namespace ornav {
namespace {

using testing::KeyCounts;
using testing::TempDir;

const char* const letters[] = {"a", "b", "\xD8\xA7", "\xD9\x84"};

// Words over four letters with counts that often tie, and a context word with many pairs.
struct Words {
  KeyCounts unigram, bigram;
  explicit Words(std::uint64_t salt) {
    for (int i = 0; i < 300; ++i) {
      std::string w;
      for (int k = i; k > 0 || w.empty(); k /= 4)
        w += letters[k % 4];
      unigram[w] = (std::uint64_t(i) * 7 + salt) % 23;
    }
    for (const auto& [word, count] : unigram)
      bigram[testing::pair_key("a", word)] = count % 3;
  }
};

std::vector<std::uint8_t> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  // Written beside and renamed over, as installers do: engines that map the old file keep it.
  const std::string temp = path + ".new";
  std::ofstream(temp, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_EQ(std::rename(temp.c_str(), path.c_str()), 0);
}

// The engine's lists for every one- and two-letter buffer, with and without the context word,
// and the predictions after it, against the reference ranking.
void expect_reference_lists(Engine& engine, const Words& words) {
  for (const bool context : {false, true}) {
    for (const char* first : letters) {
      for (const char* second : {"", "a", "\xD8\xA7"}) {
        engine.reset();
        if (context) {
          engine.input("a");
          engine.commit_raw();
        }
        engine.input(first);
        engine.input(second);
        EXPECT_EQ(engine.candidates(),
                  testing::reference_rank(words.unigram, words.bigram, engine.buffer(),
                                          engine.prev_word(), {}, {}))
            << engine.buffer() << (context ? " after a" : "");
      }
    }
  }
  engine.reset();
  engine.input("a");
  engine.commit_raw();
  EXPECT_EQ(engine.candidates(),
            testing::reference_rank(words.unigram, words.bigram, "", "a", {}, {}));
}

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_CACHE_HOME", cache_.path().c_str(), 1);  // where indexes go that cannot be beside
    testing::write_dict(dir_.path(), words_.unigram, words_.bigram);
    testing::write_ranking_index(dir_.path());
  }
  std::unique_ptr<Engine> open() {
    auto engine = Engine::create(dir_.path(), std::nullopt);
    EXPECT_NE(engine, nullptr);
    return engine;
  }
  TempDir dir_, cache_;
  Words words_{0};
};

TEST_F(DictionaryTest, EnginesOfAProcessShareOneDictionary) {
  auto first = open();
  auto second = open();
  EXPECT_EQ(&first->dictionary(), &second->dictionary());
  ASSERT_TRUE(first->dictionary().found_index);
  expect_reference_lists(*first, words_);
  first.reset();
  expect_reference_lists(*second, words_);  // the dictionary lives as long as an engine uses it
}

TEST_F(DictionaryTest, ReplacedFilesAreOpenedAfreshWhileOlderEnginesKeepTheirs) {
  auto before = open();
  const Words other(5);
  TempDir staging;
  testing::write_dict(staging.path(), other.unigram, other.bigram);
  testing::write_ranking_index(staging.path());
  for (const char* name : {"unigram.fst", "bigram.fst", "ranking.idx"})
    write_file(dir_.file(name), read_file(staging.file(name)));
  auto after = open();
  EXPECT_NE(&before->dictionary(), &after->dictionary());
  ASSERT_TRUE(after->dictionary().found_index);
  expect_reference_lists(*after, other);
  expect_reference_lists(*before, words_);
}

// Without an index the dictionary builds one in the background, ranks the same before and after,
// and keeps it beside the maps: what the dictionary tool writes for them, found by the next
// opening.
TEST_F(DictionaryTest, MissingIndexIsBuiltAndKeptBesideTheMaps) {
  ASSERT_EQ(::unlink(dir_.file("ranking.idx").c_str()), 0);
  auto engine = open();
  EXPECT_FALSE(engine->dictionary().found_index);
  expect_reference_lists(*engine, words_);
  engine->dictionary().wait_for_index();
  ASSERT_TRUE(engine->dictionary().index());
  expect_reference_lists(*engine, words_);
  const Dictionary& d = engine->dictionary();
  EXPECT_EQ(read_file(dir_.file("ranking.idx")), build_ranking_index(d.unigram, d.bigram));
  engine.reset();
  EXPECT_TRUE(open()->dictionary().found_index);
}

TEST_F(DictionaryTest, StaleIndexOfEarlierMaps) {
  const Words other(9);
  TempDir staging;
  testing::write_dict(staging.path(), other.unigram, other.bigram);
  for (const char* name : {"unigram.fst", "bigram.fst"})
    write_file(dir_.file(name), read_file(staging.file(name)));
  auto engine = open();
  EXPECT_FALSE(engine->dictionary().found_index);
  engine->dictionary().wait_for_index();
  EXPECT_TRUE(engine->dictionary().index());
  expect_reference_lists(*engine, other);
}

TEST_F(DictionaryTest, DamagedIndexFiles) {
  const auto good = read_file(dir_.file("ranking.idx"));
  std::vector<std::vector<std::uint8_t>> damaged;
  damaged.push_back({});
  damaged.push_back({good.begin(), good.begin() + long(good.size() / 2)});
  damaged.push_back(good);
  damaged.back()[good.size() / 3] ^= 0x10;
  damaged.push_back(std::vector<std::uint8_t>(good.size(), 0xAB));
  // Each is refused, and replaced by one built for the maps.
  for (const auto& bytes : damaged) {
    write_file(dir_.file("ranking.idx"), bytes);
    auto engine = open();
    EXPECT_FALSE(engine->dictionary().found_index);
    expect_reference_lists(*engine, words_);
    engine->dictionary().wait_for_index();
    EXPECT_NE(read_file(dir_.file("ranking.idx")), bytes);
  }
  // A directory where the file should be.
  ASSERT_EQ(::unlink(dir_.file("ranking.idx").c_str()), 0);
  ASSERT_EQ(::mkdir(dir_.file("ranking.idx").c_str(), 0700), 0);
  auto engine = open();
  EXPECT_FALSE(engine->dictionary().found_index);
}

// Where the index cannot be kept beside the maps, it is kept in the user's cache under the maps'
// identity; a file there that is not a valid index for them (of other maps, damaged, foreign) is
// built again, never used; with nowhere to keep it, the engine uses it while it runs.
TEST_F(DictionaryTest, IndexKeptInTheCacheWhenItCannotBeBesideTheMaps) {
  const auto stale = read_file(dir_.file("ranking.idx"));  // other maps come below
  ASSERT_EQ(::unlink(dir_.file("ranking.idx").c_str()), 0);
  ASSERT_EQ(::mkdir(dir_.file("ranking.idx").c_str(), 0700), 0);
  const Words other(9);
  testing::write_dict(dir_.path(), other.unigram, other.bigram);
  auto engine = open();
  const Dictionary& d = engine->dictionary();
  const std::string cached = cache_.file("Ornavel/") + *cached_index_name(d.unigram, d.bigram);
  d.wait_for_index();
  const auto good = read_file(cached);
  EXPECT_EQ(good, build_ranking_index(d.unigram, d.bigram));
  engine.reset();
  auto damaged = good;
  damaged[good.size() / 2] ^= 1;
  for (const auto& bytes : {stale, damaged, std::vector<std::uint8_t>(64, 'x')}) {
    write_file(cached, bytes);
    engine = open();
    EXPECT_FALSE(engine->dictionary().found_index);
    engine->dictionary().wait_for_index();
    EXPECT_EQ(read_file(cached), good);
    engine.reset();
  }
  EXPECT_TRUE(open()->dictionary().found_index);
  ASSERT_EQ(::unlink(cached.c_str()), 0);
  ::setenv("XDG_CACHE_HOME", dir_.file("unigram.fst").c_str(), 1);  // a file: no folder there
  engine = open();
  engine->dictionary().wait_for_index();
  EXPECT_TRUE(engine->dictionary().index());
  expect_reference_lists(*engine, other);
}

// Indexes of maps that differ only in their checksums live side by side in the cache.
TEST_F(DictionaryTest, CachedIndexesOfMapsThatDifferOnlyInTheirChecksums) {
  TempDir dirs[2];
  std::string names[2];
  for (int i = 0; i < 2; ++i) {
    testing::write_dict(dirs[i].path(), {{"w", 5u + i}}, {{testing::pair_key("w", "w"), 1}});
    ASSERT_EQ(::mkdir(dirs[i].file("ranking.idx").c_str(), 0700), 0);
    auto engine = Engine::create(dirs[i].path(), std::nullopt);
    engine->dictionary().wait_for_index();
    names[i] = *cached_index_name(engine->dictionary().unigram, engine->dictionary().bigram);
  }
  EXPECT_EQ(read_file(dirs[0].file("unigram.fst")).size(),
            read_file(dirs[1].file("unigram.fst")).size());
  EXPECT_NE(names[0], names[1]);
  EXPECT_TRUE(Engine::create(dirs[0].path(), std::nullopt)->dictionary().found_index);
}

// A process that finds another one building the index (it holds the lock on the word map) waits,
// then takes the index that one kept instead of building its own.
TEST_F(DictionaryTest, WaitsForAnotherProcessBuildingTheIndex) {
  const int fd = ::open(dir_.file("unigram.fst").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const auto theirs = read_file(dir_.file("ranking.idx"));
  ASSERT_EQ(::unlink(dir_.file("ranking.idx").c_str()), 0);
  auto engine = open();
  write_file(dir_.file("ranking.idx"), theirs);
  ::close(fd);
  engine->dictionary().wait_for_index();
  ASSERT_TRUE(engine->dictionary().index());
  EXPECT_EQ(engine->dictionary().index()->prefix_threshold(), 4u);  // theirs, not one of its own
}

// An index whose checksum is right but whose lists are not (out of order, a word under another
// prefix): the reader cannot tell without reading every list, so the ranking checks what it reads
// and ranks from the maps instead.
TEST_F(DictionaryTest, ListsThatBreakTheirOrderAreNotUsed) {
  auto bytes = read_file(dir_.file("ranking.idx"));
  std::uint64_t entry_count = 0;
  std::uint32_t prefixes = 0, contexts = 0;
  std::memcpy(&prefixes, bytes.data() + ranking_index::kPrefixCountAt, 4);
  std::memcpy(&contexts, bytes.data() + ranking_index::kContextCountAt, 4);
  std::memcpy(&entry_count, bytes.data() + ranking_index::kEntryCountAt, 8);
  ASSERT_GT(entry_count, 4u);
  const std::size_t entries = ranking_index::kHeaderSize +
                              prefixes * ranking_index::kPrefixRecordSize +
                              contexts * ranking_index::kContextRecordSize;
  // Every entry gets the same word: lists are no longer strictly ordered, and most words are no
  // longer under their prefix.
  for (std::uint64_t i = 1; i < entry_count; ++i) {
    std::memcpy(bytes.data() + entries + i * ranking_index::kEntrySize, bytes.data() + entries, 8);
  }
  const std::uint32_t sum = fst::crc32c(bytes.data(), bytes.size() - 4);
  std::memcpy(bytes.data() + bytes.size() - 4, &sum, 4);
  write_file(dir_.file("ranking.idx"), bytes);
  auto engine = open();
  ASSERT_TRUE(engine->dictionary().found_index);
  expect_reference_lists(*engine, words_);
}

// Creating an engine reads only what the maps' footers and roots need, not the whole files to
// compare them with their checksums: a map whose stored checksum no longer matches still opens.
// Its ranking index was bound to the old checksum, and no index is built for a damaged map, so the
// engine ranks from the maps alone.
TEST_F(DictionaryTest, MapsAreNotReadWholeToCompareTheirChecksums) {
  auto bytes = read_file(dir_.file("bigram.fst"));
  ASSERT_GT(bytes.size(), 4u);
  bytes.back() ^= 0xFF;
  write_file(dir_.file("bigram.fst"), bytes);
  auto engine = open();
  ASSERT_NE(engine, nullptr);
  EXPECT_FALSE(engine->dictionary().bigram.checksum_matches());
  EXPECT_TRUE(engine->dictionary().unigram.checksum_matches());
  engine->dictionary().wait_for_index();
  EXPECT_FALSE(engine->dictionary().index());
  expect_reference_lists(*engine, words_);
}

// The maps' pages are read when the dictionary opens (a large one's rest in the background), and
// a missing index is built in the background; engines released at once and reopened find the
// dictionary whole each time.
TEST_F(DictionaryTest, ReleasedWhileItsFilesAreStillBeingRead) {
  for (int i = 0; i < 20; ++i) {
    ::unlink(dir_.file("ranking.idx").c_str());
    open().reset();
  }
  auto engine = open();
  ASSERT_TRUE(engine->dictionary().warmer);
  engine->dictionary().warmer->wait();
  expect_reference_lists(*engine, words_);
}

TEST(FileBytes, MapsRegularFilesAndReadsWhatCannotBeMapped) {
  TempDir dir;
  testing::write_text(dir.file("text"), "some bytes");
  testing::write_text(dir.file("empty"), "");
  for (const char* name : {"text", "empty"}) {
    const int fd = ::open(dir.file(name).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    struct stat st {};
    ASSERT_EQ(::fstat(fd, &st), 0);
    const auto bytes = FileBytes::load(fd, std::uint64_t(st.st_size));
    ::close(fd);  // the mapping outlives the descriptor
    ASSERT_TRUE(bytes);
    const auto span = bytes->bytes();
    EXPECT_EQ(std::string(span.begin(), span.end()), testing::read_text(dir.file(name)));
    EXPECT_EQ(bytes->mapped(), st.st_size > 0);
  }
}

}  // namespace
}  // namespace ornav
