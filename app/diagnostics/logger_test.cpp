#include "diagnostics/logger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>
#include <sstream>
#include <thread>

#include "ports/bundle.h"
#include "ports/clock.h"
#include "ports/system_log.h"

namespace ornav {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using namespace std::chrono;

class FixedClock : public Clock {
 public:
  system_clock::time_point now() const override { return time; }
  system_clock::time_point time =
      sys_days{year{2026} / March / 4} + hours{9} + minutes{5} + seconds{3} + milliseconds{7};
};

class RecordingLog : public SystemLog {
 public:
  void write(const std::string& message) override {
    std::lock_guard lock(mutex);
    messages.push_back(message);
  }
  std::mutex mutex;
  std::vector<std::string> messages;
};

class TempFolders : public Folders {
 public:
  explicit TempFolders(fs::path root) : root_(std::move(root)) {}
  fs::path home() const override { return root_; }
  fs::path applicationSupport() const override { return root_ / "data"; }
  fs::path caches() const override { return root_ / "cache"; }
  fs::path temporary() const override { return root_ / "tmp"; }

 private:
  fs::path root_;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    dir_ = fs::temp_directory_path() /
           ("ornav_logger_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "shared");
    fs::create_directories(dir_ / "support");
    first_ = dir_ / "shared" / "ornav_ime.log";
    second_ = dir_ / "support" / "ornav_ime.log";
    useFiles(first_.string(), second_.string());
  }
  void TearDown() override {
    installation_.reset();
    fs::permissions(dir_ / "shared", fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }

  // Installs a new process log over these two files.
  void useFiles(std::string first, std::string second) {
    installation_.reset();
    logger_ = std::make_unique<Logger>(Logger::Files{std::move(first), std::move(second)}, &log_,
                                       &clock_);
    installation_ = std::make_unique<InstalledLogger>(*logger_);
  }

  fs::path dir_, first_, second_;
  FixedClock clock_;
  RecordingLog log_;
  std::unique_ptr<Logger> logger_;
  std::unique_ptr<InstalledLogger> installation_;
};

constexpr const char* kLine = "[2026-03-04 09:05:03.007] 输入法启动\n";

TEST_F(LoggerTest, FirstMessageCreatesBothFilesWithOneLine) {
  Logger::write("输入法启动");
  EXPECT_EQ(readFile(first_), kLine);
  EXPECT_EQ(readFile(second_), kLine);
  EXPECT_THAT(log_.messages, ElementsAre("[Ornavel] 输入法启动"));
  // Private to this user.
  EXPECT_EQ(fs::status(first_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(LoggerTest, AppendsToExistingFiles) {
  std::ofstream(second_) << "[earlier] line\n";
  Logger::write("a");
  clock_.time += milliseconds{1500};
  Logger::write("b\r\nc");
  EXPECT_EQ(readFile(first_), "[2026-03-04 09:05:03.007] a\n[2026-03-04 09:05:04.507] b\r\nc\n");
  EXPECT_EQ(readFile(second_),
            "[earlier] line\n[2026-03-04 09:05:03.007] a\n"
            "[2026-03-04 09:05:04.507] b\r\nc\n");
  EXPECT_THAT(Logger::tailLines(80), ElementsAre("[earlier] line", "[2026-03-04 09:05:03.007] a",
                                                 "[2026-03-04 09:05:04.507] b", "c"));
}

TEST_F(LoggerTest, UnwritableFirstFileStillReachesSecond) {
  useFiles((dir_ / "missing-folder" / "ornav_ime.log").string(), second_.string());
  Logger::write("x");
  EXPECT_FALSE(fs::exists(dir_ / "missing-folder"));
  EXPECT_EQ(readFile(second_), "[2026-03-04 09:05:03.007] x\n");

  // A first file that is a directory.
  fs::create_directories(first_);
  useFiles(first_.string(), second_.string());
  Logger::write("y");
  EXPECT_THAT(Logger::tailLines(5),
              ElementsAre("[2026-03-04 09:05:03.007] x", "[2026-03-04 09:05:03.007] y"));
}

TEST_F(LoggerTest, UnwritableSecondFileStillReachesFirst) {
  useFiles(first_.string(), (dir_ / "nowhere" / "x.log").string());
  Logger::write("x");
  EXPECT_EQ(readFile(first_), "[2026-03-04 09:05:03.007] x\n");
  EXPECT_TRUE(Logger::tailLines(5).empty());
}

TEST_F(LoggerTest, PlantedSymlinkIsNotFollowed) {
  const fs::path victim = dir_ / "victim.txt";
  std::ofstream(victim) << "precious\n";
  fs::create_symlink(victim, first_);
  Logger::write("x");
  EXPECT_EQ(readFile(victim), "precious\n");
  EXPECT_EQ(readFile(second_), "[2026-03-04 09:05:03.007] x\n");

  // A dangling link must not create its target either.
  fs::remove(first_);
  const fs::path target = dir_ / "created-by-link.txt";
  fs::create_symlink(target, first_);
  Logger::write("y");
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(LoggerTest, PlantedHardLinkIsNotWritten) {
  const fs::path victim = dir_ / "victim.txt";
  std::ofstream(victim) << "precious\n";
  fs::create_hard_link(victim, first_);
  Logger::write("x");
  EXPECT_EQ(readFile(victim), "precious\n");
  EXPECT_EQ(readFile(second_), "[2026-03-04 09:05:03.007] x\n");
}

TEST_F(LoggerTest, PlantedFifoDoesNotBlock) {
  ASSERT_EQ(mkfifo(first_.c_str(), 0666), 0);
  Logger::write("x");  // would hang forever if the FIFO were opened for blocking writes
  EXPECT_EQ(readFile(second_), "[2026-03-04 09:05:03.007] x\n");
}

TEST_F(LoggerTest, FileOwnedByAnotherUserIsSkipped) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  std::ofstream(first_) << "theirs\n";
  ASSERT_EQ(chown(first_.c_str(), 65534, 65534), 0);
  fs::permissions(first_, fs::perms::all);
  Logger::write("x");
  EXPECT_EQ(readFile(first_), "theirs\n");
  EXPECT_EQ(readFile(second_), "[2026-03-04 09:05:03.007] x\n");
}

TEST_F(LoggerTest, TailLinesLimits) {
  EXPECT_TRUE(Logger::tailLines(80).empty());  // no file yet
  std::ofstream(second_) << "1\n\n2\r\n3\n\n\n4\n5\n6\n7\n8\n9\n10\n\n";
  EXPECT_TRUE(Logger::tailLines(0).empty());
  EXPECT_TRUE(Logger::tailLines(-3).empty());
  EXPECT_EQ(Logger::tailLines(80).size(), 10u);
  EXPECT_THAT(Logger::tailLines(3), ElementsAre("8", "9", "10"));
  EXPECT_THAT(Logger::tailLines(1), ElementsAre("10"));
}

TEST_F(LoggerTest, TailLinesOfBrokenUtf8IsEmpty) {
  std::ofstream(second_, std::ios::binary) << "fine\n\xC3\x28 broken\nlast\n";
  EXPECT_TRUE(Logger::tailLines(80).empty());
}

TEST_F(LoggerTest, TailLinesOfHugeLogReadsOnlyTheEnd) {
  {
    std::ofstream out(second_, std::ios::binary);
    const std::string filler(999, 'x');
    for (int i = 0; i < 6000; ++i)
      out << filler << '\n';  // about 6 MB
    out << "second to last\nlast\n";
  }
  EXPECT_THAT(Logger::tailLines(2), ElementsAre("second to last", "last"));
  const auto lines = Logger::tailLines(100000);
  EXPECT_GT(lines.size(), 1000u);  // the last megabyte
  EXPECT_LT(lines.size(), 1100u);
  EXPECT_EQ(lines.front(), std::string(999, 'x'));  // the cut first line was dropped, not kept
}

TEST_F(LoggerTest, ConcurrentWritersKeepLinesWhole) {
  constexpr int kThreads = 4;
  constexpr int kEach = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < kEach; ++i) {
        Logger::write("thread " + std::to_string(t) + " message " + std::to_string(i) + " " +
                      std::string(200, 'a' + t));
      }
    });
  }
  for (auto& thread : threads)
    thread.join();
  const std::regex whole(R"(\[2026-03-04 09:05:03\.007\] thread (\d) message \d+ ([a-d])\2{199})");
  for (const fs::path& file : {first_, second_}) {
    std::istringstream lines(readFile(file));
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
      ASSERT_TRUE(std::regex_match(line, whole)) << line.substr(0, 60);
    }
    EXPECT_EQ(count, kThreads * kEach);
  }
}

TEST(LoggerPaths, StablePathLivesInTheSupportFolder) {
  const fs::path root =
      fs::temp_directory_path() / ("ornav_logger_paths_" + std::to_string(getpid()));
  fs::remove_all(root);
  TempFolders folders(root);
  EXPECT_EQ(Logger::stablePathIn(folders),
            (root / "data" / "Ornavel" / "logs" / "ornav_ime.log").string());
  EXPECT_TRUE(fs::is_directory(root / "data" / "Ornavel" / "logs"));
  // Nothing installed: the entry points answer empty and write nothing.
  EXPECT_EQ(Logger::path(), "");
  EXPECT_EQ(Logger::stablePath(), "");
  Logger::write("dropped");
  EXPECT_TRUE(Logger::tailLines(5).empty());
  // The default first file is the fixed one in the shared temporary folder.
  Logger logger(Logger::Files{}, nullptr, nullptr);
  const InstalledLogger installation(logger);
  EXPECT_EQ(Logger::path(), "/tmp/ornav_ime.log");
  fs::remove_all(root);
}

}  // namespace
}  // namespace ornav
