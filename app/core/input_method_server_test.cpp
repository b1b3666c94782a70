#include "core/input_method_server.h"

#include <gtest/gtest.h>

#include "core/controller_engine.h"
#include "core/controller_test_support.h"

namespace ornav {
namespace {

using controller_testing::ControllerFixture;
using controller_testing::fakeEngineApi;
using controller_testing::press;
using controller_testing::RecordingClient;

TEST(InputMethodServer, OneControllerPerClientEachWithItsOwnEngine) {
  ControllerFixture fx;
  fx.engineState.words = {"ab"};
  fx.setKeys({{"a", "a"}});
  fx.services.onlineDict = false;  // no cloud fetch holding on to an engine
  InputMethodServer server("conn", "com.ornav.inputmethod.Ornavel", fx.env);
  RecordingClient one, two;
  auto first = server.connect(one);
  EXPECT_EQ(server.connect(one), first);
  auto second = server.connect(two);
  EXPECT_NE(first, second);
  EXPECT_EQ(server.clientCount(), 2u);
  EXPECT_EQ(fx.engineState.enginesCreated, 2);
  EXPECT_EQ(server.controllerFor(two), second);
  EXPECT_EQ(first->client(), &one);

  press(*first, &one, 0, "a");
  auto onPick = fx.panels.at(0)->onPick;
  server.disconnect(one);
  first.reset();
  EXPECT_EQ(server.controllerFor(one), nullptr);
  EXPECT_EQ(fx.engineState.enginesFreed, 1);
  onPick(0);  // a click after the client went away reaches nobody
  EXPECT_TRUE(one.inserts.empty());
}

// The folders and bundle of a controller's engine.
class FixedBundle : public Bundle {
 public:
  explicit FixedBundle(std::filesystem::path resources) : resources_(std::move(resources)) {}
  std::optional<InfoValue> infoValue(const std::string&) const override { return std::nullopt; }
  std::filesystem::path bundlePath() const override { return resources_; }
  std::filesystem::path resourcePath() const override { return resources_; }
  std::optional<std::filesystem::path> pathForResource(const std::string&,
                                                       const std::string&) const override {
    return std::nullopt;
  }

 private:
  std::filesystem::path resources_;
};

class FixedFolders : public Folders {
 public:
  explicit FixedFolders(std::filesystem::path support) : support_(std::move(support)) {}
  std::filesystem::path home() const override { return "/home/u"; }
  std::filesystem::path applicationSupport() const override { return support_; }
  std::filesystem::path caches() const override { return "/tmp"; }
  std::filesystem::path temporary() const override { return "/tmp"; }

 private:
  std::filesystem::path support_;
};

TEST(ControllerEngine, DirectoriesComeFromTheBundleAndTheSupportFolder) {
  const auto support = std::filesystem::temp_directory_path() /
                       ("ornav-support-" + std::to_string(::getpid())) / "deeper";
  FixedBundle bundle("/app/Contents/Resources");
  FixedFolders folders(support);
  const auto dirs = engineDirectoriesOf(&bundle, &folders);
  ASSERT_TRUE(dirs);
  EXPECT_EQ(dirs->dictDir, "/app/Contents/Resources/dict");
  EXPECT_EQ(dirs->userDir, (support / "Ornavel").string());
  EXPECT_TRUE(std::filesystem::is_directory(support / "Ornavel"));
  std::filesystem::remove_all(support.parent_path());
}

TEST(ControllerEngine, WithoutSupportFolderTheUserDirectoryIsNull) {
  FixedBundle bundle("/res");
  FixedFolders noSupport("");
  ASSERT_TRUE(engineDirectoriesOf(&bundle, &noSupport));
  EXPECT_EQ(engineDirectoriesOf(&bundle, &noSupport)->userDir, std::nullopt);
  ASSERT_TRUE(engineDirectoriesOf(&bundle, nullptr));
  EXPECT_EQ(engineDirectoriesOf(&bundle, nullptr)->userDir, std::nullopt);
}

TEST(ControllerEngine, WithoutResourcesThereIsNoEngine) {
  FixedBundle noResources("");
  EXPECT_EQ(engineDirectoriesOf(&noResources, nullptr), std::nullopt);
  EXPECT_EQ(engineDirectoriesOf(nullptr, nullptr), std::nullopt);
}

}  // namespace
}  // namespace ornav
