// The tool's report, byte for byte, for every combination of registration status and list the
// system can answer, checked against a registry that answers what each test scripts.
#include "enrol.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace srcenrol {
namespace {

// The expected lines spelled as bytes, independent of how the tool's sources are encoded.
const std::string kOk =
    "\xE2\x9C\x85 TISRegisterInputSource "
    "\xE6\x88\x90\xE5\x8A\x9F\xEF\xBC\x8C\xE7\xB3\xBB\xE7\xBB\x9F\xE5\xB7\xB2\xE7\x99\xBB\xE8\xAE"
    "\xB0\xE8\xBE\x93\xE5\x85\xA5\xE6\xB3\x95"
    "\n";
const std::string kFailed =
    "\xE2\x9D\x8C TISRegisterInputSource \xE5\xA4\xB1\xE8\xB4\xA5\xEF\xBC\x8COSStatus=";
const std::string kListed =
    "\xE2\x9C\x85 "
    "\xE7\xB3\xBB\xE7\xBB\x9F\xE5\xB7\xB2\xE8\x83\xBD\xE6\x9E\x9A\xE4\xB8\xBE\xE5\x88\xB0\xE6\x9C"
    "\xAC\xE8\xBE\x93\xE5\x85\xA5\xE6\xB3\x95\xEF\xBC\x8C\xE5\x85\xB1 ";
const std::string kModes =
    " \xE4\xB8\xAA\xE6\xA8\xA1\xE5\xBC\x8F\xEF\xBC\x9A"
    "\n";
const std::string kWarning =
    "\xE2\x9A\xA0\xEF\xB8\x8F "
    "\xE6\xB3\xA8\xE5\x86\x8C\xE8\xBF\x94\xE5\x9B\x9E\xE6\x88\x90\xE5\x8A\x9F\xE4\xBD\x86\xE4\xBB"
    "\x8D\xE6\x9E\x9A\xE4\xB8\xBE\xE4\xB8\x8D\xE5\x88\xB0\xEF\xBC\x8C\xE5\x8F\xAF\xE8\x83\xBD\xE9"
    "\x9C\x80\xE8\xA6\x81\xE6\xB3\xA8\xE9\x94\x80\xE9\x87\x8D\xE7\x99\xBB"
    "\n";

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
