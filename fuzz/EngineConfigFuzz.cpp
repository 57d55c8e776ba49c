// The engine configuration CNFGTL.TAL: any bytes give the engine switches; the file rewritten with
// every switch turned over gives back the turned switches, and its first line unchanged.
#include "FuzzSupport.h"
#include "runs/EngineConfig.h"
#include "support/Files.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = talfuzz::Bytes(data, size);
  talfuzz::WriteScratch(EngineConfigName, bytes);
  auto switches = ReadEngineSwitches(talfuzz::Scratch());
  if (!switches) talfuzz::Fail("a configuration file that exists was not read");
  EngineSwitches turned{};
  for (std::size_t i = 0; i < turned.size(); ++i) turned[i] = !(*switches)[i];
  std::string rewritten = SwitchedEngineConfig(std::string(bytes), turned);
  talfuzz::WriteScratch(EngineConfigName, rewritten);
  if (ReadEngineSwitches(talfuzz::Scratch()) != turned) talfuzz::Fail("the rewritten switches read back different");
  auto before = SplitLines(bytes), after = SplitLines(rewritten);
  if (!before.empty() && after.front() != before.front())
    talfuzz::Fail("the first line was changed");
  return 0;
}
