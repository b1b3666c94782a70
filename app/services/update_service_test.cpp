#include "services/update_service.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "base/url_text.h"
#include "services/service_client.h"
#include "testing/memory_settings.h"

namespace ornav {
namespace {

using ::testing::ElementsAre;

class UpdateServiceBasics : public ::testing::Test {
 protected:
  // Installs a client that answers for `baseURL`.
  void useBaseURL(const std::string& baseURL) {
    installation_.reset();
    client_ = std::make_unique<ServiceClient>(
        ServiceEnvironment{.settings = &settings_, .baseURL = baseURL});
    installation_ = std::make_unique<InstalledServiceClient>(*client_);
  }
  void SetUp() override { useBaseURL("https://ime.example/"); }

  testing::MemorySettings settings_;
  std::unique_ptr<ServiceClient> client_;
  std::unique_ptr<InstalledServiceClient> installation_;
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
  useBaseURL("https://service.test/");
  EXPECT_EQ(UpdateService::updateCheckURL(),
            "https://service.test/api/ornav-ime/latest?platform=mac");
  EXPECT_EQ(UpdateService::dictURL(), "https://service.test/api/ornav-ime/dict");
  EXPECT_EQ(UpdateService::userDictURL(), "https://service.test/api/ornav-ime/user-dict");
  EXPECT_EQ(UpdateService::feedbackSubmitURL(), "https://service.test/api/ornav-ime/feedback");
  EXPECT_EQ(UpdateService::aboutURL(), "https://service.test/api/ornav-ime/about");
  EXPECT_EQ(UpdateService::crashReportURL(), "https://service.test/api/ornav-ime/crash");
  EXPECT_EQ(UpdateService::feedbackURL(), "https://service.test/");
  // A base without its closing slash still gives one slash before the path.
  useBaseURL("http://127.0.0.1:8080");
  EXPECT_EQ(UpdateService::aboutURL(), "http://127.0.0.1:8080/api/ornav-ime/about");
  useBaseURL("https://ime.example/");
  EXPECT_TRUE(url_text::isUsableEndpoint(UpdateService::updateCheckURL()));
  // Without a configured service no endpoint is usable.
  useBaseURL("");
  EXPECT_FALSE(url_text::isUsableEndpoint(UpdateService::updateCheckURL()));
}

TEST_F(UpdateServiceBasics, DeviceIDIsCreatedOnceAndKept) {
  const std::string first = UpdateService::deviceID();
  EXPECT_TRUE(std::regex_match(
      first, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")))
      << first;
  EXPECT_EQ(settings_.getString("Ornavel.deviceID").value(), first);
  EXPECT_EQ(UpdateService::deviceID(), first);

  settings_.setString("Ornavel.deviceID", "");
  const std::string replaced = UpdateService::deviceID();
  EXPECT_EQ(replaced.size(), 36u);
  EXPECT_NE(replaced, first);
  EXPECT_EQ(settings_.getString("Ornavel.deviceID").value(), replaced);

  settings_.setString("Ornavel.deviceID", "kept-as-written");
  EXPECT_EQ(UpdateService::deviceID(), "kept-as-written");
}

TEST_F(UpdateServiceBasics, CurrentVersionIsTheClientsOrOneWithoutAClient) {
  installation_.reset();
  EXPECT_EQ(UpdateService::currentVersion(), "1.0");
  ServiceClient client(ServiceEnvironment{.version = " 1.4.2 "});
  const InstalledServiceClient installed(client);
  EXPECT_EQ(UpdateService::currentVersion(), " 1.4.2 ");  // as written
}

TEST_F(UpdateServiceBasics, WelcomeShownDefaultsToFalse) {
  EXPECT_FALSE(UpdateService::hasShownWelcome());
  UpdateService::setHasShownWelcome(true);
  EXPECT_TRUE(UpdateService::hasShownWelcome());
  EXPECT_TRUE(settings_.getBool("Ornavel.welcomeShown").value());
  UpdateService::setHasShownWelcome(false);
  EXPECT_FALSE(UpdateService::hasShownWelcome());
}

}  // namespace
}  // namespace ornav
