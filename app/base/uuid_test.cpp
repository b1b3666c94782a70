#include "base/uuid.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace ornav {
namespace {

TEST(RandomUUID, IsCanonicalVersionFourAndDiffersEachTime) {
  const std::regex canonical("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string id = makeRandomUUID();
    EXPECT_TRUE(std::regex_match(id, canonical)) << id;
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 200u);
}

}  // namespace
}  // namespace ornav
