// The ornavel-session program itself: its command line, its output discipline (one JSON line per
// event on standard output, logs on standard error, status 0 at the end of input), and a
// paragraph of Uyghur typed with the shipped dictionary and key map.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/key_map.h"
#include "core/key_map_extras.h"
#include "session_test_support.h"
#include "uyghur_typist.h"

namespace ornav::session_testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "ornavel-session-bin-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~Scratch() { fs::remove_all(path_); }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct ProgramRun {
  int status = -1;
  std::vector<std::string> lines;
  std::string errors;
};

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

ProgramRun runSession(const std::vector<std::string>& args, const std::string& input) {
  Scratch io;
  writeFile(io / "in", input);
  std::string command = quoted(ORNAV_SESSION_BINARY);
  for (const auto& arg : args)
    command += " " + quoted(arg);
  command += " < " + quoted((io / "in").string()) + " > " + quoted((io / "out").string()) + " 2> " +
             quoted((io / "err").string());
  ProgramRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::istringstream out(readFile(io / "out"));
  for (std::string line; std::getline(out, line);)
    run.lines.push_back(line);
  run.errors = readFile(io / "err");
  return run;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines)
    text += line + "\n";
  return text;
}

TEST(SessionProgram, OneAnswerPerEventOnStdoutAndLogsOnStderr) {
  ScenarioDictionary dict;
  Scratch files;
  writeFile(files / "keymap.json", R"({"map":{"s":"s","u":"u","n":"n"}})");
  const std::vector<std::string> input = {kActivate,    key(0, "s"), "",         "this is not json",
                                          key(49, " "), click(0),    kDeactivate};
  const ProgramRun run = runSession({"--dict", dict.dictDir(), "--user", dict.userDir(), "--keymap",
                                     (files / "keymap.json").string()},
                                    joinLines(input));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), 6u) << run.errors;  // the blank line gets no answer
  for (const auto& line : run.lines) {
    const json out = json::parse(line, nullptr, false);
    ASSERT_TRUE(out.is_object()) << line;
    EXPECT_EQ(out.size(), 7u);
  }
  EXPECT_EQ(
      run.lines[0],
      R"({"handled":null,"document":"","marked":"","selection":[0,0],"panel":{"visible":false,)"
      R"("rows":[],"activeRow":-1,"activeCol":-1,"tabHint":false},"window":null,"cells":[]})");
  // The members before the picture, exactly; the picture's numbers are the layout's own values,
  // with whatever binary fractions their sums carry.
  const std::string shown =
      R"({"handled":true,"document":"","marked":"s","selection":[1,0],"panel":{"visible":true,)"
      R"("rows":[["sun","sup","sip"]],"activeRow":0,"activeCol":0,"tabHint":false},"window":[)";
  EXPECT_EQ(run.lines[1].substr(0, shown.size()), shown);
  const json picture = json::parse(run.lines[1]);
  ASSERT_EQ(picture["window"].size(), 4u);
  EXPECT_NEAR(picture["window"][1].get<double>(), 455.5, 1e-9);
  EXPECT_NEAR(picture["window"][2].get<double>(), 165.2, 1e-9);
  ASSERT_EQ(picture["cells"].size(), 3u);
  EXPECT_TRUE(matches(
      picture["cells"][0],
      {{"index", 0}, {"word", "sun"}, {"digit", "1"}, {"dim", false}, {"highlighted", true}}));
  EXPECT_TRUE(matches(json::parse(run.lines[2]), {{"handled", nullptr}, {"marked", "s"}}));
  EXPECT_TRUE(matches(json::parse(run.lines[3]), {{"handled", true}, {"document", "sun "}}));
  EXPECT_TRUE(matches(json::parse(run.lines[4]), {{"document", "sun day "}}));
  EXPECT_NE(run.errors.find("InputController 被实例化"), std::string::npos);
  EXPECT_NE(run.errors.find("ignored line"), std::string::npos);
}

TEST(SessionProgram, MissingKeyMapAndDictionaryStillRun) {
  Scratch files;
  fs::create_directories(files / "user");
  const ProgramRun run =
      runSession({"--dict", (files / "nodict").string(), "--user", (files / "user").string(),
                  "--keymap", (files / "none.json").string()},
                 joinLines({key(0, "a"), key(49, " ")}));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), 2u);
  EXPECT_TRUE(matches(json::parse(run.lines[0]), {{"handled", false}, {"document", "a"}}));
  EXPECT_TRUE(matches(json::parse(run.lines[1]), {{"handled", false}, {"document", "a "}}));
  EXPECT_NE(run.errors.find("keymap.json 未找到"), std::string::npos);
}

TEST(SessionProgram, MalformedKeyMapLeavesTheMapEmpty) {
  ScenarioDictionary dict;
  Scratch files;
  writeFile(files / "keymap.json", R"({"map":{"s":1}})");
  const ProgramRun run = runSession({"--dict", dict.dictDir(), "--user", dict.userDir(), "--keymap",
                                     (files / "keymap.json").string()},
                                    joinLines({key(1, "s")}));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), 1u);
  EXPECT_TRUE(matches(json::parse(run.lines[0]), {{"handled", false}, {"document", "s"}}));
  EXPECT_NE(run.errors.find("keymap.json 解析失败"), std::string::npos);
}

TEST(SessionProgram, WrongArgumentsAreAUsageError) {
  const ProgramRun run = runSession({"--dict", "/x"}, "");
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.lines.empty());
  EXPECT_NE(run.errors.find("usage: ornavel-session"), std::string::npos);
}

TEST(SessionProgram, AScreensFileSetsTheDisplays) {
  ScenarioDictionary dict;
  Scratch files;
  writeFile(files / "keymap.json", R"({"map":{"s":"s"}})");
  // No screen at all: the window hangs under the caret unclamped, its left edge off to the left.
  writeFile(files / "none.json", "[]\n");
  const std::vector<std::string> args = {"--dict",   dict.dictDir(),
                                         "--user",   dict.userDir(),
                                         "--keymap", (files / "keymap.json").string()};
  auto withScreens = [&](const std::string& file) {
    auto all = args;
    all.push_back("--screens");
    all.push_back((files / file).string());
    return all;
  };
  ProgramRun run = runSession(withScreens("none.json"), joinLines({key(0, "s")}));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), 1u) << run.errors;
  json out = json::parse(run.lines[0]);
  EXPECT_NEAR(out["window"][0].get<double>(), 101 - 165.2, 1e-9);
  EXPECT_NEAR(out["window"][1].get<double>(), 455.5, 1e-9);

  // A screen whose visible frame starts at x 200 and ends at y 600: clamped right and sent above
  // the caret, which is moved there first.
  writeFile(files / "one.json", R"([{"frame":[0,0,1000,1000],"visibleFrame":[200,600,800,400]}])");
  run = runSession(withScreens("one.json"),
                   joinLines({R"({"event":"caret","rect":[100,610,1,18]})", key(0, "s")}));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), 2u) << run.errors;
  EXPECT_TRUE(json::parse(run.lines[0])["window"].is_null());
  out = json::parse(run.lines[1]);
  EXPECT_NEAR(out["window"][0].get<double>(), 200, 1e-9);
  EXPECT_NEAR(out["window"][1].get<double>(), 610 + 18 + 4, 1e-9);
}

TEST(SessionProgram, ABadScreensFileIsAnArgumentError) {
  ScenarioDictionary dict;
  Scratch files;
  writeFile(files / "keymap.json", R"({"map":{"s":"s"}})");
  writeFile(files / "object.json", R"({"frame":[0,0,1,1]})");
  writeFile(files / "short.json", R"([{"frame":[0,0,1,1],"visibleFrame":[0,0,1]}])");
  for (const char* file : {"object.json", "short.json", "missing.json"}) {
    const ProgramRun run =
        runSession({"--dict", dict.dictDir(), "--user", dict.userDir(), "--keymap",
                    (files / "keymap.json").string(), "--screens", (files / file).string()},
                   joinLines({key(0, "s")}));
    EXPECT_EQ(run.status, 2) << file;
    EXPECT_TRUE(run.lines.empty()) << file;
    EXPECT_NE(run.errors.find("ornavel-session: --screens " + (files / file).string() + ": "),
              std::string::npos)
        << run.errors;
  }
  const ProgramRun run =
      runSession({"--dict", "/x", "--user", "/y", "--keymap", "/z", "--screens"}, "");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.errors.find("[--screens SCREENS.json]"), std::string::npos);
}

// ---- The shipped dictionary and key map ------------------------------------------------------

class ShippedResources : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(ORNAV_SHIPPED_DICT_DIR) / "unigram.fst")) {
      GTEST_SKIP() << "the shipped dictionary is not built (resources/dict has no counts)";
    }
    std::string why;
    auto tables = dict::parseKeyMapJson(readFile(ORNAV_SHIPPED_KEYMAP), &why);
    ASSERT_TRUE(tables) << why;
    shipped = *tables;
    paragraph =
        readFile(fs::path(ORNAV_SOURCE_DIR) / "tools/ornavel-session/testdata/paragraph.txt");
  }

  // Types the paragraph in-process with `tables`; the event lines sent.
  std::vector<std::string> typeParagraph(const dict::KeyMapTables& tables,
                                         UyghurTypist::Figures* figures) {
    Scratch user;
    fs::create_directories(user / "user");
    testing::ManualMainQueue queue;
    controller_testing::FakeServices services;
    services.onlineDict = false;
    services.consent = false;
    auto app = makeSessionApplication(queue, {ORNAV_SHIPPED_DICT_DIR, (user / "user").string()});
    app->keyMap() = KeyMap(KeyTable(tables.map.begin(), tables.map.end()),
                           KeyMapExtras{tables.initial, tables.punctuation});
    session::Session session(
        {.app = app.get(), .services = &services, .drainMainQueue = [&queue] { queue.drain(); }});
    EXPECT_TRUE(session.hasEngine());
    UyghurTypist typist(tables);
    auto lines = typist.type(session, paragraph);
    EXPECT_TRUE(lines) << "no key for " << typist.missing();
    if (!lines) return {};
    EXPECT_EQ(session.client().document(), paragraph);
    *figures = typist.figures();
    return *lines;
  }

  dict::KeyMapTables shipped;
  std::string paragraph;
};

TEST_F(ShippedResources, AParagraphOfUyghurIsTypedExactly) {
  UyghurTypist::Figures figures;
  const std::vector<std::string> lines = typeParagraph(shipped, &figures);
  ASSERT_FALSE(lines.empty());

  // The same keys through the program, with the shipped files as they are.
  Scratch user;
  fs::create_directories(user / "user");
  const ProgramRun run = runSession({"--dict", ORNAV_SHIPPED_DICT_DIR, "--user",
                                     (user / "user").string(), "--keymap", ORNAV_SHIPPED_KEYMAP},
                                    joinLines(lines));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.lines.size(), lines.size());
  EXPECT_EQ(json::parse(run.lines.back())["document"].get<std::string>(), paragraph);

  std::cout << "paragraph: " << figures.characters << " characters, " << figures.keys << " keys ("
            << figures.picked << " words picked, " << figures.pickedFromPredictions
            << " of them from predictions, " << figures.committedAsTyped
            << " committed as typed)\n";
  EXPECT_LT(figures.keys, figures.characters);
}

TEST_F(ShippedResources, WordInitialFormsSaveTheHamzaKey) {
  UyghurTypist::Figures with, without;
  ASSERT_FALSE(shipped.initial.empty());
  typeParagraph(shipped, &with);
  dict::KeyMapTables plain = shipped;
  plain.initial.clear();
  typeParagraph(plain, &without);
  std::cout << "paragraph keys with word-initial forms: " << with.keys
            << ", without: " << without.keys << "\n";
  EXPECT_LT(with.keys, without.keys);
}

}  // namespace
}  // namespace ornav::session_testing
