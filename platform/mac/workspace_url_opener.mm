#import "platform/mac/workspace_url_opener.h"

#import <AppKit/AppKit.h>

#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

bool WorkspaceUrlOpener::open(const std::string& url) {
  NSURL* address = [NSURL URLWithString:toNSString(url)];
  if (address == nil) return false;
  return [NSWorkspace.sharedWorkspace openURL:address];
}

}  // namespace ornav::mac_platform
