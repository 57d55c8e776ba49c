// Make TALKIT file: any deck is scanned for its units, constants and inputs against the demo's
// type description files, and the form deck is generated from it. With the first byte odd, the
// bytes are instead the type description file of every unit of the demo's house deck.
#include <filesystem>

#include "FuzzSupport.h"
#include "generator/DeckScan.h"
#include "generator/TalkitGenerator.h"
#include "support/Files.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {
// The demo's type descriptions, or the fuzzed one in their place.
const std::string& DemoDescriptions() {
  static const std::string folder = [] {
    std::string info = talfuzz::ScratchFile("INFO");
    std::filesystem::create_directories(info);
    std::filesystem::copy(TAL_SOURCE_DIR "/demo/INFO", info, std::filesystem::copy_options::overwrite_existing);
    return info;
  }();
  return folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::string_view bytes = talfuzz::Bytes(data + 1, size - 1);
  ScriptedInteraction answers;
  std::string deck(bytes);
  std::string descriptions = DemoDescriptions();
  if (data[0] % 2 == 1) {
    static const std::string house = ReadWholeFile(TAL_SOURCE_DIR "/demo/HOUSE.DCK").value_or("");
    descriptions = talfuzz::ScratchFile("FUZZINFO");
    std::filesystem::create_directories(descriptions);
    for (const char* type : {"TYPE1", "TYPE2", "TYPE3", "TYPE6", "TYPE9", "TYPE24", "TYPE25", "TYPE65"})
      talfuzz::WriteScratch(std::string("FUZZINFO/") + type + ".INF", bytes);
    deck = house;
  }
  ScannedDeck scanned = ScanDeck(deck, descriptions);
  GenerateConstants(scanned);
  TalkitDeckText(scanned, GeneratorOptions{});
  return 0;
}
