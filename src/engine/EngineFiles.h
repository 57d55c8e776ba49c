#pragma once
// File names of the engine: files named in the deck resolve beside the deck, and every file is
// found whatever the letter case of its name (run decks of tables are written in upper case).
#include <string>

namespace talpix {

// The deck's folder ("." when it has none).
std::string FolderOf(const std::string& path);
// Folder and file name up to the first "." of the file name: /a/b/HOUSE.DCK gives /a/b/HOUSE.
std::string DeckBase(const std::string& deckPath);
// `path` itself when it exists, else the entry of its folder whose name differs only in letter
// case, else `path`.
std::string ResolveNoCase(const std::string& path);
// A file named in the deck: "\" read as "/", relative names beside the deck; for reading
// resolved without regard to letter case.
std::string ResolveDeckFile(const std::string& deckFolder, const std::string& name, bool reading);
// base + extension, or the existing entry that differs from it only in letter case, so that a
// run replaces its earlier results instead of adding a second file beside them.
std::string ResultFileName(const std::string& base, const std::string& extension);

}  // namespace talpix
