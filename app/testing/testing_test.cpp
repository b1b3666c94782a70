// The parts of the test support whose behaviour other tests rely on: the manual main queue's
// ordering and timers, the shared settings reading rules, and the recording windows.
#include <gtest/gtest.h>

#include <thread>

#include "testing/fake_platform.h"

namespace ornav::testing {
namespace {

TEST(ManualMainQueueTest, RunsPostsInOrderAndDelaysByVirtualTime) {
  FakeClock clock;
  const auto start = clock.now();
  ManualMainQueue queue(&clock);
  std::vector<std::string> ran;
  queue.postAfter(Seconds(2), [&] { ran.push_back("late"); });
  queue.postAfter(Seconds(1), [&] { ran.push_back("early"); });
  queue.post([&] {
    ran.push_back("first");
    queue.post([&] { ran.push_back("posted while draining"); });
  });
  queue.post([&] { ran.push_back("second"); });

  EXPECT_EQ(queue.drain(), 3u);
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "posted while draining"}));
  EXPECT_EQ(queue.advance(Seconds(1.5)), 1u);
  EXPECT_EQ(ran.back(), "early");
  EXPECT_EQ(clock.now() - start, std::chrono::milliseconds(1500));
  queue.advance(Seconds(10));
  EXPECT_EQ(ran.back(), "late");
  EXPECT_EQ(queue.pending(), 0u);
}

TEST(ManualMainQueueTest, TimersTickPerIntervalAndStopWhenInvalidatedOrDropped) {
  ManualMainQueue queue;
  int ticks = 0;
  std::unique_ptr<Timer> timer;
  timer = queue.scheduleRepeating(Seconds(10), [&] {
    if (++ticks == 3) timer->invalidate();  // from inside its own tick
  });
  queue.advance(Seconds(9));
  EXPECT_EQ(ticks, 0);
  queue.advance(Seconds(100));
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(timer->isValid());

  int other = 0;
  auto dropped = queue.scheduleRepeating(Seconds(1), [&] { ++other; });
  queue.advance(Seconds(2));
  dropped.reset();
  queue.advance(Seconds(5));
  EXPECT_EQ(other, 2);
}

TEST(ManualMainQueueTest, WaitAndDrainPicksUpPostsFromOtherThreads) {
  ManualMainQueue queue;
  std::atomic<int> ran{0};
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    queue.post([&] { ++ran; });
  });
  EXPECT_EQ(queue.waitAndDrain(std::chrono::seconds(5)), 1u);
  poster.join();
  EXPECT_EQ(ran, 1);
}

TEST(MemorySettingsTest, AbsentIsDistinctAndNumbersConvert) {
  MemorySettings settings;
  EXPECT_EQ(settings.getBool("k"), std::nullopt);
  settings.setBool("k", false);
  EXPECT_EQ(settings.getBool("k"), false);
  EXPECT_EQ(settings.getInteger("k"), 0);
  EXPECT_EQ(settings.getString("k"), std::nullopt);  // a bool is not a string

  settings.setInteger("n", 3);
  EXPECT_EQ(settings.getDouble("n"), 3.0);
  settings.setDouble("d", 2.5);
  EXPECT_EQ(settings.getInteger("d"), std::nullopt);  // not whole
  settings.setDouble("d", 1e300);
  EXPECT_EQ(settings.getInteger("d"), std::nullopt);  // out of range
  settings.setDouble("d", -4);
  EXPECT_EQ(settings.getInteger("d"), -4);

  settings.setString("s", "");
  EXPECT_EQ(settings.getString("s"), "");
  EXPECT_TRUE(settings.contains("s"));
  settings.remove("s");
  EXPECT_FALSE(settings.contains("s"));
  EXPECT_EQ(settings.getString("s"), std::nullopt);
}

TEST(RecordingWindowsTest, DisabledButtonsCannotBePressedAndRecordsOutliveHandles) {
  RecordingWindowSystem system;
  WindowDescription description;
  description.title = "T";
  description.controls.push_back(
      {"go", {0, 0, 10, 10}, ButtonControl{"Go", DialogAction::startInAppUpdate, "", true}});
  description.controls.push_back({"note", {0, 0, 10, 10}, TextViewControl{"x", {}, false}});
  std::vector<DialogAction> actions;
  {
    auto window = system.createWindow(description);
    window->setActionHandler([&](DialogAction action) { actions.push_back(action); });
    EXPECT_TRUE(system.windows[0]->press(DialogAction::startInAppUpdate));
    EXPECT_FALSE(system.windows[0]->press(DialogAction::closeUpdate));  // no such button
    window->setEnabled("go", false);
    EXPECT_FALSE(system.windows[0]->press(DialogAction::startInAppUpdate));
    EXPECT_FALSE(system.windows[0]->type("note", "y"));  // not editable
    EXPECT_FALSE(window->setProgress("go", {}));         // not a progress bar
  }
  EXPECT_EQ(actions, std::vector<DialogAction>{DialogAction::startInAppUpdate});
  EXPECT_TRUE(system.windows[0]->released);
}

TEST(FakePlatformTest, PortsPointAtTheFakes) {
  FakePlatform fakes;
  const Platform ports = fakes.ports();
  EXPECT_EQ(ports.settings, &fakes.settings);
  EXPECT_EQ(ports.mainQueue, &fakes.mainQueue);
  EXPECT_EQ(ports.inputMenu, &fakes.inputMenu);
  // The fake HTTP session completes through the fake main queue.
  bool done = false;
  HttpRequest request;
  request.url = "http://127.0.0.1/x";
  fakes.http.dataTask(request, [&](HttpResult) { done = true; });
  EXPECT_TRUE(fakes.http.respondJson(200, "{}"));
  EXPECT_FALSE(done);
  fakes.mainQueue.drain();
  EXPECT_TRUE(done);
}

}  // namespace
}  // namespace ornav::testing
