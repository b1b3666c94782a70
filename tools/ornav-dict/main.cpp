// ornav-dict: builds the dictionary maps from the committed counts and inspects them.
#include <iostream>

#include "commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return ornav::dict::runCommand(args, std::cout, std::cerr);
}
