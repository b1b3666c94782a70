#include "diagnostics/log_format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace ornav {
namespace {

using ::testing::ElementsAre;
using namespace std::chrono;

// 2026-03-04 09:05:03.007 UTC.
const system_clock::time_point kMorning =
    sys_days{year{2026} / March / 4} + hours{9} + minutes{5} + seconds{3} + milliseconds{7};

class LocalTimeZone : public ::testing::Test {
 protected:
  void useZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  void TearDown() override { useZone("UTC"); }
};

TEST_F(LocalTimeZone, TimestampIsLocalWithMilliseconds) {
  useZone("UTC");
  EXPECT_EQ(log_format::timestamp(kMorning), "2026-03-04 09:05:03.007");
  useZone("Asia/Shanghai");  // UTC+8, no daylight saving
  EXPECT_EQ(log_format::timestamp(kMorning), "2026-03-04 17:05:03.007");
  useZone("UTC");
  EXPECT_EQ(log_format::timestamp(kMorning + milliseconds{993}), "2026-03-04 09:05:04.000");
  EXPECT_EQ(log_format::timestamp(system_clock::time_point{} - milliseconds{1}),
            "1969-12-31 23:59:59.999");
}

TEST_F(LocalTimeZone, LineIsBracketedStampMessageAndLF) {
  useZone("UTC");
  const std::string line = log_format::line("词库已加载", kMorning);
  EXPECT_EQ(line, "[2026-03-04 09:05:03.007] 词库已加载\n");
  EXPECT_EQ(line.find("词"), 26u);  // "[" + 23 + "] "
  // Line breaks inside the message are kept as given.
  EXPECT_EQ(log_format::line("a\r\nb", kMorning), "[2026-03-04 09:05:03.007] a\r\nb\n");
  EXPECT_EQ(log_format::line("", kMorning), "[2026-03-04 09:05:03.007] \n");
}

TEST(NonEmptyLines, SplitsAtEveryLineBreak) {
  const auto lines =
      log_format::nonEmptyLines("a\nb\r\nc\rd\ve\ff\xC2\x85g\xE2\x80\xA8h\xE2\x80\xA9i\n\n\r\n\nj");
  ASSERT_TRUE(lines);
  EXPECT_THAT(*lines, ElementsAre("a", "b", "c", "d", "e", "f", "g", "h", "i", "j"));
}

TEST(NonEmptyLines, EdgeCases) {
  EXPECT_THAT(*log_format::nonEmptyLines(""), ElementsAre());
  EXPECT_THAT(*log_format::nonEmptyLines("\n\n\r\n"), ElementsAre());
  EXPECT_THAT(*log_format::nonEmptyLines("no break"), ElementsAre("no break"));
  EXPECT_THAT(*log_format::nonEmptyLines("  \n"), ElementsAre("  "));  // spaces are not blank
  EXPECT_THAT(*log_format::nonEmptyLines("ئا\n"), ElementsAre("ئا"));
  // U+2027 and U+0086 are ordinary characters.
  EXPECT_THAT(*log_format::nonEmptyLines("x\xE2\x80\xA7y\xC2\x86z"),
              ElementsAre("x\xE2\x80\xA7y\xC2\x86z"));
  EXPECT_FALSE(log_format::nonEmptyLines("ok\n\xFF\n"));
  EXPECT_FALSE(log_format::nonEmptyLines("\xE2\x80"));      // truncated sequence
  EXPECT_FALSE(log_format::nonEmptyLines("\xED\xA0\x80"));  // encoded surrogate
}

TEST(NonEmptyLines, LastOnesOnly) {
  EXPECT_THAT(*log_format::lastNonEmptyLines("a\n\nb\r\nc\n", 2), ElementsAre("b", "c"));
  EXPECT_THAT(*log_format::lastNonEmptyLines("a\nb", 5), ElementsAre("a", "b"));
  EXPECT_THAT(*log_format::lastNonEmptyLines("a\nb", 0), ElementsAre());
  // Broken bytes anywhere spoil the whole text, also before the lines that are kept.
  EXPECT_FALSE(log_format::lastNonEmptyLines("\xFF\na\nb", 1));
}

}  // namespace
}  // namespace ornav
