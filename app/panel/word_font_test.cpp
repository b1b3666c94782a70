// The word font: the bundle's ornav.ttf when it registers, else one log line and Geeza Pro, else
// the system font.
#include "panel/word_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/fake_system.h"
#include "testing/fake_ui.h"

namespace ornav {
namespace {

using testing::FakeBundle;
using testing::FakeTextMeasurer;

const std::string kFailure = "CandidatePanel: ornav.ttf 加载失败，回退系统字体";

class WordFontTest : public ::testing::Test {
 protected:
  std::function<void(const std::string&)> log() {
    return [this](const std::string& line) { logs.push_back(line); };
  }
  FakeBundle bundle;
  FakeTextMeasurer measurer;
  std::vector<std::string> logs;
};

TEST_F(WordFontTest, TheBundledFileRegistersUnderItsName) {
  const auto file = bundle.addResource("ornav.ttf", "font");
  measurer.registrableFiles[file.string()] = "OrnavSans-Regular";
  EXPECT_EQ(loadWordFont(18, &bundle, measurer, log()), Font::named("OrnavSans-Regular", 18));
  // A second panel of the process registers again and gets the same font.
  EXPECT_EQ(loadWordFont(18, &bundle, measurer, log()), Font::named("OrnavSans-Regular", 18));
  EXPECT_EQ(measurer.registrations, (std::vector<std::string>{file.string(), file.string()}));
  EXPECT_TRUE(logs.empty());
}

TEST_F(WordFontTest, AMissingResourceFallsBackToGeezaProWithOneLogLine) {
  EXPECT_EQ(loadWordFont(18, &bundle, measurer, log()), Font::named("Geeza Pro", 18));
  EXPECT_EQ(logs, (std::vector<std::string>{kFailure}));
  EXPECT_TRUE(measurer.registrations.empty());
}

TEST_F(WordFontTest, AFileThatDoesNotRegisterFallsBack) {
  bundle.addResource("ornav.ttf", "not a font");
  EXPECT_EQ(loadWordFont(18, &bundle, measurer, log()), Font::named("Geeza Pro", 18));
  EXPECT_EQ(measurer.registrations.size(), 1u);
  EXPECT_EQ(logs, (std::vector<std::string>{kFailure}));
}

TEST_F(WordFontTest, ARegisteredNameWithoutAFontFallsBack) {
  struct ForgetfulMeasurer : FakeTextMeasurer {
    bool hasFont(const std::string& name) const override { return name == "Geeza Pro"; }
  } forgetful;
  const auto file = bundle.addResource("ornav.ttf", "font");
  forgetful.registrableFiles[file.string()] = "OrnavSans-Regular";
  EXPECT_EQ(loadWordFont(18, &bundle, forgetful, log()), Font::named("Geeza Pro", 18));
  EXPECT_EQ(logs, (std::vector<std::string>{kFailure}));
}

TEST_F(WordFontTest, WithoutGeezaProTheSystemFont) {
  measurer.availableFonts.clear();
  EXPECT_EQ(loadWordFont(18, &bundle, measurer, log()), Font::system(18));
  EXPECT_EQ(loadWordFont(12, nullptr, measurer, nullptr), Font::system(12));  // no bundle, no log
  EXPECT_EQ(logs.size(), 1u);
}

}  // namespace
}  // namespace ornav
