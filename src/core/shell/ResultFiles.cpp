#include "shell/ResultFiles.h"

#include "support/Files.h"

namespace tal {

namespace {

// base + extension, or the folder's entry that differs from it only in letter case; "" when
// neither can be read.
std::string FindReadable(const std::string& base, const std::string& extension) {
  auto found = ResolveNoCase(base + extension);
  return found && FileReadable(*found) ? *found : std::string();
}

}  // namespace

std::string BaseNameOf(std::string_view deck) {
  // The first "." of the file's own name: a folder such as "v1.2" is not cut, so the shell looks
  // for the files where the engine writes them.
  const std::size_t slash = deck.rfind('/');
  return std::string(deck.substr(0, deck.find('.', slash == std::string_view::npos ? 0 : slash + 1)));
}

std::string FindListingFile(const std::string& deck) { return FindReadable(BaseNameOf(deck), ".LST"); }

std::string FindPlotFile(const std::string& deck) { return FindReadable(BaseNameOf(deck), ".PLT"); }

std::string FindTableFile(const std::string& deck) { return FindReadable(BaseNameOf(deck), ".TBL"); }

std::string FindDiagramFile(const std::string& deck) {
  if (deck.find('.') == std::string::npos) return {};
  std::string base = BaseNameOf(deck);
  std::string bitmap = FindReadable(base, ".BMP");
  return bitmap.empty() ? FindReadable(base, ".WMF") : bitmap;
}

std::vector<std::string> FindOutputFiles(const std::string& deck) {
  std::string base = BaseNameOf(deck);
  return ListFilesWithPrefixNoCase(FolderOf(base), FileNameOf(base) + ".O");
}

std::vector<ResultFile> FindResultFiles(const std::string& deck) {
  std::vector<ResultFile> found;
  auto add = [&](ResultKind kind, const std::string& path) {
    if (!path.empty()) found.push_back({kind, path});
  };
  add(ResultKind::Listing, FindListingFile(deck));
  for (const auto& output : FindOutputFiles(deck)) add(ResultKind::Output, output);
  add(ResultKind::Plot, FindPlotFile(deck));
  add(ResultKind::Table, FindTableFile(deck));
  add(ResultKind::Diagram, FindDiagramFile(deck));
  return found;
}

std::string ResultKindName(ResultKind kind) {
  switch (kind) {
    case ResultKind::Listing: return "listing";
    case ResultKind::Output: return "output";
    case ResultKind::Plot: return "plot";
    case ResultKind::Table: return "table";
    case ResultKind::Diagram: return "diagram";
  }
  return {};
}

std::string WindowsEntryCaption(std::string_view plain, std::string_view path) {
  std::string caption(plain);
  if (!path.empty()) caption += " " + std::string(path);
  return caption;
}

}  // namespace tal
