#include "services/update_package.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace ornav {
namespace {

UpdateInfo infoWithVersion(std::string version) {
  UpdateInfo info;
  info.version = std::move(version);
  return info;
}

TEST(PackageNameTest, RunsOfOtherCharactersBecomeOneHyphen) {
  EXPECT_EQ(downloadedPackageName(infoWithVersion("2.0"),
                                  "https://dl.example.org/files/Ornavel%20Setup%20(2).pkg"),
            "Ornavel-Setup-2-.pkg");
  EXPECT_EQ(downloadedPackageName(infoWithVersion("2.0"), "https://h/a/b/Ornavel_2.1-x.pkg?t=1#f"),
            "Ornavel_2.1-x.pkg");
  EXPECT_EQ(downloadedPackageName(infoWithVersion("2.0"), "https://h/%D8%A6%D8%A7.pkg"), "-.pkg");
}

TEST(PackageNameTest, MissingLastComponentUsesTheVersion) {
  EXPECT_EQ(downloadedPackageName(infoWithVersion("2.1"), "https://dl.example.org"),
            "Ornavel-2.1.pkg");
  EXPECT_EQ(downloadedPackageName(infoWithVersion("2.1"), "https://dl.example.org/"),
            "Ornavel-2.1.pkg");
  // The version-based name passes through the same replacement.
  EXPECT_EQ(downloadedPackageName(infoWithVersion("2.1 beta/3"), "https://dl.example.org"),
            "Ornavel-2.1-beta-3.pkg");
}

TEST(PackageNameTest, TrailingSlashTakesTheLastNamedComponent) {
  EXPECT_EQ(downloadedPackageName(infoWithVersion("1"), "https://h/pkgs/latest/"), "latest");
}

TEST(PackageNameTest, DotOnlyNamesNeverNameTheFolderItself) {
  EXPECT_EQ(downloadedPackageName(infoWithVersion("3.0"), "https://h/a/.."), "Ornavel-3.0.pkg");
  EXPECT_EQ(downloadedPackageName(infoWithVersion("3.0"), "https://h/a/."), "Ornavel-3.0.pkg");
  EXPECT_EQ(downloadedPackageName(infoWithVersion("3.0"), "https://h/a/%2E%2E"), "Ornavel-3.0.pkg");
  // An encoded slash cannot climb out of the folder either.
  EXPECT_EQ(downloadedPackageName(infoWithVersion("3.0"), "https://h/..%2F..%2Fx.pkg"),
            "..-..-x.pkg");
}

TEST(PlainHttpTest, SchemeInAnyCase) {
  EXPECT_TRUE(isPlainHttpURL("http://h/x.pkg"));
  EXPECT_TRUE(isPlainHttpURL("HTTP://h/x.pkg"));
  EXPECT_FALSE(isPlainHttpURL("https://h/x.pkg"));
  EXPECT_FALSE(isPlainHttpURL("HTTPS://h/x.pkg"));
  EXPECT_FALSE(isPlainHttpURL("httpx://h"));
  EXPECT_FALSE(isPlainHttpURL(""));
}

TEST(ChecksumTest, ShasumOutputAndComparison) {
  EXPECT_EQ(firstShasumField("ab12ef  /tmp/x y.pkg\n"), "ab12ef");
  EXPECT_EQ(firstShasumField("   ab12  x"), "ab12");
  EXPECT_EQ(firstShasumField(""), "");
  EXPECT_EQ(firstShasumField("   "), "");
  EXPECT_TRUE(checksumMatches("AB12EF", "ab12ef"));
  EXPECT_TRUE(checksumMatches("ab12ef", "ab12ef"));
  EXPECT_FALSE(checksumMatches("ab12ef ", "ab12ef"));  // the expected text is not trimmed
  EXPECT_FALSE(checksumMatches("ab12ee", "ab12ef"));
  EXPECT_FALSE(checksumMatches("ab12ef", ""));
}

// Runs a command through /bin/sh and returns what it printed.
std::string shellOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  std::array<char, 256> buffer{};
  size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    out.append(buffer.data(), n);
  pclose(pipe);
  return out;
}

// Reads back an AppleScript string literal body: \\ and \" stand for \ and ".
std::string appleScriptUnescaped(const std::string& body) {
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size()) ++i;
    out.push_back(body[i]);
  }
  return out;
}

TEST(InstallerCommandTest, HostilePathReachesTheShellAsOneWord) {
  const std::string path = "/Users/o'brien/Caches/Ornavel/Updates/a b\"c\\d$(touch x)`id`.pkg";
  const std::string quoted = shellQuoted(path);
  // The shell sees exactly one word, equal to the path, with nothing expanded.
  EXPECT_EQ(shellOutput("printf '%s|' " + quoted), path + "|");
  EXPECT_EQ(installerCommand(path), "/usr/sbin/installer -pkg " + quoted + " -target /");
}

TEST(InstallerCommandTest, ScriptCarriesTheCommandAsOneStringLiteral) {
  const std::string path = "/tmp/it's \"here\"\\.pkg";
  std::vector<std::string> args = installerArguments(path);
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[0], "-e");
  const std::string& script = args[1];
  const std::string prefix = "do shell script \"";
  const std::string suffix = "\" with administrator privileges";
  ASSERT_EQ(script.rfind(prefix, 0), 0u);
  ASSERT_GE(script.size(), prefix.size() + suffix.size());
  ASSERT_EQ(script.substr(script.size() - suffix.size()), suffix);
  std::string body = script.substr(prefix.size(), script.size() - prefix.size() - suffix.size());
  // No unescaped quote ends the literal early.
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\') {
      ++i;
      continue;
    }
    EXPECT_NE(body[i], '"') << "literal ends early at " << i;
  }
  EXPECT_EQ(appleScriptUnescaped(body), installerCommand(path));
  EXPECT_EQ(shellQuoted("it's"), "'it'\\''s'");
}

TEST(InstallerCommandTest, ShasumArguments) {
  EXPECT_EQ(shasumArguments("/a b/c.pkg"), (std::vector<std::string>{"-a", "256", "/a b/c.pkg"}));
}

}  // namespace
}  // namespace ornav
