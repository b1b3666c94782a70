// The small value helpers of the ports, and that every port header stands on its own.
#include "ports/alerts.h"
#include "ports/bundle.h"
#include "ports/clock.h"
#include "ports/dialog_window.h"
#include "ports/geometry.h"
#include "ports/http_session.h"
#include "ports/input_menu.h"
#include "ports/key_event.h"
#include "ports/main_queue.h"
#include "ports/panel_window.h"
#include "ports/process_runner.h"
#include "ports/screens.h"
#include "ports/settings.h"
#include "ports/system_info.h"
#include "ports/system_log.h"
#include "ports/text_client.h"
#include "ports/text_measurer.h"
#include "ports/ui_types.h"
#include "ports/url_opener.h"

#include <gtest/gtest.h>

#include <map>

namespace ornav {
namespace {

TEST(RectTest, IntersectsNeedsPositiveOverlap) {
  Rect screen{0, 0, 1440, 900};
  EXPECT_TRUE(screen.intersects({100, 100, 2, 20}));
  EXPECT_TRUE(screen.intersects({-10, -10, 20, 20}));    // straddles the corner
  EXPECT_FALSE(screen.intersects({1440, 100, 10, 10}));  // touches the right edge only
  EXPECT_FALSE(screen.intersects({0, 0, 0, 0}));         // the zero rectangle has no area
  EXPECT_FALSE(screen.intersects({2000, 100, 10, 10}));
  EXPECT_EQ(screen.maxX(), 1440);
  EXPECT_EQ(screen.maxY(), 900);
}

TEST(HttpResponseTest, HeaderLookupIgnoresCaseAndTakesTheFirst) {
  HttpResponse response{
      200, {{"Content-Type", "application/json"}, {"X-A", "1"}, {"x-a", "2"}}, ""};
  EXPECT_EQ(response.header("content-type"), "application/json");
  EXPECT_EQ(response.header("X-A"), "1");
  EXPECT_EQ(response.header("Content-Length"), std::nullopt);
  EXPECT_EQ(response.header("Content-Typ"), std::nullopt);
}

class MapBundle : public Bundle {
 public:
  std::map<std::string, InfoValue> info;
  std::optional<InfoValue> infoValue(const std::string& key) const override {
    auto found = info.find(key);
    if (found == info.end()) return std::nullopt;
    return found->second;
  }
  std::filesystem::path bundlePath() const override { return "/b"; }
  std::filesystem::path resourcePath() const override { return "/b/Resources"; }
  std::optional<std::filesystem::path> pathForResource(const std::string&,
                                                       const std::string&) const override {
    return std::nullopt;
  }
};

TEST(BundleTest, StringAccessorsRefuseOtherTypes) {
  MapBundle bundle;
  bundle.info["CFBundleIdentifier"] = std::string("com.example.x");
  bundle.info["CFBundleShortVersionString"] = std::int64_t{2};
  EXPECT_EQ(bundle.identifier(), "com.example.x");
  EXPECT_EQ(bundle.shortVersion(), std::nullopt);  // a number is not a version string
  EXPECT_EQ(bundle.buildVersion(), std::nullopt);
}

TEST(MenuItemTest, SeparatorsCarryNoAction) {
  MenuDescription menu{"M",
                       {MenuItem::item("A", InputMenuAction::showAbout, MenuItem::State::on),
                        MenuItem::separatorItem()}};
  EXPECT_TRUE(menu.items[1].separator);
  EXPECT_FALSE(menu.items[1].action.has_value());
  EXPECT_EQ(menu.items[0].state, MenuItem::State::on);
}

}  // namespace
}  // namespace ornav
