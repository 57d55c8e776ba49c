#include "shell/PrintSelection.h"

#include <algorithm>

#include "support/Text.h"

namespace tal {

std::string PrintShortName(const std::string& caption) {
  if (caption.find("Plot ") != std::string::npos) {
    std::size_t colon = caption.find(':');
    // A plot caption without a ":" keeps its whole name rather than an empty one.
    if (colon != std::string::npos) return caption.substr(0, colon);
    return caption;
  }
  std::size_t slash = caption.find_last_of('/');
  return slash == std::string::npos ? caption : caption.substr(slash + 1);
}

namespace {
bool NameBefore(const PrintListEntry& a, const PrintListEntry& b) {
  return UpperShort(a.name) < UpperShort(b.name);
}
}  // namespace

void PrintSelection::Append(std::vector<PrintListEntry>& to, PrintListEntry entry) {
  if (&to == &left_) {  // the left list stays sorted (case-free); equal names keep their order
    auto at = std::upper_bound(to.begin(), to.end(), entry, NameBefore);
    to.insert(at, std::move(entry));
  } else {
    to.push_back(std::move(entry));
  }
}

void PrintSelection::Fill(const std::vector<PrintListEntry>& others, const PrintListEntry* active) {
  left_.clear();
  right_.clear();
  for (const PrintListEntry& entry : others) Append(left_, entry);
  if (active) right_.push_back(*active);
}

int PrintSelection::Move(std::vector<PrintListEntry>& from, std::vector<PrintListEntry>& to, std::vector<int> selected) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  selected.erase(std::remove_if(selected.begin(), selected.end(),
                                [&](int i) { return i < 0 || i >= static_cast<int>(from.size()); }),
                 selected.end());
  // From the last selected entry to the first, each appended to the other list as it is taken out:
  // several entries moved at once arrive on the right in reverse order.
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    Append(to, from[static_cast<std::size_t>(*it)]);
    from.erase(from.begin() + *it);
  }
  if (from.empty()) return -1;
  int first = selected.empty() ? 0 : selected.front();
  return std::min(first, static_cast<int>(from.size()) - 1);
}

int PrintSelection::MoveAll(std::vector<PrintListEntry>& from, std::vector<PrintListEntry>& to) {
  for (PrintListEntry& entry : from) Append(to, std::move(entry));
  from.clear();
  return -1;
}

}  // namespace tal
