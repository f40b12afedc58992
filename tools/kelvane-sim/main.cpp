#include <iostream>

#include "commands.h"

int main(int argc, char** argv) {
  return kelvane::platform::sim::RunKelvaneSim(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
