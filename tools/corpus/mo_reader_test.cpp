#include "mo_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "mo_test_support.h"

namespace ornav::corpus {
namespace {

using ::testing::ElementsAre;
using testing::make_mo;
using testing::put32;

const std::vector<std::pair<std::string, std::string>> kEntries = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},  // the header
    {"Open", "ئېچىش"},
    {std::string("%d file") + '\0' + "%d files", std::string("%d ھۆججەت") + '\0' + "%d ھۆججەتلەر"},
    {"Untranslated", ""},
};

TEST(MoReader, ReadsTranslationsAndPluralFormsInBothByteOrders) {
  for (bool big_endian : {false, true}) {
    auto strings = read_mo_translations(make_mo(kEntries, big_endian));
    ASSERT_TRUE(strings.has_value());
    EXPECT_THAT(*strings, ElementsAre("ئېچىش", "%d ھۆججەت", "%d ھۆججەتلەر"));
  }
}

TEST(MoReader, EmptyCatalogIsValid) {
  auto strings = read_mo_translations(make_mo({}));
  ASSERT_TRUE(strings.has_value());
  EXPECT_TRUE(strings->empty());
}

TEST(MoReader, RejectsWhatIsNotACatalog) {
  EXPECT_FALSE(read_mo_translations("").has_value());
  EXPECT_FALSE(read_mo_translations("not a catalog at all").has_value());
  std::string bytes = make_mo(kEntries);
  bytes[0] = 'X';
  EXPECT_FALSE(read_mo_translations(bytes).has_value());
}

TEST(MoReader, RejectsTablesAndStringsOutsideTheFile) {
  std::string bytes = make_mo(kEntries);
  std::string huge_count = bytes;
  put32(huge_count, 8, 0xFFFFFFFF, false);
  EXPECT_FALSE(read_mo_translations(huge_count).has_value());

  std::string bad_table = bytes;
  put32(bad_table, 16, static_cast<uint32_t>(bytes.size()) - 4, false);
  EXPECT_FALSE(read_mo_translations(bad_table).has_value());

  std::string bad_string = bytes;
  uint32_t translations = 28 + 8 * static_cast<uint32_t>(kEntries.size());
  put32(bad_string, translations + 8 + 4, 0xFFFFFFF0, false);  // offset of entry 1
  EXPECT_FALSE(read_mo_translations(bad_string).has_value());

  std::string long_string = bytes;
  put32(long_string, translations + 8, 0x7FFFFFFF, false);  // length of entry 1
  EXPECT_FALSE(read_mo_translations(long_string).has_value());
}

TEST(MoReader, EveryTruncationIsHandled) {
  std::string bytes = make_mo(kEntries);
  for (size_t n = 0; n < bytes.size(); ++n) {
    auto strings = read_mo_translations(std::string_view(bytes).substr(0, n));
    // Cutting into the string data must never yield bytes from beyond the cut.
    if (strings) {
      for (const auto& s : *strings)
        EXPECT_LE(s.size(), n);
    }
  }
}

}  // namespace
}  // namespace ornav::corpus
