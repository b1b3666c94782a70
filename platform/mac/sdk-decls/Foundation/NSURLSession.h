// URL sessions: data tasks answered through a completion block or a data delegate, download tasks
// reported to a delegate (progress, the finished file, completion) on the session's delegate
// queue. A session with a delegate keeps it alive until the session is invalidated.
#pragma once

#include <Foundation/NSDate.h>
#include <Foundation/NSObject.h>
#include <Foundation/NSURLRequest.h>
#include <Foundation/NSURLResponse.h>

@class NSData, NSError, NSOperationQueue, NSURL;
@class NSURLSessionConfiguration, NSURLSessionTask, NSURLSessionDataTask, NSURLSessionDownloadTask;
@protocol NSURLSessionDelegate;

NS_ASSUME_NONNULL_BEGIN

@interface NSURLSession : NSObject
@property(class, readonly, strong) NSURLSession *sharedSession;
+ (NSURLSession *)sessionWithConfiguration:(NSURLSessionConfiguration *)configuration
                                  delegate:(nullable id<NSURLSessionDelegate>)delegate
                             delegateQueue:(nullable NSOperationQueue *)queue;
- (void)finishTasksAndInvalidate;
- (void)invalidateAndCancel;
- (NSURLSessionDataTask *)dataTaskWithRequest:(NSURLRequest *)request;
- (NSURLSessionDownloadTask *)downloadTaskWithRequest:(NSURLRequest *)request;
@end

@interface NSURLSession (NSURLSessionAsynchronousConvenience)
- (NSURLSessionDataTask *)dataTaskWithRequest:(NSURLRequest *)request
                            completionHandler:(void (^)(NSData *_Nullable data,
                                                        NSURLResponse *_Nullable response,
                                                        NSError *_Nullable error))completionHandler;
@end

@interface NSURLSessionTask : NSObject <NSCopying>
@property(readonly) NSUInteger taskIdentifier;
@property(nullable, readonly, copy) NSURLRequest *originalRequest;
@property(nullable, readonly, copy) NSURLRequest *currentRequest;
@property(nullable, readonly, copy) NSURLResponse *response;
- (void)cancel;
- (void)resume;
@end

@interface NSURLSessionDataTask : NSURLSessionTask
@end

@interface NSURLSessionDownloadTask : NSURLSessionTask
@end

@interface NSURLSessionConfiguration : NSObject <NSCopying>
@property(class, readonly, strong) NSURLSessionConfiguration *defaultSessionConfiguration;
@property(class, readonly, strong) NSURLSessionConfiguration *ephemeralSessionConfiguration;
@property NSURLRequestCachePolicy requestCachePolicy;
// Idle time allowed between two pieces of data, and the whole transfer's limit.
@property NSTimeInterval timeoutIntervalForRequest;
@property NSTimeInterval timeoutIntervalForResource;
@end

@protocol NSURLSessionDelegate <NSObject>
@optional
- (void)URLSession:(NSURLSession *)session didBecomeInvalidWithError:(nullable NSError *)error;
@end

@protocol NSURLSessionTaskDelegate <NSURLSessionDelegate>
@optional
// Call the handler with the request to follow, or with nil to stop at the redirect response.
- (void)URLSession:(NSURLSession *)session
                          task:(NSURLSessionTask *)task
    willPerformHTTPRedirection:(NSHTTPURLResponse *)response
                    newRequest:(NSURLRequest *)request
             completionHandler:(void (^)(NSURLRequest *_Nullable))completionHandler;
- (void)URLSession:(NSURLSession *)session
                    task:(NSURLSessionTask *)task
    didCompleteWithError:(nullable NSError *)error;
@end

typedef NS_ENUM(NSInteger, NSURLSessionResponseDisposition) {
  NSURLSessionResponseCancel = 0,
  NSURLSessionResponseAllow = 1,
  NSURLSessionResponseBecomeDownload = 2,
  NSURLSessionResponseBecomeStream = 3,
};

// Data tasks without a completion block report the response and each piece of the body here.
@protocol NSURLSessionDataDelegate <NSURLSessionTaskDelegate>
@optional
- (void)URLSession:(NSURLSession *)session
              dataTask:(NSURLSessionDataTask *)dataTask
    didReceiveResponse:(NSURLResponse *)response
     completionHandler:(void (^)(NSURLSessionResponseDisposition disposition))completionHandler;
- (void)URLSession:(NSURLSession *)session
          dataTask:(NSURLSessionDataTask *)dataTask
    didReceiveData:(NSData *)data;
@end

@protocol NSURLSessionDownloadDelegate <NSURLSessionTaskDelegate>
// The file at `location` is removed when this returns: move or read it before.
- (void)URLSession:(NSURLSession *)session
                 downloadTask:(NSURLSessionDownloadTask *)downloadTask
    didFinishDownloadingToURL:(NSURL *)location;
@optional
- (void)URLSession:(NSURLSession *)session
                 downloadTask:(NSURLSessionDownloadTask *)downloadTask
                 didWriteData:(int64_t)bytesWritten
            totalBytesWritten:(int64_t)totalBytesWritten
    totalBytesExpectedToWrite:(int64_t)totalBytesExpectedToWrite;
@end

NS_ASSUME_NONNULL_END
