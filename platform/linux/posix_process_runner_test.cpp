#include "platform/linux/posix_process_runner.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "base/temporary_folder.h"

namespace ornav::linux_platform {
namespace {

ProcessResult runOk(const ProcessRequest& request) {
  PosixProcessRunner runner;
  auto outcome = runner.run(request);
  if (auto* error = std::get_if<ProcessLaunchError>(&outcome)) {
    ADD_FAILURE() << error->description;
    return {};
  }
  return std::get<ProcessResult>(outcome);
}

ProcessRequest shell(const std::string& script) {
  ProcessRequest request;
  request.path = "/bin/sh";
  request.arguments = {"-c", script};
  return request;
}

TEST(PosixProcessRunnerTest, ExitStatusAndSeparateStreams) {
  auto result = runOk(shell("echo out; echo err >&2; exit 3"));
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_EQ(result.terminatingSignal, std::nullopt);
  EXPECT_EQ(result.standardOutput, "out\n");
  EXPECT_EQ(result.standardError, "err\n");
  EXPECT_EQ(runOk(shell("exit 0")).exitStatus, 0);
}

TEST(PosixProcessRunnerTest, ArgumentsArriveAsSingleWordsWithoutAShell) {
  ProcessRequest request;
  request.path = "/usr/bin/printf";
  const std::vector<std::string> words = {
      "with space", "it's",       "\"double\"",
      "$HOME",      "*",          "a\\b",
      "",           "; rm -rf x", "'/tmp/Ornavel Setup (2).pkg'",
      "ئۇيغۇر"};
  request.arguments = {"[%s]\\n"};
  request.arguments.insert(request.arguments.end(), words.begin(), words.end());
  auto result = runOk(request);
  std::string expected;
  for (const auto& word : words)
    expected += "[" + word + "]\n";
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardOutput, expected);
}

TEST(PosixProcessRunnerTest, LargeInputAndOutputDoNotDeadlock) {
  std::string input(3 * 1024 * 1024, 'x');
  for (std::size_t i = 0; i < input.size(); i += 1000)
    input[i] = '\n';
  ProcessRequest request;
  request.path = "/bin/cat";
  request.standardInput = input;
  auto result = runOk(request);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.standardOutput.size(), input.size());
  EXPECT_TRUE(result.standardOutput == input);

  // Much on both output streams at once.
  auto both = runOk(shell("head -c 2000000 /dev/zero; head -c 2000000 /dev/zero >&2"));
  EXPECT_EQ(both.standardOutput.size(), 2000000u);
  EXPECT_EQ(both.standardError.size(), 2000000u);
}

TEST(PosixProcessRunnerTest, AChildThatIgnoresItsInputDoesNotKillUs) {
  ProcessRequest request;
  request.path = "/bin/true";
  request.standardInput = std::string(4 * 1024 * 1024, 'y');  // more than a pipe holds
  auto result = runOk(request);
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(PosixProcessRunnerTest, SignalsAreReported) {
  auto result = runOk(shell("kill -9 $$"));
  EXPECT_EQ(result.terminatingSignal, 9);
  EXPECT_EQ(result.exitStatus, 128 + 9);
}

TEST(PosixProcessRunnerTest, UncapturedStreamsAreDiscarded) {
  auto request = shell("echo out; echo err >&2; exit 1");
  request.captureStandardOutput = false;
  auto result = runOk(request);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.standardOutput, "");
  EXPECT_EQ(result.standardError, "err\n");
}

TEST(PosixProcessRunnerTest, ProgramsThatCannotStartAreLaunchErrors) {
  TemporaryFolder dir;
  auto notExecutable = dir.write("script.sh", "#!/bin/sh\nexit 0\n");
  ::chmod(notExecutable.c_str(), 0600);
  PosixProcessRunner runner;
  for (const std::string& path : {std::string("/usr/bin/definitely-not-here"), std::string("sh"),
                                  std::string(""), notExecutable.string(), dir.path().string()}) {
    ProcessRequest request;
    request.path = path;
    auto outcome = runner.run(request);
    ASSERT_TRUE(std::holds_alternative<ProcessLaunchError>(outcome)) << path;
    EXPECT_NE(std::get<ProcessLaunchError>(outcome).description.find("无法启动"),
              std::string::npos);
  }
}

TEST(PosixProcessRunnerTest, TheChildGetsNoInheritedDescriptors) {
  // Only stdin, stdout and stderr are open in the child (plus the one ls opens to list them).
  auto result = runOk(shell("ls /proc/self/fd | wc -l"));
  EXPECT_LE(std::stoi(result.standardOutput), 4);
}

}  // namespace
}  // namespace ornav::linux_platform
