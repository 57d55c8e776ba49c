#pragma once
// Shared by the engine's fuzz targets: a fresh folder for each input inside the fuzzing process's
// scratch folder, and the guard that keeps a fuzzed deck's files inside it.
#include <filesystem>
#include <string>
#include <vector>

#include "Deck.h"
#include "FuzzSupport.h"

namespace talfuzz {

// An empty folder for one input (the files of the input before are removed).
inline std::string FreshRunFolder() {
  std::string folder = ScratchFile("run");
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder);
  return folder;
}

// True when every file the deck assigns lies beside it: a fuzzed deck may name any file, and a
// printer would write there.
inline bool FilesStayBesideTheDeck(const std::string& text) {
  std::vector<talpix::Diagnostic> ignored;
  talpix::Deck deck = talpix::ReadDeckText(text, ignored);
  for (const auto& a : deck.assignments)
    if (a.file.find_first_of("/\\") != std::string::npos || a.file == "." || a.file == "..") return false;
  return true;
}

}  // namespace talfuzz
