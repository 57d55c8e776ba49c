// The settings file TALSHELL.DFT: any bytes are read or refused with a message; a record that was
// read is written back to the same number of bytes and reads back equal.
#include "FuzzSupport.h"
#include "runs/SettingsFile.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  talfuzz::WriteScratch(SettingsFileName, talfuzz::Bytes(data, size));
  SettingsRecord read;
  DftReadResult result = ReadDFT(talfuzz::Scratch(), read);
  if (!result.ok) {
    if (result.message.empty()) talfuzz::Fail("a settings file refused without a message");
    return 0;
  }
  std::string written = EncodeSettings(read);
  if (written.size() != SettingsFileSize) talfuzz::Fail("the settings file is written at another size");
  talfuzz::WriteScratch(SettingsFileName, written);
  SettingsRecord again;
  if (!ReadDFT(talfuzz::Scratch(), again).ok || !(again == read)) talfuzz::Fail("the written settings read back different");
  return 0;
}
