// libornav_engine.so exports exactly the thirteen orn_ functions and, outside sanitizer builds,
// needs no C++ runtime at run time.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string run(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return output;
  char chunk[4096];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
    output.append(chunk, n);
  ::pclose(pipe);
  return output;
}

TEST(CApiExports, ExactlyTheThirteenFunctions) {
  std::istringstream lines(run("nm -D --defined-only '" ORNAV_ENGINE_SO "'"));
  std::set<std::string> symbols;
  std::string address, type, name;
  while (lines >> address >> type >> name)
    symbols.insert(name);
  const std::set<std::string> expected = {"orn_engine_new",
                                          "orn_engine_free",
                                          "orn_input",
                                          "orn_backspace",
                                          "orn_buffer",
                                          "orn_candidates",
                                          "orn_select",
                                          "orn_commit_raw",
                                          "orn_reset",
                                          "orn_export_user_freq",
                                          "orn_export_user_unknown",
                                          "orn_sync_extra_dict",
                                          "orn_string_free"};
  EXPECT_EQ(symbols, expected);
}

TEST(CApiExports, NeedsOnlyTheCRuntime) {
  const std::string dynamic = run("readelf -d '" ORNAV_ENGINE_SO "'");
  ASSERT_NE(dynamic.find("NEEDED"), std::string::npos) << dynamic;
  if (!ORNAV_ENGINE_STATIC_RUNTIME) GTEST_SKIP() << "sanitizer build links the C++ runtime";
  for (const char* runtime : {"libstdc++", "libc++", "libgcc_s"}) {
    EXPECT_EQ(dynamic.find(runtime), std::string::npos) << runtime << " in\n" << dynamic;
  }
}

}  // namespace
