#pragma once
// What the file system tells of a file's content without reading it, so that a window showing a
// file notices when another program changed it.
#include <cstdint>
#include <string>

namespace tal {

// Which file a name leads to (device and inode: a program that writes a new file and renames it
// over the old one makes another), its size and its last modification time. Equal stamps mean
// that, as far as the file system tells, nothing was written in between.
struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
  bool sameFile(const FileStamp& other) const { return device == other.device && inode == other.inode; }
};

// The stamp of the file `path` leads to (links followed); `exists` false when there is none.
FileStamp StampOf(const std::string& path);
// The stamp of an open file.
FileStamp StampOfOpenFile(int fd);

}  // namespace tal
