#include "EngineFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace talpix {

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string DeckBase(const std::string& deckPath) {
  std::size_t slash = deckPath.rfind('/');
  std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = deckPath.find('.', nameStart);
  return dot == std::string::npos ? deckPath : deckPath.substr(0, dot);
}

std::string ResolveNoCase(const std::string& path) {
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  std::string folder = FolderOf(path);
  std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualNoCase(entry, name)) return folder == "." && path.find('/') == std::string::npos ? entry : (folder == "/" ? "/" : folder + "/") + entry;
  }
  return path;
}

std::string ResolveDeckFile(const std::string& deckFolder, const std::string& name, bool reading) {
  std::string n = name;
  std::replace(n.begin(), n.end(), '\\', '/');
  std::string path = !n.empty() && n[0] == '/' ? n : deckFolder + "/" + n;
  return reading ? ResolveNoCase(path) : ResultFileName(path, "");
}

std::string ResultFileName(const std::string& base, const std::string& extension) {
  return ResolveNoCase(base + extension);
}

}  // namespace talpix
