// The sentence a user (and the log) reads for a failed request, written from the failure's kind
// and facts, e.g. "请求超时：服务器 h:8080 在 10 秒内没有回应。".
#pragma once

#include <string>

#include "ports/http_session.h"

namespace ornav {

std::string failureText(const HttpError& error);

}  // namespace ornav
