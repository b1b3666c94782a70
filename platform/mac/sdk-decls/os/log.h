// The unified system log. The format must be a string literal: the compiler encodes the arguments
// into a buffer and checks them against the format, and "%{public}s" marks a string as not private.
#pragma once

#include <os/object.h>
#include <stdbool.h>
#include <stdint.h>

OS_OBJECT_DECL_CLASS(os_log);

typedef uint8_t os_log_type_t;
enum : os_log_type_t {
  OS_LOG_TYPE_DEFAULT = 0x00,
  OS_LOG_TYPE_INFO = 0x01,
  OS_LOG_TYPE_DEBUG = 0x02,
  OS_LOG_TYPE_ERROR = 0x10,
  OS_LOG_TYPE_FAULT = 0x11,
};

struct os_log_s;
struct mach_header;
extern struct os_log_s _os_log_default;
extern struct mach_header __dso_handle;
#define OS_LOG_DEFAULT ((__bridge os_log_t)(void*)&_os_log_default)

#pragma clang assume_nonnull begin

OS_EXPORT OS_OBJECT_RETURNS_RETAINED os_log_t os_log_create(const char* subsystem,
                                                            const char* category);
OS_EXPORT bool os_log_type_enabled(os_log_t oslog, os_log_type_t type);
OS_EXPORT void _os_log_impl(void* dso, os_log_t log, os_log_type_t type, const char* format,
                            uint8_t* buf, uint32_t size);

#pragma clang assume_nonnull end

#define os_log_with_type(log, type, format, ...)                                         \
  __extension__({                                                                        \
    os_log_t _ornav_log = (log);                                                         \
    os_log_type_t _ornav_type = (type);                                                  \
    if (os_log_type_enabled(_ornav_log, _ornav_type)) {                                  \
      __attribute__((uninitialized, aligned(16)))                                        \
      uint8_t _ornav_buf[__builtin_os_log_format_buffer_size(format, ##__VA_ARGS__)];    \
      _os_log_impl((void*)&__dso_handle, _ornav_log, _ornav_type, format,                \
                   (uint8_t*)__builtin_os_log_format(_ornav_buf, format, ##__VA_ARGS__), \
                   (uint32_t)sizeof(_ornav_buf));                                        \
    }                                                                                    \
  })

#define os_log(log, format, ...) os_log_with_type(log, OS_LOG_TYPE_DEFAULT, format, ##__VA_ARGS__)
#define os_log_info(log, format, ...) os_log_with_type(log, OS_LOG_TYPE_INFO, format, ##__VA_ARGS__)
#define os_log_debug(log, format, ...) \
  os_log_with_type(log, OS_LOG_TYPE_DEBUG, format, ##__VA_ARGS__)
#define os_log_error(log, format, ...) \
  os_log_with_type(log, OS_LOG_TYPE_ERROR, format, ##__VA_ARGS__)
#define os_log_fault(log, format, ...) \
  os_log_with_type(log, OS_LOG_TYPE_FAULT, format, ##__VA_ARGS__)
