#include "EngineFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <unordered_map>

#include <sys/stat.h>

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

bool LineReader::fill() {
  at_ = 0;
  end_ = std::fread(buffer_, 1, sizeof buffer_, file_);
  if (end_ == 0 && std::ferror(file_)) failed_ = true;
  return end_ > 0;
}

LineReader::Result LineReader::next(std::string& line) {
  line.clear();
  if (failed_) return Result::Failed;
  if (at_ == end_ && !fill()) return failed_ ? Result::Failed : Result::End;
  ++number_;
  while (true) {
    std::size_t from = at_;
    while (at_ < end_ && buffer_[at_] != '\n' && buffer_[at_] != '\r') ++at_;
    if (line.size() + (at_ - from) > limit_) return Result::TooLong;
    line.append(buffer_ + from, at_ - from);
    if (at_ < end_) {
      char ending = buffer_[at_++];
      // CR LF is one line end, even where the buffer is refilled between the two.
      if (ending == '\r' && (at_ < end_ || fill()) && buffer_[at_] == '\n') ++at_;
      return failed_ ? Result::Failed : Result::Line;
    }
    if (!fill()) return failed_ ? Result::Failed : Result::Line;  // the last line, without an end
  }
}

namespace {

// The keys under which a file is found: its folder and upper-cased name, and for an existing file
// its device and inode (hard links, symbolic links, "./" and "..").
std::vector<std::string> FileKeys(const std::string& path) {
  std::error_code ec;
  fs::path full = fs::absolute(path, ec);
  if (fs::path canonical = fs::weakly_canonical(full, ec); !ec) full = canonical;
  std::string name = full.filename().string();
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::vector<std::string> keys{"name:" + full.parent_path().string() + "/" + name};
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0)
    keys.push_back("node:" + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino));
  return keys;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  auto ka = FileKeys(a), kb = FileKeys(b);
  return std::any_of(ka.begin(), ka.end(), [&](const std::string& k) { return std::find(kb.begin(), kb.end(), k) != kb.end(); });
}

bool FindFileClash(const std::vector<FileUse>& uses, FileClash& clash) {
  std::unordered_map<std::string, std::size_t> seen;  // key -> first use under it
  for (std::size_t j = 0; j < uses.size(); ++j) {
    for (const std::string& key : FileKeys(uses[j].path)) {
      auto [it, fresh] = seen.emplace(key, j);
      if (fresh) continue;
      const FileUse& earlier = uses[it->second];
      const FileUse& later = uses[j];
      if (!earlier.writing && !later.writing) continue;  // two readers do no harm
      // The later writer overwrites what the earlier use wrote or reads.
      const FileUse& writer = later.writing ? later : earlier;
      const FileUse& other = later.writing ? earlier : later;
      clash.line = writer.assigned || (!other.assigned && writer.line > 0) ? writer.line : other.line;
      clash.text = writer.what + " would overwrite " + other.what + ": both name " + writer.path +
                   "; a run never writes over the deck, a file it reads or another of its results";
      return true;
    }
  }
  return false;
}

}  // namespace talpix
