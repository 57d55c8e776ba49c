#include "support/FileStamp.h"

#include <sys/stat.h>

namespace tal {

namespace {
FileStamp StampOfStat(const struct stat& st) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}
}  // namespace

FileStamp StampOf(const std::string& path) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return {};
  return StampOfStat(st);
}

FileStamp StampOfOpenFile(int fd) {
  struct stat st;
  if (::fstat(fd, &st) != 0) return {};
  return StampOfStat(st);
}

}  // namespace tal
