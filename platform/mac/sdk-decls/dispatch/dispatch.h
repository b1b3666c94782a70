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
OS_OBJECT_DECL_SUBCLASS(dispatch_group, dispatch_object);

#pragma clang assume_nonnull begin

// The serial queue of the main thread, drained by the main run loop.
OS_EXPORT dispatch_queue_main_t dispatch_get_main_queue(void);
// A concurrent queue of the given quality of service (a qos_class_t); `flags` must be 0.
OS_EXPORT dispatch_queue_global_t dispatch_get_global_queue(intptr_t identifier, uintptr_t flags);
OS_EXPORT void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);
OS_EXPORT void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block);
OS_EXPORT dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);
// Groups: wait until every block submitted to the group has run.
OS_EXPORT OS_OBJECT_RETURNS_RETAINED dispatch_group_t dispatch_group_create(void);
OS_EXPORT void dispatch_group_async(dispatch_group_t group, dispatch_queue_t queue,
                                    dispatch_block_t block);
// 0 when the group finished, non-zero when `timeout` passed first.
OS_EXPORT intptr_t dispatch_group_wait(dispatch_group_t group, dispatch_time_t timeout);

#pragma clang assume_nonnull end
