// talpix-sample: the sample simulation engine, installed as TALPIX32 beside the demo workspace.
#include <iostream>
#include <string>
#include <vector>

#include "Engine.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return talpix::RunEngine(arguments, std::cout, std::cerr);
}
