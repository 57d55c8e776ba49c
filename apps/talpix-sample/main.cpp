// talpix-sample: the sample simulation engine, installed as TALPIX32 beside the demo workspace.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "Engine.h"

int main(int argc, char** argv) {
  CLI::App app{"The sample TALPIX simulation engine, a workspace's TALPIX32. It runs DECK and writes beside it,\n"
               "under the deck's name up to its first \".\", the listing .LST, the printers' files (.OUT, .OU2 ...)\n"
               "and the plot writer's .PLT. Exit status: 0 when the run ended, 1 for an error in the deck or\n"
               "during the run, 2 when the command line or the deck file cannot be used.",
               "talpix-sample"};
  std::vector<std::string> arguments;
  app.add_option("DECK", arguments, "the deck to run; /N after it (table runs) is accepted and changes nothing")
      ->type_name("");
  app.set_version_flag("--version", std::string("talpix-sample ") + TAL_VERSION + " (" + talpix::EngineTitle + ")");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help and --version
    std::cerr << "talpix-sample: " << e.what() << "\nTry 'talpix-sample --help'.\n";
    return 2;
  }
  return talpix::RunEngine(arguments, std::cout, std::cerr);
}
