// talpix-sample: the sample simulation engine, installed as TALPIX32 beside the demo workspace.
#include <CLI/CLI.hpp>
#include <signal.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "Engine.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// SIGTERM (the shell's Stop) and SIGINT end the run after the step under way, with the result
// files closed whole. The handler is then reset, so a second signal ends the engine at once.
void RequestStop(int) { stopRequested = 1; }

void StopOnSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  StopOnSignals();
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
  talpix::RunControl control;
  control.stopRequested = &stopRequested;
  return talpix::RunEngine(arguments, std::cout, std::cerr, control);
}
