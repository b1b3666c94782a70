#include "diagnostics/crash_report.h"

#include <gtest/gtest.h>

#include <csignal>

namespace ornav {
namespace {

using namespace std::chrono;

TEST(CrashReport, SignalsAreNamedByThisSystemsNumbers) {
  EXPECT_EQ(crash_report::signalName(SIGILL), "SIGILL");
  EXPECT_EQ(crash_report::signalName(SIGABRT), "SIGABRT");
  EXPECT_EQ(crash_report::signalName(SIGFPE), "SIGFPE");
  EXPECT_EQ(crash_report::signalName(SIGBUS), "SIGBUS");
  EXPECT_EQ(crash_report::signalName(SIGSEGV), "SIGSEGV");
  // The marker holds the native number: on Linux SIGBUS is 7, and 10 is SIGUSR1, no crash.
#ifdef __linux__
  EXPECT_EQ(crash_report::signalName(7), "SIGBUS");
  EXPECT_EQ(crash_report::signalName(10), "SIG10");
#endif
  EXPECT_EQ(crash_report::signalName(SIGUSR2), "SIG" + std::to_string(SIGUSR2));
  EXPECT_EQ(crash_report::signalName(-3), "SIG-3");
}

TEST(CrashReport, MarkerMustHoldOneNumber) {
  EXPECT_EQ(crash_report::parseSignalMarker("11\n"), 11);
  EXPECT_EQ(crash_report::parseSignalMarker(" \t6\r\n\n"), 6);
  EXPECT_EQ(crash_report::parseSignalMarker("+8"), 8);
  EXPECT_EQ(crash_report::parseSignalMarker("-2147483648"), -2147483647 - 1);
  EXPECT_FALSE(crash_report::parseSignalMarker("2147483648"));
  EXPECT_FALSE(crash_report::parseSignalMarker(""));
  EXPECT_FALSE(crash_report::parseSignalMarker("\n"));
  EXPECT_FALSE(crash_report::parseSignalMarker("eleven\n"));
  EXPECT_FALSE(crash_report::parseSignalMarker("11 11\n"));
  EXPECT_FALSE(crash_report::parseSignalMarker("1\xFF"));
}

TEST(CrashReport, TimesInUtc) {
  const auto time =
      sys_days{year{2026} / March / 4} + hours{9} + minutes{5} + seconds{3} + milliseconds{999};
  EXPECT_EQ(crash_report::iso8601(time), "2026-03-04T09:05:03Z");
  EXPECT_EQ(crash_report::millisecondsSince1970(time), 1772615103999);
}

TEST(CrashReport, SignalReportHasItsTenKeys) {
  const auto time = sys_days{year{2026} / March / 4} + hours{9} + milliseconds{5};
  const nlohmann::json report =
      crash_report::signalReport(11, time, {"1.4", "DEVICE", "com.example.Notes", "14.5.0"});
  EXPECT_EQ(report.size(), 10u);
  EXPECT_EQ(report["reportID"], "signal-11-1772614800005");
  EXPECT_EQ(report["type"], "signal");
  EXPECT_EQ(report["name"], "SIGSEGV");
  EXPECT_EQ(report["reason"], "fatal signal 11");
  EXPECT_EQ(report["stack"], "");
  EXPECT_EQ(report["version"], "1.4");
  EXPECT_EQ(report["device"], "DEVICE");
  EXPECT_EQ(report["host"], "com.example.Notes");
  EXPECT_EQ(report["os"], "14.5.0");
  EXPECT_EQ(report["time"], "2026-03-04T09:00:00Z");
}

TEST(CrashReport, UploadBodyKeepsTenStringsCutToTheirLimits) {
  std::string stack;
  for (int i = 0; i < 2500; ++i)
    stack += "frame  " + std::to_string(i % 10) + "\n";  // 25000
  const nlohmann::json report = {
      {"reportID", "R1"},
      {"type", "exception"},
      {"name", std::string(300, 'N')},
      {"reason", 17},  // not a string: sent empty
      {"stack", stack},
      {"version", "1.2"},
      {"device", "D"},
      // 130 user-perceived characters, each two code points (e + combining acute).
      {"host",
       [] {
         std::string s;
         for (int i = 0; i < 130; ++i)
           s += "e\xCC\x81";
         return s;
       }()},
      {"context", {{"stage", "select-candidate"}}},
      {"logTail", {"secret typed text"}},
      {"bundleID", "com.ornav.inputmethod.Ornavel"},
      {"process", "Ornavel"},
      {"pid", 42},
      {"time", "2026-03-04T09:05:03Z"},
  };
  const auto body = crash_report::sanitizedUploadData(report, "fallback");
  ASSERT_TRUE(body);
  const nlohmann::json sent = nlohmann::json::parse(*body);
  EXPECT_EQ(sent.size(), 10u);
  for (const char* key :
       {"reportID", "type", "name", "reason", "stack", "version", "device", "host", "os", "time"}) {
    ASSERT_TRUE(sent.contains(key)) << key;
    EXPECT_TRUE(sent[key].is_string()) << key;
  }
  for (const char* local : {"context", "logTail", "bundleID", "process", "pid"}) {
    EXPECT_FALSE(sent.contains(local)) << local;
  }
  EXPECT_EQ(body->find("secret"), std::string::npos);
  EXPECT_EQ(sent["reportID"], "R1");
  EXPECT_EQ(sent["name"], std::string(200, 'N'));
  EXPECT_EQ(sent["reason"], "");
  EXPECT_EQ(sent["stack"].get<std::string>(), stack.substr(0, 20000));
  EXPECT_EQ(sent["host"].get<std::string>().size(), 120u * 3);
  EXPECT_EQ(sent["os"], "");  // missing
  EXPECT_EQ(sent["time"], "2026-03-04T09:05:03Z");
}

TEST(CrashReport, MissingReportIDUsesTheFallback) {
  const auto sent = [](const nlohmann::json& report) {
    return nlohmann::json::parse(*crash_report::sanitizedUploadData(report, "1772615103999"));
  };
  EXPECT_EQ(sent({{"type", "exception"}})["reportID"], "1772615103999");
  EXPECT_EQ(sent({{"reportID", nullptr}})["reportID"], "1772615103999");
  EXPECT_EQ(sent({{"reportID", ""}})["reportID"], "");  // a string is kept, even empty
  EXPECT_EQ(sent({{"reportID", std::string(100, 'x')}})["reportID"], std::string(80, 'x'));
  // Broken UTF-8 in a stored report still gives a valid body.
  EXPECT_EQ(sent({{"name", "bad \xC3 byte"}}).at("name"), "bad \xEF\xBF\xBD byte");
}

}  // namespace
}  // namespace ornav
