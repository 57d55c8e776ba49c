#include <clocale>
#include <QCoreApplication>
#include <iostream>

#include "BatchCommand.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Qt adopts the desktop locale; number texts in decks and files always use a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  std::vector<std::string> args(argv + 1, argv + argc);
  tal::batch::BatchIo io{std::cout, std::cerr};
  return tal::batch::RunBatch(args, io);
}
