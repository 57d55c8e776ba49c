// A fuzzed deck run by the engine for at most 50 steps in a scratch folder. The bytes up to the
// first NUL are the deck F.DCK; the bytes after it, when there is one, the data file WEATHER.DAT
// beside it. Decks that assign files outside the folder are not run.
#include <cstring>
#include <sstream>

#include "Engine.h"
#include "EngineFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = talfuzz::Bytes(data, size);
  std::size_t nul = bytes.find('\0');
  std::string deck(bytes.substr(0, nul));
  if (!talfuzz::FilesStayBesideTheDeck(deck)) return 0;
  std::string folder = talfuzz::FreshRunFolder();
  if (nul != std::string_view::npos) talfuzz::WriteScratch("run/WEATHER.DAT", bytes.substr(nul + 1));
  std::string path = talfuzz::WriteScratch("run/F.DCK", deck);
  talpix::RunControl control;
  control.stepLimit = 50;
  std::ostringstream out, err;
  int status = talpix::RunEngine({path}, out, err, control);
  if (status != 0 && status != 1) talfuzz::Fail("a readable deck ended with status " + std::to_string(status));
  if (status == 1 && err.str().empty()) talfuzz::Fail("a run failed without a message");
  return 0;
}
