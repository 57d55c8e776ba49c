#include <QCoreApplication>
#include <iostream>

#include "BatchCommand.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  tal::batch::BatchIo io{std::cout, std::cerr};
  return tal::batch::RunBatch(args, io);
}
