#include "services/http_failure.h"

#include <cmath>
#include <cstdio>

namespace ornav {
namespace {

// Whole seconds without a fraction ("10"), others with one digit ("0.5").
std::string secondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, std::floor(seconds) == seconds ? "%.0f" : "%.1f", seconds);
  return text;
}

}  // namespace

std::string failureText(const HttpError& error) {
  const std::string host = error.host.empty() ? error.url : error.host;
  const std::string& why = error.detail;
  switch (error.code) {
    case HttpError::Code::badUrl:
      return "网址无效：" + error.url;
    case HttpError::Code::unsupportedScheme:
      return "不支持的网址类型：" + error.url;
    case HttpError::Code::cannotFindHost:
      return "找不到服务器 " + host + "。";
    case HttpError::Code::cannotConnect:
      return "无法连接到服务器 " + host + "（" + why + "）。";
    case HttpError::Code::timedOut:
      return "请求超时：服务器 " + host + " 在 " + secondsText(error.seconds) + " 秒内没有回应。";
    case HttpError::Code::secureConnectionFailed:
      return "无法与服务器 " + host + " 建立安全连接（" + why + "）。";
    case HttpError::Code::connectionLost:
      return "与服务器 " + host + " 的连接中断（" + why + "）。";
    case HttpError::Code::tooManyRedirects:
      return "服务器 " + host + " 的重定向次数过多。";
    case HttpError::Code::insecureRedirect:
      return "服务器 " + host + " 把安全连接重定向到了不安全的地址，已拒绝。";
    case HttpError::Code::responseTooLarge:
      return "服务器 " + host + " 返回的数据过大，已放弃。";
    case HttpError::Code::cancelled:
      return "请求已取消。";
    case HttpError::Code::fileError:
      return "无法写入下载的文件。";
    case HttpError::Code::other:
      break;
  }
  return why.empty() ? std::string("网络请求失败。") : "网络请求失败（" + why + "）。";
}

}  // namespace ornav
