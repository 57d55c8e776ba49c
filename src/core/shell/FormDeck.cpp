#include "shell/FormDeck.h"

#include <fstream>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

bool HasFormDeckMarker(const std::string& fileName) {
  if (!FileReadable(fileName)) return false;
  std::ifstream in(fileName, std::ios::binary);
  std::string line;
  char c;
  while (line.size() < ShortTextMax && in.get(c) && c != '\n') line += c;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return UpperShort(line) == FormDeckMarker;
}

bool IsFormDeck(const std::string& fileName) {
  std::string extension = ExtensionOf(fileName);
  return extension == ".TKD" || extension == ".TKX" || HasFormDeckMarker(fileName);
}

}  // namespace tal
