// What the network operations share beyond the endpoints: handing results to the main queue,
// the clock, the time-outs (which tests can shorten) and reading an answer out of an HTTP result.
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

// `seconds`, unless a test set an override for every operation.
double timeout(double seconds);
void setTimeoutOverride(std::optional<double> seconds);

// The data-task port, or null when the platform has none.
HttpSession* http();

// Sends `request` on the shared session; without one, `completion` gets a transport error so that
// it still runs exactly once.
void send(const HttpRequest& request, std::function<void(HttpResult)> completion);

}  // namespace ornav::service_ops
