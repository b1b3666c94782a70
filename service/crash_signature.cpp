#include "crash_signature.h"

#include <cctype>
#include <sstream>

namespace ornav::service {
namespace {

constexpr int kFramesCompared = 5;
// Short enough for any database's unique index.
constexpr std::size_t kLongestSignature = 1000;

// A token that changes between runs: an address (0x...), a frame number or an offset.
bool isVolatile(const std::string& token) {
  if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) return true;
  for (char c : token) {
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '+') return false;
  }
  return true;
}

std::string stableFrame(const std::string& line) {
  std::istringstream tokens(line);
  std::string token, frame;
  while (tokens >> token) {
    if (isVolatile(token)) continue;
    if (!frame.empty()) frame += ' ';
    frame += token;
  }
  return frame;
}

}  // namespace

std::string crashSignature(const CrashReport& report) {
  std::string signature = report.type + "|" + report.name;
  std::istringstream lines(report.stack);
  int frames = 0;
  for (std::string line; frames < kFramesCompared && std::getline(lines, line);) {
    const std::string frame = stableFrame(line);
    if (frame.empty()) continue;
    signature += "|" + frame;
    ++frames;
  }
  if (signature.size() > kLongestSignature) {
    std::size_t end = kLongestSignature;
    while (end > 0 && (static_cast<unsigned char>(signature[end]) & 0xC0) == 0x80)
      --end;  // never inside a character
    signature.resize(end);
  }
  return signature;
}

}  // namespace ornav::service
