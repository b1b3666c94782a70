// Grand Central Dispatch: the main queue, the global queues, asynchronous and delayed work.
#pragma once

#include <os/object.h>
#include <stdint.h>
#include <sys/qos.h>

typedef uint64_t dispatch_time_t;
#define DISPATCH_TIME_NOW (0ull)
#define DISPATCH_TIME_FOREVER (~0ull)
#define NSEC_PER_SEC 1000000000ull

typedef void (^dispatch_block_t)(void);

OS_OBJECT_DECL_CLASS(dispatch_object);
OS_OBJECT_DECL_SUBCLASS(dispatch_queue, dispatch_object);
OS_OBJECT_DECL_SUBCLASS(dispatch_queue_global, dispatch_queue);
OS_OBJECT_DECL_SUBCLASS(dispatch_queue_serial, dispatch_queue);
OS_OBJECT_DECL_SUBCLASS(dispatch_queue_main, dispatch_queue_serial);

#pragma clang assume_nonnull begin

// The serial queue of the main thread, drained by the main run loop.
OS_EXPORT dispatch_queue_main_t dispatch_get_main_queue(void);
// A concurrent queue of the given quality of service (a qos_class_t); `flags` must be 0.
OS_EXPORT dispatch_queue_global_t dispatch_get_global_queue(intptr_t identifier, uintptr_t flags);
OS_EXPORT void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
OS_EXPORT void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
OS_EXPORT dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);

#pragma clang assume_nonnull end
