#pragma once
// The progress of `talbatch run` and `talbatch table run` on standard error: one line, written over
// as the run goes on, when standard error is a terminal; nothing otherwise, so logs stay clean.
#include <chrono>
#include <ostream>
#include <string>
#include <string_view>

#include "runs/RunProgress.h"

namespace tal::batch {

// "[##########          ]  50%  4380 of 8760 h simulated, about 2 s left", at most 79 characters;
// a view that knows no progress shows only the text.
std::string TerminalProgressLine(const ProgressView& view);

class TerminalProgress {
 public:
  TerminalProgress(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}
  ~TerminalProgress() { Clear(); }
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  // Writes the line over the last one, at most ten times a second unless `now` is set.
  void Show(const ProgressView& view, bool now = false);
  // Other text for standard error: the progress line makes way for it.
  void Write(std::string_view text);
  // Takes the line away (at the end of the run).
  void Clear();

  static constexpr std::chrono::milliseconds ShowInterval{100};

 private:
  std::ostream& err_;
  bool terminal_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace tal::batch
