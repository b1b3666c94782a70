// Quality-of-service classes for work submitted to global queues.
#pragma once

typedef enum : unsigned int {
  QOS_CLASS_USER_INITIATED = 0x19,
  QOS_CLASS_DEFAULT = 0x15,
  QOS_CLASS_UNSPECIFIED = 0x00,
} qos_class_t;
