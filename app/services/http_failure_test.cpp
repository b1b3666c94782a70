#include "services/http_failure.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

using Code = HttpError::Code;

HttpError failure(Code code, std::string detail = {}) {
  return HttpError{.code = code,
                   .url = "https://h.example:8443/api",
                   .host = "h.example:8443",
                   .detail = std::move(detail)};
}

TEST(HttpFailureText, NamesTheServerAndTheReason) {
  EXPECT_EQ(failureText(failure(Code::cannotConnect, "Connection refused")),
            "无法连接到服务器 h.example:8443（Connection refused）。");
  EXPECT_EQ(failureText(failure(Code::cannotFindHost)), "找不到服务器 h.example:8443。");
  EXPECT_EQ(failureText(failure(Code::secureConnectionFailed, "bad certificate")),
            "无法与服务器 h.example:8443 建立安全连接（bad certificate）。");
  EXPECT_EQ(failureText(failure(Code::connectionLost, "reset")),
            "与服务器 h.example:8443 的连接中断（reset）。");
  EXPECT_EQ(failureText(failure(Code::tooManyRedirects)),
            "服务器 h.example:8443 的重定向次数过多。");
  EXPECT_EQ(failureText(failure(Code::insecureRedirect)),
            "服务器 h.example:8443 把安全连接重定向到了不安全的地址，已拒绝。");
  EXPECT_EQ(failureText(failure(Code::responseTooLarge)),
            "服务器 h.example:8443 返回的数据过大，已放弃。");
  EXPECT_EQ(failureText(failure(Code::cancelled)), "请求已取消。");
  EXPECT_EQ(failureText(failure(Code::fileError)), "无法写入下载的文件。");
  EXPECT_EQ(failureText(failure(Code::badUrl)), "网址无效：https://h.example:8443/api");
  EXPECT_EQ(failureText(failure(Code::unsupportedScheme)),
            "不支持的网址类型：https://h.example:8443/api");
  EXPECT_EQ(failureText(failure(Code::other, "boom")), "网络请求失败（boom）。");
  EXPECT_EQ(failureText(failure(Code::other)), "网络请求失败。");
}

TEST(HttpFailureText, TimeOutsShowWholeSecondsWithoutAFraction) {
  HttpError error = failure(Code::timedOut);
  error.seconds = 10;
  EXPECT_EQ(failureText(error), "请求超时：服务器 h.example:8443 在 10 秒内没有回应。");
  error.seconds = 0.5;
  EXPECT_EQ(failureText(error), "请求超时：服务器 h.example:8443 在 0.5 秒内没有回应。");
}

TEST(HttpFailureText, WithoutAHostTheAddressIsNamed) {
  HttpError error{.code = Code::cannotFindHost, .url = "http://nowhere/"};
  EXPECT_EQ(failureText(error), "找不到服务器 http://nowhere/。");
}

}  // namespace
}  // namespace ornav
