// The tool's report, byte for byte, for every combination of registration status and list the
// system can answer, checked against a registry that answers what each test scripts.
#include "enrol.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "report_lines.h"

namespace srcenrol {
namespace {

using testing::kFailed;
using testing::kListed;
using testing::kModes;
using testing::kOk;
using testing::kWarning;

class ScriptedRegistry : public InputSourceRegistry {
 public:
  ScriptedRegistry(std::int32_t status, std::optional<ListedSources> sources)
      : status_(status), sources_(std::move(sources)) {}

  std::int32_t registerBundle(const std::string& bundlePath) override {
    calls.push_back("register " + bundlePath);
    return status_;
  }
  std::optional<ListedSources> sourcesOfBundle(const std::string& bundleIdentifier) override {
    calls.push_back("list " + bundleIdentifier);
    return sources_;
  }

  std::vector<std::string> calls;

 private:
  std::int32_t status_;
  std::optional<ListedSources> sources_;
};

std::string run(ScriptedRegistry& registry) {
  std::ostringstream out;
  EXPECT_EQ(enrol(registry, out), 0);
  return out.str();
}

TEST(Enrol, RegistersTheInstalledBundleThenListsItsIdentifier) {
  ScriptedRegistry registry(0, ListedSources{});
  run(registry);
  EXPECT_EQ(registry.calls, (std::vector<std::string>{"register /Library/Input Methods/Ornavel.app",
                                                      "list com.ornav.inputmethod.Ornavel"}));
}

TEST(Enrol, SuccessWithTwoSourcesListsBoth) {
  ScriptedRegistry registry(
      0, ListedSources{"com.ornav.inputmethod.Ornavel", "com.ornav.inputmethod.Ornavel.Uyghur"});
  EXPECT_EQ(run(registry), kOk + kListed + "2" + kModes +
                               "   - com.ornav.inputmethod.Ornavel\n"
                               "   - com.ornav.inputmethod.Ornavel.Uyghur\n");
}

TEST(Enrol, SourceWithoutIdentifierCountsButPrintsNoLine) {
  ScriptedRegistry registry(0, ListedSources{std::nullopt, "b", std::nullopt});
  EXPECT_EQ(run(registry), kOk + kListed + "3" + kModes + "   - b\n");
}

TEST(Enrol, SuccessWithAnEmptyOrMissingListWarns) {
  ScriptedRegistry empty(0, ListedSources{});
  EXPECT_EQ(run(empty), kOk + kWarning);
  ScriptedRegistry missing(0, std::nullopt);
  EXPECT_EQ(run(missing), kOk + kWarning);
}

TEST(Enrol, FailurePrintsTheSignedStatusAndNoWarning) {
  ScriptedRegistry negative(-50, ListedSources{});
  EXPECT_EQ(run(negative), kFailed + "-50\n");
  ScriptedRegistry positive(7, std::nullopt);
  EXPECT_EQ(run(positive), kFailed + "7\n");
  ScriptedRegistry lowest(INT32_MIN, std::nullopt);
  EXPECT_EQ(run(lowest), kFailed + "-2147483648\n");
}

TEST(Enrol, FailureStillReportsWhatIsListed) {
  // A bundle registered earlier stays listed after a failed attempt (say, it was removed since).
  ScriptedRegistry registry(-50, ListedSources{"com.ornav.inputmethod.Ornavel.Uyghur"});
  EXPECT_EQ(run(registry), kFailed + "-50\n" + kListed + "1" + kModes +
                               "   - com.ornav.inputmethod.Ornavel.Uyghur\n");
}

}  // namespace
}  // namespace srcenrol
