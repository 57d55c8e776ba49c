// The data reader's file: the bytes after the first are the file WEATHER.DAT that a fixed deck
// reads and plots for 30 half-hour steps. The first byte chooses the columns read (1 to 4) and
// the header lines skipped (0 to 3).
#include <fstream>
#include <sstream>

#include "Engine.h"
#include "EngineFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  int columns = 1 + data[0] % 4, skip = data[0] / 4 % 4;
  std::string connections, labels;
  for (int k = 1; k <= columns; ++k) {
    connections += " 1," + std::to_string(k);
    labels += " C" + std::to_string(k);
  }
  std::string deck = "ASSIGN WEATHER.DAT 10\nSIMULATION 0 15 0.5\nUNIT 1 TYPE 9 Data\nPARAMETERS 5\n10 " +
                     std::to_string(columns) + " 0 1 " + std::to_string(skip) + "\nUNIT 2 TYPE 65 Plot\nPARAMETERS 3\n0.5 0 15\nINPUTS " +
                     std::to_string(columns) + "\n" + connections + "\n" + labels + "\nEND\n";
  talfuzz::FreshRunFolder();
  talfuzz::WriteScratch("run/WEATHER.DAT", talfuzz::Bytes(data + 1, size - 1));
  std::string path = talfuzz::WriteScratch("run/F.DCK", deck);
  std::ostringstream out, err;
  int status = talpix::RunEngine({path}, out, err);
  if (status != 0 && status != 1) talfuzz::Fail("the data deck ended with status " + std::to_string(status));
  if (status == 0) {
    // A run that succeeds read the whole file and plotted every step.
    std::string plot = talfuzz::ScratchFile("run/F.PLT");
    std::ifstream in(plot);
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    if (lines != 2 + 31) talfuzz::Fail("a successful run plotted " + std::to_string(lines - 2) + " rows, not 31");
  }
  return 0;
}
