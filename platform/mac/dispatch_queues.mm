#import "platform/mac/dispatch_queues.h"

#import <Foundation/Foundation.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace ornav::mac_platform {

namespace {

// Blocks copy what they capture; the work is moved into one shared copy instead.
dispatch_block_t blockRunning(std::function<void()> work) {
  auto shared = std::make_shared<std::function<void()>>(std::move(work));
  return ^{
    if (*shared) (*shared)();
  };
}

}  // namespace

void DispatchMainQueue::post(std::function<void()> work) {
  dispatch_async(dispatch_get_main_queue(), blockRunning(std::move(work)));
}

void DispatchMainQueue::postAfter(Seconds delay, std::function<void()> work) {
  const double seconds = std::max(0.0, delay.count());
  const auto nanoseconds = static_cast<std::int64_t>(seconds * static_cast<double>(NSEC_PER_SEC));
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, nanoseconds), dispatch_get_main_queue(),
                 blockRunning(std::move(work)));
}

std::unique_ptr<Timer> DispatchMainQueue::scheduleRepeating(Seconds interval,
                                                            std::function<void()> tick) {
  return std::make_unique<RunLoopTimer>(interval, std::move(tick));
}

struct RunLoopTimer::Handle {
  NSTimer* timer;
};

RunLoopTimer::RunLoopTimer(Seconds interval, std::function<void()> tick) {
  auto shared = std::make_shared<std::function<void()>>(std::move(tick));
  NSTimer* timer = [NSTimer timerWithTimeInterval:interval.count()
                                          repeats:YES
                                            block:^(NSTimer*) {
                                              // The tick may destroy this handle; its own copy
                                              // keeps the function alive until it returns.
                                              const auto keep = shared;
                                              if (*keep) (*keep)();
                                            }];
  // The common modes: the timer also fires while a menu tracks or an alert runs.
  [NSRunLoop.mainRunLoop addTimer:timer forMode:NSRunLoopCommonModes];
  handle_ = std::make_unique<Handle>(Handle{timer});
}

RunLoopTimer::~RunLoopTimer() { invalidate(); }

void RunLoopTimer::invalidate() { [handle_->timer invalidate]; }

bool RunLoopTimer::isValid() const { return handle_->timer.valid; }

void DispatchBackgroundQueue::post(std::function<void()> work) {
  dispatch_async(dispatch_get_global_queue(QOS_CLASS_USER_INITIATED, 0),
                 blockRunning(std::move(work)));
}

}  // namespace ornav::mac_platform
