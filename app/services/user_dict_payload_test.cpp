#include "services/user_dict_payload.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace ornav {
namespace {

using Entries = std::vector<UserDictUploadEntry>;

TEST(UserDictCountingTest, SixLineExample) {
  EXPECT_EQ(countUserDictWords("ab\t3\nab\t5\na\t9\ncd\t0\nef\tx\ngh\t1\t2\n"),
            (UserDictCounts{{"ab", 5}}));
}

TEST(UserDictCountingTest, LineRules) {
  // Empty pieces between TABs are dropped, so a doubled TAB still gives two pieces.
  EXPECT_EQ(countUserDictWords("ab\t\t4"), (UserDictCounts{{"ab", 4}}));
  // The count is not trimmed; a CR or space makes it unreadable.
  EXPECT_TRUE(countUserDictWords("ab\t4\r\nab\t 4\ncd\t4 ").empty());
  // Signs are allowed, but only positive counts are kept.
  EXPECT_EQ(countUserDictWords("ab\t+7\ncd\t-3"), (UserDictCounts{{"ab", 7}}));
  // Larger than 64 bits does not parse.
  EXPECT_TRUE(countUserDictWords("ab\t99999999999999999999").empty());
  EXPECT_EQ(countUserDictWords("ab\t9223372036854775807"), (UserDictCounts{{"ab", INT64_MAX}}));
  // The word is trimmed of Unicode white space, including a no-break space.
  EXPECT_EQ(countUserDictWords("  ab\xC2\xA0\t2"), (UserDictCounts{{"ab", 2}}));
  // Counts are not added across lines; the largest wins.
  EXPECT_EQ(countUserDictWords("ab\t3\n\n\nab\t2"), (UserDictCounts{{"ab", 3}}));
  EXPECT_TRUE(countUserDictWords("").empty());
  EXPECT_TRUE(countUserDictWords("\n\n").empty());
}

TEST(UserDictCountingTest, LengthIsCountedInUserVisibleCharacters) {
  // e + combining acute is one character on screen: too short.
  EXPECT_TRUE(countUserDictWords("e\xCC\x81\t3").empty());
  // A flag is one character made of two regional indicators.
  EXPECT_TRUE(countUserDictWords("\xF0\x9F\x87\xA8\xF0\x9F\x87\xB3\t3").empty());
  // Two Uyghur letters, four bytes.
  EXPECT_EQ(countUserDictWords("\xD8\xA6\xD8\xA7\t3").size(), 1u);
  // Ill-formed UTF-8 words are skipped, never sent mangled.
  EXPECT_TRUE(countUserDictWords("a\xFF\xFE\t3").empty());
}

TEST(UserDictSnapshotTest, StoredSnapshotReading) {
  EXPECT_EQ(parseUploadedSnapshot(R"({"ab":5,"cd":0,"ef":-2,"gh":"3","ij":1.5,"kl":true,"mn":2})"),
            (UserDictCounts{{"ab", 5}, {"mn", 2}}));
  EXPECT_TRUE(parseUploadedSnapshot("[1,2]").empty());
  EXPECT_TRUE(parseUploadedSnapshot("not json").empty());
  EXPECT_TRUE(parseUploadedSnapshot("").empty());
  EXPECT_TRUE(parseUploadedSnapshot(R"({"ab":18446744073709551615})").empty());
  UserDictCounts snapshot{{"ab", 7}, {"\xD8\xA6\xD8\xA7", 2}};
  EXPECT_EQ(parseUploadedSnapshot(serializeUploadedSnapshot(snapshot)), snapshot);
}

TEST(UserDictPayloadTest, SendsOnlyGrowthInAscendingOrder) {
  auto payload = buildUserDictUploadPayload("cd\t2\nab\t7", false, {{"ab", 5}});
  ASSERT_TRUE(payload);
  EXPECT_EQ(payload->entries, (Entries{{"ab", 2}, {"cd", 2}}));
  EXPECT_EQ(payload->snapshot, (UserDictCounts{{"ab", 7}, {"cd", 2}}));
}

TEST(UserDictPayloadTest, NothingGrewMeansNoPayload) {
  EXPECT_FALSE(buildUserDictUploadPayload("ab\t7", false, {{"ab", 9}}));
  EXPECT_FALSE(buildUserDictUploadPayload("ab\t9", false, {{"ab", 9}}));
  EXPECT_FALSE(buildUserDictUploadPayload("a\t9\n", false, {}));
}

TEST(UserDictPayloadTest, SnapshotKeepsVanishedWordsAndFollowsLoweredCounts) {
  auto payload = buildUserDictUploadPayload("ab\t3\ncd\t4", false, {{"ab", 5}, {"zz", 4}});
  ASSERT_TRUE(payload);
  EXPECT_EQ(payload->entries, (Entries{{"cd", 4}}));
  EXPECT_EQ(payload->snapshot, (UserDictCounts{{"ab", 3}, {"cd", 4}, {"zz", 4}}));
}

TEST(UserDictPayloadTest, ForcedUploadSendsEverythingInFull) {
  auto payload = buildUserDictUploadPayload("ab\t7", true, {{"ab", 5}, {"zz", 4}});
  ASSERT_TRUE(payload);
  EXPECT_EQ(payload->entries, (Entries{{"ab", 7}}));
  EXPECT_EQ(payload->snapshot, (UserDictCounts{{"ab", 7}}));
}

TEST(UserDictPayloadTest, OrderIsByCodePoint) {
  auto payload = buildUserDictUploadPayload("\xD8\xA6\xD8\xA7\t1\nzz\t1\nZa\t1\naa\t1", false, {});
  ASSERT_TRUE(payload);
  ASSERT_EQ(payload->entries.size(), 4u);
  EXPECT_EQ(payload->entries[0].word, "Za");
  EXPECT_EQ(payload->entries[1].word, "aa");
  EXPECT_EQ(payload->entries[2].word, "zz");
  EXPECT_EQ(payload->entries[3].word, "\xD8\xA6\xD8\xA7");
}

TEST(Utf8ValidityTest, WellFormedOnly) {
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_TRUE(isValidUtf8("ab \xD8\xA6\xF0\x9F\x87\xA8"));
  EXPECT_FALSE(isValidUtf8("a\xFF"));
  EXPECT_FALSE(isValidUtf8("\xD8"));          // truncated
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));      // overlong
}

}  // namespace
}  // namespace ornav
