#include "platform/linux/run_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/linux/worker_pool.h"

namespace ornav::linux_platform {
namespace {

using namespace std::chrono_literals;

TEST(RunLoopTest, PostsRunInOrderAndDelayedWorkWaitsForItsTime) {
  RunLoop loop;
  std::vector<int> ran;
  loop.postAfter(Seconds(0.2), [&] { ran.push_back(4); });
  loop.postAfter(Seconds(0.1), [&] { ran.push_back(3); });
  loop.post([&] {
    ran.push_back(1);
    loop.post([&] { ran.push_back(2); });  // posted while draining: runs in the same drain
  });
  EXPECT_EQ(loop.runUntilIdle(), 2u);
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  loop.runFor(Seconds(0.35));
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(loop.nextDue(), std::nullopt);
}

TEST(RunLoopTest, ItemsDueTogetherKeepPostingOrder) {
  RunLoop loop;
  std::vector<int> ran;
  for (int i = 0; i < 50; ++i)
    loop.postAfter(Seconds(0), [&ran, i] { ran.push_back(i); });
  loop.runUntilIdle();
  ASSERT_EQ(ran.size(), 50u);
  EXPECT_TRUE(std::is_sorted(ran.begin(), ran.end()));
}

TEST(RunLoopTest, TimerRepeatsUntilInvalidatedFromItsOwnTick) {
  RunLoop loop;
  int ticks = 0;
  std::unique_ptr<Timer> timer;
  timer = loop.scheduleRepeating(Seconds(0.02), [&] {
    if (++ticks == 3) timer->invalidate();
  });
  EXPECT_TRUE(loop.runUntil([&] { return !timer->isValid(); }, Seconds(5)));
  loop.runFor(Seconds(0.1));
  EXPECT_EQ(ticks, 3);
}

TEST(RunLoopTest, DroppingTheHandleStopsTheTimerAndReleasesItsCallback) {
  RunLoop loop;
  auto held = std::make_shared<int>(0);
  std::weak_ptr<int> watch = held;
  auto timer = loop.scheduleRepeating(Seconds(0.01), [held] { ++*held; });
  held.reset();
  loop.runFor(Seconds(0.05));
  timer.reset();
  EXPECT_TRUE(watch.expired());  // the callback's captures are gone at once
  loop.runFor(Seconds(0.05));    // and a pending tick finds nothing to do
}

TEST(RunLoopTest, DrainDoesNotSpinOnATimerSlowerThanItsInterval) {
  RunLoop loop;
  int ticks = 0;
  auto timer = loop.scheduleRepeating(Seconds(0.001), [&] {
    ++ticks;
    std::this_thread::sleep_for(3ms);
  });
  std::this_thread::sleep_for(5ms);
  loop.runUntilIdle();  // returns although the timer is always due again
  EXPECT_GE(ticks, 1);
  EXPECT_LE(ticks, 2);
}

TEST(RunLoopTest, RunServesPostsFromOtherThreadsUntilStopped) {
  RunLoop loop;
  std::atomic<int> ran{0};
  std::thread::id mainThread = std::this_thread::get_id();
  std::atomic<bool> allOnMain{true};
  WorkerPool pool(2);
  for (int i = 0; i < 100; ++i) {
    pool.post([&] {
      loop.post([&] {
        if (std::this_thread::get_id() != mainThread) allOnMain = false;
        if (++ran == 100) loop.stop();
      });
    });
  }
  loop.run();
  EXPECT_EQ(ran, 100);
  EXPECT_TRUE(allOnMain);
}

TEST(RunLoopTest, RunUntilReportsATimeOut) {
  RunLoop loop;
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(loop.runUntil([] { return false; }, Seconds(0.05)));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
}

TEST(WorkerPoolTest, RunsEverythingQueuedBeforeItIsDestroyed) {
  std::atomic<int> ran{0};
  {
    WorkerPool pool(2);
    for (int i = 0; i < 20; ++i) {
      pool.post([&] {
        std::this_thread::sleep_for(1ms);
        ++ran;
      });
    }
  }
  EXPECT_EQ(ran, 20);
}

}  // namespace
}  // namespace ornav::linux_platform
