#import "platform/mac/input_source_watch.h"

#import <Carbon/Carbon.h>
#import <Foundation/Foundation.h>

#include <utility>

#import "platform/mac/foundation_text.h"
#import "platform/mac/imk_input_controller.h"

namespace {

// Outside the project's namespace, where the name is the Objective-C class's alone.
void deactivateActiveController() { [OrnavInputController deactivateActiveController]; }

}  // namespace

namespace ornav::mac_platform {

namespace {

std::string selectedSourceID() {
  TISInputSourceRef source = TISCopyCurrentKeyboardInputSource();
  if (source == nullptr) return {};
  NSString* identifier =
      (__bridge NSString*)TISGetInputSourceProperty(source, kTISPropertyInputSourceID);
  std::string text = toStdString(identifier);
  CFRelease(source);
  return text;
}

}  // namespace

struct InputSourceWatch::Observation {
  id<NSObject> observer;
};

InputSourceWatch::InputSourceWatch(std::string ownSourcePrefix) {
  auto prefix = std::make_shared<const std::string>(std::move(ownSourcePrefix));
  id<NSObject> observer = [NSDistributedNotificationCenter.defaultCenter
      addObserverForName:(__bridge NSString*)kTISNotifySelectedKeyboardInputSourceChanged
                  object:nil
                   queue:NSOperationQueue.mainQueue
              usingBlock:^(NSNotification*) {
                if (!selectedSourceID().starts_with(*prefix)) {
                  ::deactivateActiveController();
                }
              }];
  observation_ = std::make_unique<Observation>(Observation{observer});
}

InputSourceWatch::~InputSourceWatch() {
  [NSDistributedNotificationCenter.defaultCenter removeObserver:observation_->observer];
}

}  // namespace ornav::mac_platform
