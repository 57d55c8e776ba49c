#include "runs/EngineOutput.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tal {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimmedLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view Trimmed(std::string_view s) {
  s = TrimmedLeft(s);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `s` starts with the lower-case `word` in any letter case.
bool StartsWithNoCase(std::string_view s, std::string_view word) {
  return s.size() >= word.size() &&
         std::equal(word.begin(), word.end(), s.begin(), [](char w, char c) { return w == Lower(c); });
}

std::size_t FindNoCase(std::string_view s, std::string_view word) {
  for (std::size_t at = 0; at + word.size() <= s.size(); ++at)
    if (StartsWithNoCase(s.substr(at), word)) return at;
  return std::string_view::npos;
}

// Takes the next blank-separated word off `s`.
std::string_view NextWord(std::string_view& s) {
  s = TrimmedLeft(s);
  std::size_t end = 0;
  while (end < s.size() && !IsBlank(s[end])) ++end;
  std::string_view word = s.substr(0, end);
  s.remove_prefix(end);
  return word;
}

std::optional<double> FiniteNumber(std::string_view word) {
  double value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Line numbers beyond this are taken for part of a name, not for a line.
constexpr std::size_t LargestLine = 1'000'000'000;

std::optional<std::size_t> LineNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  std::size_t value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || value == 0 || value > LargestLine) return std::nullopt;
  return value;
}

// "FILE", "FILE:LINE" or "FILE:LINE:COLUMN" before the problem's kind.
void SplitPlace(std::string_view place, Problem& problem) {
  std::size_t colon = place.rfind(':');
  if (colon != std::string_view::npos && colon > 0 && LineNumber(place.substr(colon + 1))) {
    std::size_t before = place.rfind(':', colon - 1);
    if (before != std::string_view::npos && before > 0 && LineNumber(place.substr(before + 1, colon - before - 1))) {
      problem.line = *LineNumber(place.substr(before + 1, colon - before - 1));
      problem.file = std::string(place.substr(0, before));
      return;
    }
    problem.line = *LineNumber(place.substr(colon + 1));
    problem.file = std::string(place.substr(0, colon));
    return;
  }
  problem.file = std::string(place);
}

}  // namespace

double ProgressReport::fraction() const {
  if (stop <= start) return 1;
  return std::clamp((time - start) / (stop - start), 0.0, 1.0);
}

std::optional<ProgressReport> ParseProgressLine(std::string_view line) {
  line = Trimmed(line);
  if (NextWord(line) != "progress") return std::nullopt;
  auto time = FiniteNumber(NextWord(line));
  auto start = FiniteNumber(NextWord(line));
  auto stop = FiniteNumber(NextWord(line));
  if (!time || !start || !stop || !TrimmedLeft(line).empty() || *stop < *start) return std::nullopt;
  return ProgressReport{*time, *start, *stop};
}

void ProgressFilter::Add(std::string_view piece, const PassFunction& pass, const ProgressFunction& progress) {
  static constexpr std::string_view Word = "progress";
  std::string passed;
  auto flush = [&] {
    if (!passed.empty() && pass) pass(passed);
    passed.clear();
  };
  for (char c : piece) {
    if (passing_) {
      passed += c;
      passing_ = c != '\n';
    } else if (c == '\n') {
      if (auto report = ParseProgressLine(held_)) {
        flush();
        if (progress) progress(*report);
      } else {
        passed += held_ + '\n';
      }
      held_.clear();
    } else {
      held_ += c;
      // A line that no longer starts like a progress line, or is too long for one, passes on.
      const std::size_t n = std::min(held_.size(), Word.size());
      if (held_.compare(0, n, Word, 0, n) != 0 || held_.size() > MaxProgressLine) {
        passed += held_;
        held_.clear();
        passing_ = true;
      }
    }
  }
  flush();
}

void ProgressFilter::Finish(const PassFunction& pass) {
  if (!held_.empty() && pass) pass(held_);
  held_.clear();
  passing_ = false;
}

std::optional<Problem> ParseProblemLine(std::string_view line) {
  line = Trimmed(line);
  struct Marker {
    std::string_view text;
    ProblemKind kind;
  };
  const Marker markers[] = {{": error:", ProblemKind::Error}, {": warning:", ProblemKind::Warning}};
  std::size_t first = std::string_view::npos;
  const Marker* found = nullptr;
  for (const Marker& m : markers) {
    std::size_t at = FindNoCase(line, m.text);
    if (at < first) {
      first = at;
      found = &m;
    }
  }
  if (!found || first == 0) return std::nullopt;
  Problem problem;
  problem.kind = found->kind;
  SplitPlace(line.substr(0, first), problem);
  problem.text = std::string(Trimmed(line.substr(first + found->text.size())));
  if (problem.text.empty()) return std::nullopt;
  return problem;
}

void OutputLines::Add(std::string_view piece, const LineFunction& line) {
  while (!piece.empty()) {
    std::size_t end = piece.find('\n');
    std::string_view part = piece.substr(0, end);
    if (!cut_) {
      // Nothing more of an overlong line is stored; it is handed on as far as it was kept.
      std::size_t room = MaxLineBytes - rest_.size();
      rest_.append(part.substr(0, room));
      cut_ = part.size() > room;
    }
    if (end == std::string_view::npos) return;
    std::string_view whole = rest_;
    if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
    line(whole);
    rest_.clear();
    cut_ = false;
    piece.remove_prefix(end + 1);
  }
}

void OutputLines::Finish(const LineFunction& line) {
  if (!rest_.empty()) line(rest_);
  rest_.clear();
  cut_ = false;
}

std::vector<ListingProblem> FindListingProblems(std::string_view listing, const std::string& listingPath,
                                                const std::string& deck, std::size_t limit) {
  std::vector<ListingProblem> found;
  std::size_t number = 0;
  while (!listing.empty() && found.size() < limit) {
    std::size_t end = listing.find('\n');
    std::string_view line = listing.substr(0, end);
    listing.remove_prefix(end == std::string_view::npos ? listing.size() : end + 1);
    ++number;
    std::string_view rest = TrimmedLeft(line);
    if (rest.substr(0, 3) != "***") continue;
    while (!rest.empty() && (rest.front() == '*' || IsBlank(rest.front()))) rest.remove_prefix(1);
    ProblemKind kind;
    if (StartsWithNoCase(rest, "warning")) {
      kind = ProblemKind::Warning;
      rest.remove_prefix(7);
    } else if (StartsWithNoCase(rest, "error") || StartsWithNoCase(rest, "fatal")) {
      kind = ProblemKind::Error;
      rest.remove_prefix(5);
    } else {
      continue;
    }
    Problem problem{kind, listingPath, number, {}};
    // "*** Fatal Error ...": the second word of the marker is not part of the text.
    rest = TrimmedLeft(rest);
    if (kind == ProblemKind::Error && StartsWithNoCase(rest, "error")) rest = TrimmedLeft(rest.substr(5));
    if (StartsWithNoCase(rest, "in line ")) {
      std::string_view after = rest.substr(8);
      std::size_t digits = 0;
      while (digits < after.size() && after[digits] >= '0' && after[digits] <= '9') ++digits;
      if (auto deckLine = LineNumber(after.substr(0, digits))) {
        problem.file = deck;
        problem.line = *deckLine;
        rest = after.substr(digits);
      }
    }
    rest = TrimmedLeft(rest);
    while (!rest.empty() && (rest.front() == ':' || IsBlank(rest.front()))) rest.remove_prefix(1);
    problem.text = std::string(Trimmed(rest.empty() ? line : rest));
    found.push_back({number, std::move(problem)});
  }
  return found;
}

}  // namespace tal
