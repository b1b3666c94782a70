#include "services/update_service.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "ports/bundle.h"
#include "ports/platform.h"
#include "ports/settings.h"
#include "services/service_url.h"

namespace ornav {
namespace {

using ::testing::ElementsAre;

// Keeps only strings and booleans, which is all this client stores.
class MemorySettings : public Settings {
 public:
  std::optional<bool> getBool(const std::string& key) const override { return find(bools, key); }
  std::optional<std::int64_t> getInteger(const std::string&) const override { return {}; }
  std::optional<double> getDouble(const std::string&) const override { return {}; }
  std::optional<std::string> getString(const std::string& key) const override {
    return find(strings, key);
  }
  std::optional<SettingsData> getData(const std::string&) const override { return {}; }
  std::optional<std::vector<std::string>> getStringArray(const std::string&) const override {
    return {};
  }
  std::optional<std::map<std::string, std::string>> getStringDictionary(
      const std::string&) const override {
    return {};
  }
  void setBool(const std::string& key, bool value) override { bools[key] = value; }
  void setInteger(const std::string&, std::int64_t) override {}
  void setDouble(const std::string&, double) override {}
  void setString(const std::string& key, const std::string& value) override {
    strings[key] = value;
  }
  void setData(const std::string&, const SettingsData&) override {}
  void setStringArray(const std::string&, const std::vector<std::string>&) override {}
  void setStringDictionary(const std::string&, const std::map<std::string, std::string>&) override {
  }
  void remove(const std::string& key) override {
    bools.erase(key);
    strings.erase(key);
  }
  bool contains(const std::string& key) const override {
    return bools.count(key) > 0 || strings.count(key) > 0;
  }

  std::map<std::string, bool> bools;
  std::map<std::string, std::string> strings;

 private:
  template <typename T>
  static std::optional<T> find(const std::map<std::string, T>& values, const std::string& key) {
    const auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

class InfoBundle : public Bundle {
 public:
  std::optional<InfoValue> infoValue(const std::string& key) const override {
    const auto it = info.find(key);
    if (it == info.end()) return std::nullopt;
    return it->second;
  }
  std::filesystem::path bundlePath() const override { return "/nonexistent"; }
  std::filesystem::path resourcePath() const override { return "/nonexistent"; }
  std::optional<std::filesystem::path> pathForResource(const std::string&,
                                                       const std::string&) const override {
    return std::nullopt;
  }
  std::map<std::string, InfoValue> info;
};

class UpdateServiceBasics : public ::testing::Test {
 protected:
  void SetUp() override {
    Platform ports;
    ports.settings = &settings_;
    ports.bundle = &bundle_;
    installPlatform(ports);
  }
  void TearDown() override {
    installPlatform({});
    service_url::setBaseURLOverrideForTesting(std::nullopt);
  }
  MemorySettings settings_;
  InfoBundle bundle_;
};

std::vector<std::int64_t> components(std::string_view version) {
  return UpdateService::versionComponents(version);
}

TEST(VersionComponents, FollowsTheReadingRules) {
  EXPECT_THAT(components(""), ElementsAre(0));
  EXPECT_THAT(components("   \n"), ElementsAre(0));
  EXPECT_THAT(components("..."), ElementsAre(0));
  EXPECT_THAT(components(" 2.4.1 \n"), ElementsAre(2, 4, 1));
  EXPECT_THAT(components("1.23"), ElementsAre(1, 2, 3));
  EXPECT_THAT(components("1.10"), ElementsAre(1, 1, 0));
  EXPECT_THAT(components("1.2"), ElementsAre(1, 2));
  EXPECT_THAT(components("1.2a"), ElementsAre(1, 0));
  EXPECT_THAT(components("3"), ElementsAre(3));
  EXPECT_THAT(components("x2"), ElementsAre(0));
  EXPECT_THAT(components("1.2.3-beta"), ElementsAre(1, 2, 0));
  EXPECT_THAT(components(".1..2."), ElementsAre(1, 2));
  EXPECT_THAT(components("+4.-1.05"), ElementsAre(4, -1, 5));
  EXPECT_THAT(components("1. 2"), ElementsAre(1, 0));  // inner spaces are not trimmed
  EXPECT_THAT(components("99999999999999999999.1"), ElementsAre(0, 1));  // overflow
  // The digit-by-digit reading needs at least two numeric characters after the only dot.
  EXPECT_THAT(components("12.3"), ElementsAre(12, 3));
  EXPECT_THAT(components("1.2.34"), ElementsAre(1, 2, 34));
  // Numeric characters that are not ASCII digits read as 0.
  EXPECT_THAT(components("1.\xD9\xA3\xD9\xA4"), ElementsAre(1, 0, 0));  // Arabic-Indic 3 4
  EXPECT_THAT(components("1.2\xD9\xA4"), ElementsAre(1, 2, 0));
  EXPECT_THAT(components("\xD9\xA3.1"), ElementsAre(0, 1));
}

TEST(IsNewer, ComparesComponentWise) {
  EXPECT_TRUE(UpdateService::isNewer("1.2.1", "1.2"));
  EXPECT_FALSE(UpdateService::isNewer("1.2", "1.2.0"));
  EXPECT_FALSE(UpdateService::isNewer("1.2.0", "1.2"));
  EXPECT_FALSE(UpdateService::isNewer("2", "10"));
  EXPECT_TRUE(UpdateService::isNewer("10", "2"));
  EXPECT_TRUE(UpdateService::isNewer("1.9", "1.10"));
  EXPECT_FALSE(UpdateService::isNewer("1.0", "1"));
  EXPECT_TRUE(UpdateService::isNewer("1.0.1", "1"));
  EXPECT_FALSE(UpdateService::isNewer("1.2", "1.2"));
  EXPECT_FALSE(UpdateService::isNewer("", "0"));
  EXPECT_TRUE(UpdateService::isNewer("0.0.1", ""));
  EXPECT_FALSE(UpdateService::isNewer("1.-1", "1"));
}

TEST(NormalizedDownloadURL, MakesLinksAbsolute) {
  const auto normalized = [](std::string_view link) {
    return UpdateService::normalizedDownloadURLString(link);
  };
  EXPECT_EQ(normalized(""), "");
  EXPECT_EQ(normalized("   \t\n "), "");
  EXPECT_EQ(normalized("//cdn.example.org/Ornavel.pkg"), "https://cdn.example.org/Ornavel.pkg");
  EXPECT_EQ(normalized("HTTP://Example.org/a.pkg"), "HTTP://Example.org/a.pkg");
  EXPECT_EQ(normalized(" https://example.org/a.pkg\n"), "https://example.org/a.pkg");
  EXPECT_EQ(normalized("http://example.org"), "http://example.org");
  EXPECT_EQ(normalized("/downloads/a.pkg"), "");
  EXPECT_EQ(normalized("example.org/downloads/"), "https://example.org/downloads");
  EXPECT_EQ(normalized("example.org/a.pkg///"), "https://example.org/a.pkg");
  // Any other scheme is not recognised and gets the https prefix in front of its whole text.
  EXPECT_EQ(normalized("ftp://example.org/a.pkg"), "https://ftp://example.org/a.pkg");
  // Applying it twice changes nothing.
  EXPECT_EQ(normalized(normalized("//h/x")), "https://h/x");
  EXPECT_EQ(normalized(normalized("h/x/")), "https://h/x");
}

TEST_F(UpdateServiceBasics, EndpointsAreFormedFromTheBaseURL) {
  service_url::setBaseURLOverrideForTesting("https://service.test/");
  EXPECT_EQ(UpdateService::updateCheckURL(),
            "https://service.test/api/ornav-ime/latest?platform=mac");
  EXPECT_EQ(UpdateService::dictURL(), "https://service.test/api/ornav-ime/dict");
  EXPECT_EQ(UpdateService::userDictURL(), "https://service.test/api/ornav-ime/user-dict");
  EXPECT_EQ(UpdateService::feedbackSubmitURL(), "https://service.test/api/ornav-ime/feedback");
  EXPECT_EQ(UpdateService::aboutURL(), "https://service.test/api/ornav-ime/about");
  EXPECT_EQ(UpdateService::crashReportURL(), "https://service.test/api/ornav-ime/crash");
  EXPECT_EQ(UpdateService::feedbackURL(), "https://service.test/");
  // A base without its closing slash still gives one slash before the path.
  service_url::setBaseURLOverrideForTesting("http://127.0.0.1:8080");
  EXPECT_EQ(UpdateService::aboutURL(), "http://127.0.0.1:8080/api/ornav-ime/about");
  service_url::setBaseURLOverrideForTesting(std::nullopt);
  EXPECT_TRUE(service_url::isUsableEndpoint(UpdateService::updateCheckURL()));
}

TEST(ServiceURL, UsableEndpointNeedsHttpSchemeAndHost) {
  EXPECT_TRUE(service_url::isUsableEndpoint("https://h.example/api/x?a=b"));
  EXPECT_TRUE(service_url::isUsableEndpoint("http://127.0.0.1:1234/api"));
  EXPECT_FALSE(service_url::isUsableEndpoint(""));
  EXPECT_FALSE(service_url::isUsableEndpoint("api/ornav-ime/about"));
  EXPECT_FALSE(service_url::isUsableEndpoint("https:///api"));
  EXPECT_FALSE(service_url::isUsableEndpoint("https://:80/api"));
  EXPECT_FALSE(service_url::isUsableEndpoint("ftp://h.example/x"));
  EXPECT_FALSE(service_url::isUsableEndpoint("https://h example/x"));
  EXPECT_FALSE(service_url::isUsableEndpoint("https://h.example/%zz"));
  EXPECT_FALSE(service_url::isUsableEndpoint("https://h.example/%4"));
}

TEST_F(UpdateServiceBasics, DeviceIDIsCreatedOnceAndKept) {
  const std::string first = UpdateService::deviceID();
  EXPECT_TRUE(std::regex_match(
      first, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
      << first;
  EXPECT_EQ(settings_.strings.at("Ornavel.deviceID"), first);
  EXPECT_EQ(UpdateService::deviceID(), first);

  settings_.strings["Ornavel.deviceID"] = "";
  const std::string replaced = UpdateService::deviceID();
  EXPECT_EQ(replaced.size(), 36u);
  EXPECT_NE(replaced, first);
  EXPECT_EQ(settings_.strings.at("Ornavel.deviceID"), replaced);

  settings_.strings["Ornavel.deviceID"] = "kept-as-written";
  EXPECT_EQ(UpdateService::deviceID(), "kept-as-written");
}

TEST_F(UpdateServiceBasics, CurrentVersionComesFromTheBundle) {
  EXPECT_EQ(UpdateService::currentVersion(), "1.0");
  bundle_.info["CFBundleShortVersionString"] = std::int64_t{2};
  EXPECT_EQ(UpdateService::currentVersion(), "1.0");  // not a string
  bundle_.info["CFBundleShortVersionString"] = std::string(" 1.4.2 ");
  EXPECT_EQ(UpdateService::currentVersion(), " 1.4.2 ");  // as written
}

TEST_F(UpdateServiceBasics, WelcomeShownDefaultsToFalse) {
  EXPECT_FALSE(UpdateService::hasShownWelcome());
  UpdateService::setHasShownWelcome(true);
  EXPECT_TRUE(UpdateService::hasShownWelcome());
  EXPECT_TRUE(settings_.bools.at("Ornavel.welcomeShown"));
  UpdateService::setHasShownWelcome(false);
  EXPECT_FALSE(UpdateService::hasShownWelcome());
}

}  // namespace
}  // namespace ornav
