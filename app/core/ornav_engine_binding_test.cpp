#include "core/ornav_engine_binding.h"

#include <gtest/gtest.h>

#include "core/controller_test_support.h"

namespace ornav {
namespace {

using controller_testing::fakeEngineApi;
using controller_testing::FakeEngineScope;
using controller_testing::FakeEngineState;

TEST(CandidateText, SplitsAtEveryLineFeed) {
  EXPECT_TRUE(splitCandidateText("").empty());
  EXPECT_EQ(splitCandidateText("a\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(splitCandidateText("a\n\nc"), (std::vector<std::string>{"a", "", "c"}));
  EXPECT_EQ(splitCandidateText("one"), (std::vector<std::string>{"one"}));
}

class EngineBindingTest : public ::testing::Test {
 protected:
  FakeEngineState state;
  FakeEngineScope scope{state};
};

TEST_F(EngineBindingTest, EveryStringIsReleasedExactlyOnceAlsoWhenEmpty) {
  {
    auto engine = OrnavEngine::create("/d", std::nullopt, fakeEngineApi());
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->buffer(), "");
    engine->input("ab");
    EXPECT_EQ(engine->buffer(), "ab");
    state.words = {"abc", "abd"};
    EXPECT_EQ(engine->candidates(), (std::vector<std::string>{"abc", "abd"}));
    EXPECT_EQ(engine->select(7), "");
    EXPECT_EQ(engine->select(1), "abd");
    EXPECT_EQ(engine->commitRaw(), "");
    EXPECT_EQ(engine->exportUserFreq(), "");
    EXPECT_EQ(engine->exportUserUnknown(), "");
  }
  EXPECT_EQ(state.stringsAllocated, 8);
  EXPECT_EQ(state.stringsFreed, state.stringsAllocated);
  EXPECT_EQ(state.enginesFreed, 1);
}

TEST_F(EngineBindingTest, NullResultsReadAsEmpty) {
  auto engine = OrnavEngine::create("/d", std::nullopt, fakeEngineApi());
  engine->input("x");
  state.nullResults = true;
  EXPECT_EQ(engine->buffer(), "");
  EXPECT_TRUE(engine->candidates().empty());
  EXPECT_EQ(engine->select(0), "");
  EXPECT_EQ(engine->exportUserFreq(), "");
  EXPECT_EQ(state.stringsFreed, 0);
}

TEST_F(EngineBindingTest, PassesDirectoriesAndNullUserDirectory) {
  auto a = OrnavEngine::create("/res/dict", std::string("/support/Ornavel"), fakeEngineApi());
  EXPECT_EQ(state.lastDictDir, "/res/dict");
  EXPECT_EQ(state.lastUserDir, "/support/Ornavel");
  auto b = OrnavEngine::create("/res/dict", std::nullopt, fakeEngineApi());
  EXPECT_EQ(state.lastUserDir, std::nullopt);
}

TEST_F(EngineBindingTest, IllFormedBytesBecomeReplacementCharacters) {
  auto engine = OrnavEngine::create("/d", std::nullopt, fakeEngineApi());
  engine->input("a\xFF");
  EXPECT_EQ(engine->buffer(), "a\xEF\xBF\xBD");
}

TEST_F(EngineBindingTest, BackspaceAndSyncPassResultsThrough) {
  auto engine = OrnavEngine::create("/d", std::nullopt, fakeEngineApi());
  engine->input("ئا");
  EXPECT_TRUE(engine->backspace());
  EXPECT_FALSE(engine->backspace());
  EXPECT_FALSE(engine->backspace());
  state.syncResult = -1;
  EXPECT_EQ(engine->syncExtraDict("x\t1\n"), -1);
  state.syncResult = 42;
  EXPECT_EQ(engine->syncExtraDict("x\t1\n"), 42);
  EXPECT_EQ(state.syncedTexts.back(), "x\t1\n");
}

TEST_F(EngineBindingTest, FailureLogsTheDictionaryDirectory) {
  std::vector<std::string> lines;
  state.failCreation = true;
  EXPECT_EQ(OrnavEngine::create("/nowhere/dict", std::nullopt, fakeEngineApi(),
                                [&](const std::string& line) { lines.push_back(line); }),
            nullptr);
  EXPECT_EQ(lines, std::vector<std::string>{"OrnavEngine: 引擎创建失败，词典目录=/nowhere/dict"});
  EXPECT_EQ(state.enginesFreed, 0);
}

}  // namespace
}  // namespace ornav
