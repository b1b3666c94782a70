#import "platform/mac/task_process_runner.h"

#import <Foundation/Foundation.h>
#include <sys/fcntl.h>

#import "platform/mac/foundation_text.h"

namespace ornav::mac_platform {

namespace {

std::string bytesOf(NSData* data) {
  if (data == nil || data.length == 0) return {};
  return std::string(static_cast<const char*>(data.bytes), data.length);
}

}  // namespace

ProcessOutcome TaskProcessRunner::run(const ProcessRequest& request) {
  // Called on background threads, which drain no autorelease pool of their own.
  @autoreleasepool {
    NSTask* task = [[NSTask alloc] init];
    task.executableURL = [NSURL fileURLWithPath:toNSString(request.path)];
    NSMutableArray<NSString*>* arguments =
        [NSMutableArray arrayWithCapacity:request.arguments.size()];
    for (const std::string& argument : request.arguments)
      [arguments addObject:toNSString(argument)];
    task.arguments = arguments;

    NSPipe* input = request.standardInput ? [NSPipe pipe] : nil;
    NSPipe* output = request.captureStandardOutput ? [NSPipe pipe] : nil;
    NSPipe* errors = request.captureStandardError ? [NSPipe pipe] : nil;
    task.standardInput = input != nil ? input : NSFileHandle.fileHandleWithNullDevice;
    task.standardOutput = output != nil ? output : NSFileHandle.fileHandleWithNullDevice;
    task.standardError = errors != nil ? errors : NSFileHandle.fileHandleWithNullDevice;
    // A child that exits without reading its input must not end this process with SIGPIPE.
    if (input != nil) ::fcntl(input.fileHandleForWriting.fileDescriptor, F_SETNOSIGPIPE, 1);

    NSError* error = nil;
    if (![task launchAndReturnError:&error]) {
      return ProcessLaunchError{toStdString(error.localizedDescription)};
    }

    __block NSData* standardOutput = nil;
    __block NSData* standardError = nil;
    dispatch_group_t readers = dispatch_group_create();
    dispatch_queue_t queue = dispatch_get_global_queue(QOS_CLASS_USER_INITIATED, 0);
    if (output != nil) {
      dispatch_group_async(readers, queue, ^{
        standardOutput = [output.fileHandleForReading readDataToEndOfFileAndReturnError:nil];
      });
    }
    if (errors != nil) {
      dispatch_group_async(readers, queue, ^{
        standardError = [errors.fileHandleForReading readDataToEndOfFileAndReturnError:nil];
      });
    }
    if (input != nil) {
      // A child that stops reading early makes the write fail; it still gets end-of-file.
      NSData* bytes = [NSData dataWithBytes:request.standardInput->data()
                                     length:request.standardInput->size()];
      [input.fileHandleForWriting writeData:bytes error:nil];
      [input.fileHandleForWriting closeAndReturnError:nil];
    }
    [task waitUntilExit];
    dispatch_group_wait(readers, DISPATCH_TIME_FOREVER);

    ProcessResult result;
    if (task.terminationReason == NSTaskTerminationReasonUncaughtSignal) {
      result.terminatingSignal = task.terminationStatus;
      result.exitStatus = 128 + task.terminationStatus;
    } else {
      result.exitStatus = task.terminationStatus;
    }
    result.standardOutput = bytesOf(standardOutput);
    result.standardError = bytesOf(standardError);
    return result;
  }
}

bool TaskProcessRunner::launch(const std::string& path, const std::vector<std::string>& arguments) {
  @autoreleasepool {
    NSTask* task = [[NSTask alloc] init];
    task.executableURL = [NSURL fileURLWithPath:toNSString(path)];
    NSMutableArray<NSString*>* words = [NSMutableArray arrayWithCapacity:arguments.size()];
    for (const std::string& argument : arguments) [words addObject:toNSString(argument)];
    task.arguments = words;
    task.standardInput = NSFileHandle.fileHandleWithNullDevice;
    task.standardOutput = NSFileHandle.fileHandleWithNullDevice;
    task.standardError = NSFileHandle.fileHandleWithNullDevice;
    return [task launchAndReturnError:nil] == YES;
  }
}

}  // namespace ornav::mac_platform
