// Carbon's Text Input Source Services: registering an input-method bundle with the system's list
// of text input sources and listing the sources it provides. These functions follow the Core
// Foundation naming rule: "Create" results are owned by the caller (CFRelease), "Get" results
// are not. Like the real umbrella, it brings HIToolbox's input-method client protocol, which
// InputMethodKit reaches through it.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/IMKInputSession.h>
#include <MacTypes.h>

typedef struct CF_BRIDGED_TYPE(id) __TISInputSource* TISInputSourceRef;

// Property keys, for TISGetInputSourceProperty and for the filter of TISCreateInputSourceList.
CF_EXPORT const CFStringRef kTISPropertyInputSourceID;
CF_EXPORT const CFStringRef kTISPropertyBundleID;

// The value of `propertyKey` (a CF object owned by the source), or NULL when it has none.
CF_EXPORT void* TISGetInputSourceProperty(TISInputSourceRef inputSource, CFStringRef propertyKey);

// The sources matching every key/value of `properties` (NULL for all); with `includeAllInstalled`
// also those that are installed but not enabled. NULL or an empty array when none match.
CF_EXPORT CFArrayRef TISCreateInputSourceList(CFDictionaryRef properties,
                                              Boolean includeAllInstalled);

// The keyboard input source selected now; owned by the caller (CFRelease).
CF_EXPORT TISInputSourceRef TISCopyCurrentKeyboardInputSource(void);

// Posted on the distributed notification centre whenever another keyboard input source is
// selected, by any process.
CF_EXPORT const CFStringRef kTISNotifySelectedKeyboardInputSourceChanged;

// Registers the input sources of the bundle or keyboard layout at `location` (a file URL).
CF_EXPORT OSStatus TISRegisterInputSource(CFURLRef location);
