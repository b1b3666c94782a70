#include "platform/linux/qt/qt_main_queue.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace ornav::linux_platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

bool onGuiThread() {
  return QThread::currentThread() == QCoreApplication::instance()->thread();
}

TEST(QtMainQueueTest, WorkPostedFromAnotherThreadRunsOnTheGuiThreadInPostingOrder) {
  QtMainQueue queue;
  std::vector<int> ran;
  std::atomic<int> offThread{0};
  std::thread poster([&] {
    for (int i = 0; i < 100; ++i) {
      queue.post([&ran, &offThread, i] {
        if (!onGuiThread()) ++offThread;
        ran.push_back(i);
      });
    }
  });
  poster.join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 100; }, 5000));
  EXPECT_EQ(offThread.load(), 0);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(ran[std::size_t(i)], i);
}

TEST(QtMainQueueTest, WorkPostedByWorkRunsAfterThatWorkReturns) {
  QtMainQueue queue;
  std::vector<std::string> steps;
  queue.post([&] {
    queue.post([&] { steps.push_back("inner"); });
    steps.push_back("outer done");
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return steps.size() == 2; }, 5000));
  EXPECT_EQ(steps, (std::vector<std::string>{"outer done", "inner"}));
}

TEST(QtMainQueueTest, DelayedWorkWaitsForItsTimeFromAnyThread) {
  QtMainQueue queue;
  const auto start = SteadyClock::now();
  std::optional<SteadyClock::duration> fromGui;
  std::optional<SteadyClock::duration> fromOther;
  bool otherOnGui = false;
  queue.postAfter(Seconds(0.08), [&] { fromGui = SteadyClock::now() - start; });
  std::thread poster([&] {
    queue.postAfter(Seconds(0.12), [&] {
      otherOnGui = onGuiThread();
      fromOther = SteadyClock::now() - start;
    });
  });
  poster.join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return fromGui && fromOther; }, 5000));
  EXPECT_GE(*fromGui, std::chrono::milliseconds(80));
  EXPECT_GE(*fromOther, std::chrono::milliseconds(120));
  EXPECT_TRUE(otherOnGui);
}

TEST(QtMainQueueTest, RepeatingTimerTicksUntilInvalidatedFromItsOwnTick) {
  QtMainQueue queue;
  int ticks = 0;
  std::unique_ptr<Timer> timer;
  timer = queue.scheduleRepeating(Seconds(0.01), [&] {
    if (++ticks == 3) timer->invalidate();
  });
  EXPECT_TRUE(timer->isValid());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !timer->isValid(); }, 5000));
  QTest::qWait(60);
  EXPECT_EQ(ticks, 3);
  timer->invalidate();  // again: harmless
  EXPECT_FALSE(timer->isValid());
}

TEST(QtMainQueueTest, TimerHandleDestroyedInsideItsTickStopsIt) {
  QtMainQueue queue;
  int ticks = 0;
  std::unique_ptr<Timer> timer;
  timer = queue.scheduleRepeating(Seconds(0.01), [&] {
    ++ticks;
    timer.reset();
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return timer == nullptr; }, 5000));
  QTest::qWait(50);
  EXPECT_EQ(ticks, 1);
}

TEST(QtMainQueueTest, DroppingTheHandleStopsTheTimerAndReleasesItsCallback) {
  QtMainQueue queue;
  auto held = std::make_shared<int>(0);
  std::weak_ptr<int> watch = held;
  auto timer = queue.scheduleRepeating(Seconds(0.01), [held] { ++*held; });
  int* counter = held.get();
  held.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return *counter >= 2; }, 5000));
  timer.reset();
  EXPECT_TRUE(watch.expired());
  QTest::qWait(30);
}

TEST(QtMainQueueTest, PendingWorkIsDroppedWithTheQueueAndHandlesMayOutliveIt) {
  bool ran = false;
  std::unique_ptr<Timer> timer;
  {
    QtMainQueue queue;
    queue.post([&] { ran = true; });
    queue.postAfter(Seconds(0), [&] { ran = true; });
    timer = queue.scheduleRepeating(Seconds(0.001), [&] { ran = true; });
  }
  QTest::qWait(30);
  EXPECT_FALSE(ran);
  EXPECT_FALSE(timer->isValid());
  timer->invalidate();
  EXPECT_FALSE(timer->isValid());
}

}  // namespace
}  // namespace ornav::linux_platform
