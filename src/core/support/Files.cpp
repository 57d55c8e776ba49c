#include "support/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Text.h"

namespace fs = std::filesystem;

namespace tal {

namespace {
// Opens `path` for reading without waiting on a FIFO that has no writer; -1 with errno set when it
// cannot be opened. The descriptor may still be anything but a regular file: ask fstat.
int OpenWithoutWaiting(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

bool IsRegular(int fd, struct stat& st) {
  st = {};
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}
}  // namespace

bool FileReadable(const std::string& name) {
  if (name.empty()) return false;
  int fd = OpenWithoutWaiting(name);
  if (fd < 0) return false;
  struct stat st;
  bool regular = IsRegular(fd, st);
  ::close(fd);
  return regular;
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
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

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* whyNot, std::uintmax_t maxBytes) {
  auto refuse = [&](const std::string& reason) -> std::optional<std::string> {
    if (whyNot) *whyNot = "Cannot read " + path + ": " + reason;
    return std::nullopt;
  };
  auto systemError = [&](int code) { return refuse(std::string(std::strerror(code)) + " (" + ReportError(code) + ")"); };
  int fd = OpenWithoutWaiting(path);
  if (fd < 0) return systemError(errno);
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st;
  if (!IsRegular(fd, st)) return refuse(S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file");
  auto tooLarge = [&](std::uintmax_t size) {
    return refuse("it holds " + std::to_string(size) + " bytes, more than the " + std::to_string(maxBytes) +
                  " bytes read at most");
  };
  if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) return tooLarge(static_cast<std::uintmax_t>(st.st_size));
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return systemError(errno);
    }
    if (n == 0) break;
    // A file that grows while it is read is held to the same limit.
    if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) return tooLarge(bytes.size() + static_cast<std::size_t>(n));
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
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

constexpr std::string_view SaveMark = ".talsave-";
constexpr std::size_t NameMax = 255;  // longest name of a folder entry

// The temporary file of a save of `fileName` is ".<fileName>.talsave-<pid>-XXXXXX": hidden, named
// after its target and the process writing it. This is its name up to the pid, the target's name
// cut so that the whole name stays a legal folder entry.
std::string SavePrefix(const std::string& fileName) {
  constexpr std::size_t rest = 1 + SaveMark.size() + 10 + 1 + 6;  // ".", mark, pid, "-", XXXXXX
  return "." + fileName.substr(0, NameMax - rest) + std::string(SaveMark);
}

// Removes the temporary files that saves of the same target left behind when their process was
// killed: those of processes that no longer exist. A save still running elsewhere keeps its file.
void RemoveStaleSaves(const std::string& folder, const std::string& prefix) {
  std::error_code ec;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) continue;
    std::string_view rest = std::string_view(entry).substr(prefix.size());
    std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || rest.size() != dash + 7 ||
        rest.substr(0, dash).find_first_not_of("0123456789") != std::string_view::npos || dash > 9)
      continue;
    pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
    std::error_code fec;
    if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH && it->is_regular_file(fec)) fs::remove(it->path(), fec);
  }
}
}  // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string target = ReplacedFile(path);  // messages keep the name the user knows
  std::string folder = FolderOf(target);
  std::string prefix = SavePrefix(FileNameOf(target));
  RemoveStaleSaves(folder, prefix);
  std::string temp = JoinPath(folder, prefix + std::to_string(::getpid()) + "-XXXXXX");
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
