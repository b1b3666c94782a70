// The figures both key-press benches print (pad_bench, ibus_bench): median, p99 and worst time of
// one kind of key press, in microseconds, and how many were timed.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

namespace ornav {

inline void printKeyPressFigures(const char* what, std::vector<double> micros) {
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  std::printf("%-34s median %7.0f us   p99 %7.0f us   worst %7.0f us   (%zu)\n", what,
              micros[micros.size() / 2],
              micros[std::min(micros.size() - 1, micros.size() * 99 / 100)], micros.back(),
              micros.size());
}

}  // namespace ornav
