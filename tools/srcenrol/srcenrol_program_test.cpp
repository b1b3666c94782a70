// srcenrol and srcenrol-listed as programs, against the emulated registry under a prefix: the
// output byte for byte and the exit status of each edge case, with the application's real
// Info.plist installed, and the package's postinstall step that registers only once.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <filesystem>
#include <string>

#include "report_lines.h"
#include "test_prefix.h"

namespace srcenrol {
namespace {

using testing::infoPlist;
using testing::kInstalledInfoPlist;
using testing::kRegistry;
using testing::TestPrefix;

using testing::kFailed;
using testing::kListed;
using testing::kModes;
using testing::kOk;
using testing::kWarning;

struct Outcome {
  std::string output;
  int status = -1;
};

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

// Runs `command` through the shell with ORNAV_PREFIX set to `prefix`; its standard output and
// exit status.
Outcome run(const std::string& command, const std::filesystem::path& prefix) {
  const std::string line = "ORNAV_PREFIX=" + quoted(prefix.string()) + " " + command;
  Outcome outcome;
  FILE* pipe = ::popen(line.c_str(), "r");
  if (pipe == nullptr) return outcome;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    outcome.output.append(buffer.data(), n);
  const int wait = ::pclose(pipe);
  outcome.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  return outcome;
}

Outcome srcenrol(const std::filesystem::path& prefix, const std::string& arguments = "") {
  return run(quoted(SRCENROL_PATH) + arguments, prefix);
}

void installApplication(const TestPrefix& prefix) {
  std::filesystem::create_directories((prefix.path() / kInstalledInfoPlist).parent_path());
  std::filesystem::copy_file(ORNAV_INFO_PLIST, prefix.path() / kInstalledInfoPlist);
}

TEST(SrcenrolProgram, BundleNotInstalledPrintsTheFailureWithItsStatusAndExitsZero) {
  TestPrefix prefix;
  const Outcome outcome = srcenrol(prefix.path());
  EXPECT_EQ(outcome.output, kFailed + "-50\n");
  EXPECT_EQ(outcome.status, 0);
}

TEST(SrcenrolProgram, InstalledApplicationListsTwoSources) {
  TestPrefix prefix;
  installApplication(prefix);
  const Outcome outcome = srcenrol(prefix.path());
  EXPECT_EQ(outcome.output, kOk + kListed + "2" + kModes +
                                "   - com.ornav.inputmethod.Ornavel\n"
                                "   - com.ornav.inputmethod.Ornavel.Uyghur\n");
  EXPECT_EQ(outcome.status, 0);
}

TEST(SrcenrolProgram, RegisteredButNotListedWarns) {
  // The bundle at the install path carries another identifier (a stray build, say): registration
  // succeeds, and nothing is listed under the input method's identifier.
  TestPrefix prefix;
  prefix.write(kInstalledInfoPlist,
               infoPlist("<key>CFBundleIdentifier</key><string>com.example.Other</string>"
                         "<key>InputMethodConnectionName</key><string>c</string>"));
  const Outcome outcome = srcenrol(prefix.path());
  EXPECT_EQ(outcome.output, kOk + kWarning);
  EXPECT_EQ(outcome.status, 0);
}

TEST(SrcenrolProgram, ArgumentsAreIgnored) {
  TestPrefix prefix;
  installApplication(prefix);
  const Outcome outcome = srcenrol(prefix.path(), " --help -x 'two words'");
  EXPECT_EQ(outcome.output.substr(0, kOk.size()), kOk);
  EXPECT_EQ(outcome.status, 0);
}

TEST(SrcenrolProgram, RegisteringTwiceListsEachSourceTwice) {
  TestPrefix prefix;
  installApplication(prefix);
  srcenrol(prefix.path());
  const Outcome outcome = srcenrol(prefix.path());
  EXPECT_EQ(outcome.output, kOk + kListed + "4" + kModes +
                                "   - com.ornav.inputmethod.Ornavel\n"
                                "   - com.ornav.inputmethod.Ornavel.Uyghur\n"
                                "   - com.ornav.inputmethod.Ornavel\n"
                                "   - com.ornav.inputmethod.Ornavel.Uyghur\n");
}

TEST(SrcenrolProgram, FailedRegistrationStillReportsEarlierEntries) {
  TestPrefix prefix;
  prefix.write(kRegistry,
               "com.ornav.inputmethod.Ornavel\tcom.ornav.inputmethod.Ornavel.Uyghur\n"
               "com.ornav.inputmethod.Ornavel\t\n");
  const Outcome outcome = srcenrol(prefix.path());
  EXPECT_EQ(outcome.output, kFailed + "-50\n" + kListed + "2" + kModes +
                                "   - com.ornav.inputmethod.Ornavel.Uyghur\n");
  EXPECT_EQ(outcome.status, 0);
}

TEST(SrcenrolListedProgram, AnswersWhetherTheInputMethodIsListed) {
  TestPrefix prefix;
  installApplication(prefix);
  EXPECT_EQ(run(quoted(SRCENROL_LISTED_PATH), prefix.path()).status, 1);
  srcenrol(prefix.path());
  const Outcome listed = run(quoted(SRCENROL_LISTED_PATH), prefix.path());
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.output, "");
}

TEST(PostinstallScript, RegistersOnceAcrossRepeatedInstallations) {
  // The package's scripts folder: the postinstall step with both tools beside it.
  TestPrefix prefix;
  TestPrefix scripts;
  namespace fs = std::filesystem;
  fs::copy_file(POSTINSTALL_PATH, scripts.path() / "postinstall");
  fs::copy_file(SRCENROL_PATH, scripts.path() / "srcenrol");
  fs::copy_file(SRCENROL_LISTED_PATH, scripts.path() / "srcenrol-listed");
  installApplication(prefix);
  const std::string postinstall = "bash " + quoted((scripts.path() / "postinstall").string());

  const Outcome first = run(postinstall, prefix.path());
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(first.output.substr(0, kOk.size()), kOk);
  const Outcome second = run(postinstall, prefix.path());
  EXPECT_EQ(second.status, 0);
  EXPECT_NE(second.output.find("not registering it again"), std::string::npos) << second.output;
  EXPECT_EQ(prefix.read(kRegistry),
            "com.ornav.inputmethod.Ornavel\tcom.ornav.inputmethod.Ornavel\n"
            "com.ornav.inputmethod.Ornavel\tcom.ornav.inputmethod.Ornavel.Uyghur\n");
}

}  // namespace
}  // namespace srcenrol
