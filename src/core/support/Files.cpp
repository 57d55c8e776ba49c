#include "support/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Text.h"

namespace fs = std::filesystem;

namespace tal {

bool FileReadable(const std::string& name) {
  if (name.empty()) return false;
  std::error_code ec;
  if (fs::is_directory(name, ec)) return false;
  std::ifstream in(name, std::ios::binary);
  return in.is_open();
}

std::string ReportError(int n) { return "Error #" + std::to_string(n); }

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string s(folder);
  if (s.back() != '/') s += '/';
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  return s + std::string(name);
}

std::string FolderOf(std::string_view path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string FileNameOf(std::string_view path) {
  std::size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool HasFolder(std::string_view path) { return path.find('/') != std::string_view::npos; }

std::string AbsolutePath(std::string_view path) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(std::string(path)), ec);
  return ec ? std::string(path) : p.lexically_normal().string();
}

std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name) {
  std::string dir = folder.empty() ? std::string(".") : folder;
  std::error_code ec;
  if (fs::exists(fs::path(dir) / name, ec)) return JoinPath(folder, name);
  std::vector<std::string> matches;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualNoCase(entry, name)) matches.push_back(entry);
  }
  if (matches.empty()) return std::nullopt;
  std::sort(matches.begin(), matches.end());
  return JoinPath(folder, matches.front());
}

std::optional<std::string> ResolveNoCase(const std::string& path) {
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  return FindFileNoCase(FolderOf(path), FileNameOf(path));
}

std::vector<std::string> ListFilesWithPrefixNoCase(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> found;
  std::error_code ec;
  std::string dir = folder.empty() ? std::string(".") : folder;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fec;
    if (!it->is_regular_file(fec)) continue;
    std::string entry = it->path().filename().string();
    if (StartsWithNoCase(entry, prefix)) found.push_back(JoinPath(folder, entry));
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return out.str();
}

namespace {
// The file a write replaces: a link stays a link and the file it points to gets the new bytes
// (renaming over the link would cut it off from the file the user meant). A dangling link is
// replaced itself.
std::string ReplacedFile(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(path, ec)) return path;
  fs::path target = fs::canonical(path, ec);
  return ec ? path : target.string();
}
}  // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string target = ReplacedFile(path);  // messages keep the name the user knows
  std::string folder = FolderOf(target);
  std::string temp = JoinPath(folder, "." + FileNameOf(target) + ".XXXXXX");
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  auto failure = [&](int code) {
    return "Could not write " + path + ": " + std::strerror(code) + " (" + ReportError(code) + ")";
  };
  if (fd < 0) return failure(errno);
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int code = errno;
      ::close(fd);
      ::unlink(name.data());
      return failure(code);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    int code = errno;
    ::unlink(name.data());
    return failure(code);
  }
  // Keep the permissions of the file being replaced; a new file gets the usual 0644 less umask.
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) {
    ::chmod(name.data(), st.st_mode & 07777);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(name.data(), 0666 & ~mask);
  }
  if (std::rename(name.data(), target.c_str()) != 0) {
    int code = errno;
    ::unlink(name.data());
    return failure(code);
  }
  return {};
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t nl = bytes.find('\n', start);
    std::size_t end = nl == std::string_view::npos ? bytes.size() : nl;
    std::size_t stop = (end > start && bytes[end - 1] == '\r') ? end - 1 : end;
    lines.emplace_back(bytes.substr(start, stop - start));
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  return lines;
}

}  // namespace tal
