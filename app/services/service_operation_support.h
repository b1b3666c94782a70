// What the network operations share beyond the endpoints: handing results to the main queue,
// the clock, the time-outs and sending a request.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ports/http_session.h"

namespace ornav::service_ops {

// Runs `work` asynchronously on the main queue. Completions always go through here, also when no
// request was made, so a caller never sees its completion run inside its own call.
void postToMain(std::function<void()> work);

// Seconds since 1970 from the platform's clock (the system clock when none is installed).
double nowSeconds();

// `seconds`, unless the client's environment replaces every time-out.
double timeout(double seconds);

// The data-task port, or null when the platform has none.
HttpSession* http();

// Sends `request` on the shared session; without one, `completion` gets a transport error so that
// it still runs exactly once.
void send(const HttpRequest& request, std::function<void(HttpResult)> completion);

}  // namespace ornav::service_ops
