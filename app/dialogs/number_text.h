// Numbers as the dialogs print them: fixed decimals with a full stop whatever the process's
// locale (a toolkit may switch the C locale to the user's, where printf would write a comma).
#pragma once

#include <string>

namespace ornav::number_text {

// `value` rounded to `decimals` places, as "%.<decimals>f" prints it in the C locale.
std::string fixed(double value, int decimals);

// Bytes as megabytes (bytes / 1024 / 1024) with one decimal.
std::string megabytes(double bytes);

}  // namespace ornav::number_text
