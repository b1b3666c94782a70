// Subcommands that drive a real engine through its C interface.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ornav::dict {

// candidates DICTDIR KEYMAP.json KEYS...
int runCandidates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// eval DICTDIR KEYMAP.json TEXT [--no-learning]
int runEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace ornav::dict
