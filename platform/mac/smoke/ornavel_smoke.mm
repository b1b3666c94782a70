// ornavel-smoke: what only a Mac can tell about a built Ornavel.app before it is installed.
//
//   ornavel-smoke PATH/Ornavel.app
//
// The program is linked like the application (the layer's library with every Objective-C class
// loaded), reads the bundle's Info.plist and checks that InputMethodServerControllerClass names a
// class of the program that subclasses IMKInputController and implements, itself, every method of
// OrnavInputControllerOverrides, and that an IMKServer for that class starts under
// InputMethodConnectionName. One line per check; exit status 1 when one failed. The connection
// name is the server's name for the whole login session, so the installed input method must not
// be running meanwhile.
#import <Foundation/Foundation.h>
#import <InputMethodKit/InputMethodKit.h>
#import <objc/runtime.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#import "platform/mac/foundation_text.h"
#import "platform/mac/imk_input_controller.h"

namespace {

using ornav::mac_platform::toStdString;

bool report(bool passed, const std::string& what) {
  std::printf("%s %s\n", passed ? "ok    " : "FAILED", what.c_str());
  return passed;
}

// The names of the instance methods `cls` implements itself.
std::set<std::string> ownMethods(Class cls) {
  std::set<std::string> names;
  unsigned int count = 0;
  Method* methods = class_copyMethodList(cls, &count);
  for (unsigned int i = 0; i < count; ++i) names.insert(sel_getName(method_getName(methods[i])));
  std::free(methods);
  return names;
}

// Every method of the overrides protocol that `cls` does not implement itself.
bool checkOverrides(Class cls) {
  const std::set<std::string> own = ownMethods(cls);
  unsigned int count = 0;
  objc_method_description* wanted = protocol_copyMethodDescriptionList(
      @protocol(OrnavInputControllerOverrides), YES, YES, &count);
  bool passed = report(count > 0, "the overrides are listed");
  for (unsigned int i = 0; i < count; ++i) {
    const std::string name = sel_getName(wanted[i].name);
    passed = report(own.count(name) == 1, "it overrides " + name) && passed;
  }
  std::free(wanted);
  return passed;
}

}  // namespace

int main(int argc, char** argv) {
  @autoreleasepool {
    if (argc != 2) {
      std::fprintf(stderr, "usage: ornavel-smoke PATH/Ornavel.app\n");
      return 2;
    }
    NSBundle* bundle = [NSBundle bundleWithPath:@(argv[1])];
    NSDictionary<NSString*, id>* info = bundle.infoDictionary;
    NSString* className = info[@"InputMethodServerControllerClass"];
    NSString* connection = info[@"InputMethodConnectionName"];
    if (!report(className != nil && connection != nil, "Info.plist names the controller class " +
                                                           toStdString(className ?: @"-") +
                                                           " and the connection")) {
      return 1;
    }
    const Class controller = NSClassFromString(className);
    if (!report(controller != Nil, "the class is in the program")) return 1;
    bool passed = report([controller isSubclassOfClass:[IMKInputController class]],
                         "it subclasses IMKInputController");
    passed = checkOverrides(controller) && passed;
    IMKServer* server = [[IMKServer alloc] initWithName:connection
                                        controllerClass:controller
                                          delegateClass:Nil];
    passed =
        report(server != nil, "an IMKServer starts under " + toStdString(connection)) && passed;
    return passed ? 0 : 1;
  }
}
