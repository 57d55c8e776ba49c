#pragma once
// Scanning and searching a large viewed file on a worker thread, so that a slow disk never holds
// the window: the worker only reads the file and reports; the window applies what it reports on
// its own thread. Destroying a worker stops it and waits for it.
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "shell/TextFileIndex.h"
#include "shell/TextFileSearch.h"

namespace tal {

class BackgroundLineScan {
 public:
  // One report: the scan went from `from` to `to`, adding `added`; `atEnd` on the last one.
  struct Delivery {
    LineScan from;
    LineScan to;
    std::vector<LineCheckpoint> added;
    bool atEnd = false;
  };

  // Scans `file` from `start` up to `size`, reporting about every `sliceBytes`. `deliver` runs on
  // the worker thread.
  BackgroundLineScan(std::shared_ptr<const FileBytes> file, LineScan start, std::uint64_t size,
                     std::function<void(Delivery)> deliver, std::size_t sliceBytes = 8 * 1024 * 1024);
  ~BackgroundLineScan() = default;  // the jthread asks the worker to stop and joins it

 private:
  std::jthread worker_;
};

class BackgroundSearch {
 public:
  // Searches the first `size` bytes of `file`; `done` runs on the worker thread with the offset of
  // the match, or nothing when there is none. It does not run when the search was stopped.
  BackgroundSearch(std::shared_ptr<const FileBytes> file, std::uint64_t size, FileSearchRequest request,
                   std::function<void(std::optional<std::uint64_t>)> done);
  ~BackgroundSearch() = default;

 private:
  std::jthread worker_;
};

}  // namespace tal
