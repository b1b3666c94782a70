// Subcommands that drive a real engine through its C interface.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ornav::dict {

// candidates DICTDIR --keymap KEYMAP.json KEYS...  (or DICTDIR KEYMAP.json KEYS...)
int runCandidates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// eval DICTDIR TEXT --keymap KEYMAP.json... [--no-learning]  (or DICTDIR KEYMAP.json TEXT)
int runEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace ornav::dict
