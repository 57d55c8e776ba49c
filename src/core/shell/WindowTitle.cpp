#include "shell/WindowTitle.h"

#include "support/Files.h"

namespace tal {

std::string FileNameFirstTitle(const std::string& path) {
  if (!HasFolder(path)) return path;
  return FileNameOf(path) + " - " + FolderOf(path);
}

}  // namespace tal
