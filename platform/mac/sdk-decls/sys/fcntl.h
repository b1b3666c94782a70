// File control. The POSIX part comes from the host's own header (the compile check runs on Linux);
// only what macOS adds is declared here: F_SETNOSIGPIPE, which makes a write to a pipe whose
// reader has gone fail with EPIPE instead of raising SIGPIPE in the process.
#pragma once

#include_next <sys/fcntl.h>

#define F_SETNOSIGPIPE 73
