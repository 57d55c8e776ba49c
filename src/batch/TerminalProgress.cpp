#include "TerminalProgress.h"

#include <algorithm>

namespace tal::batch {

namespace {

constexpr std::size_t LineWidth = 79;  // one line of a terminal of the usual width
constexpr int BarWidth = 20;
constexpr const char* ClearToEnd = "\033[K";

}  // namespace

std::string TerminalProgressLine(const ProgressView& view) {
  std::string line;
  if (view.known) {
    const int filled = view.percent() * BarWidth / 100;
    line = "[" + std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(BarWidth - filled), ' ') + "] ";
    std::string percent = std::to_string(view.percent()) + "%";
    line += std::string(4 - std::min<std::size_t>(4, percent.size()), ' ') + percent + "  ";
  }
  line += view.text;
  if (line.size() > LineWidth) line.resize(LineWidth);
  return line;
}

void TerminalProgress::Show(const ProgressView& view, bool now) {
  if (!terminal_) return;
  const auto time = std::chrono::steady_clock::now();
  if (!now && shown_ && time - lastShown_ < ShowInterval) return;
  lastShown_ = time;
  err_ << '\r' << TerminalProgressLine(view) << ClearToEnd << std::flush;
  shown_ = true;
}

void TerminalProgress::Write(std::string_view text) {
  Clear();
  err_ << text << std::flush;
}

void TerminalProgress::Clear() {
  if (!shown_) return;
  err_ << '\r' << ClearToEnd << std::flush;
  shown_ = false;
}

}  // namespace tal::batch
