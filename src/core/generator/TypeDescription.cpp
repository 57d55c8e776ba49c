#include "generator/TypeDescription.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>

#include "generator/DeckWords.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Numbers.h"
#include "support/Text.h"

namespace tal {

std::string NoDataDescription(const std::string& card) { return card.substr(0, 7) + " - NO DATA AVAILABLE"; }

std::string TailOfWords(const std::string& tailLine) {
  auto words = SplitWords(tailLine);
  auto numbers = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
      if (!ParseReal(words[i]).ok) return false;
    return true;
  };
  if (!words.empty() && (words[0] == "none" || words[0] == "None" || words[0] == "NONE")) {
    if (words.size() < 3 || !numbers(1, 3)) return {};
    return "|||0|1|" + words[1] + "|" + words[2] + "|";
  }
  if (words.size() < 6 || !numbers(2, 6)) return {};
  std::string tail = "|";
  for (std::size_t i = 0; i < 6; ++i) tail += words[i] + "|";
  return tail;
}

namespace {

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

class DescriptionReader {
 public:
  DescriptionReader(UnitRecord& unit, const std::vector<DeckConstant>& constants, std::vector<std::string> lines)
      : unit_(unit), constants_(constants), lines_(std::move(lines)) {}

  // "" when the unit got its description and entries, else the message to show.
  std::string Read() {
    const std::string type = std::to_string(unit_.typeNumber);
    std::optional<std::string> line;
    while ((line = Next()) && !(Contains(UpperShort(*line), "TYPE") && IntOf(WordAt(*line, 1)) == unit_.typeNumber &&
                                WordAt(*line, 1).find_first_of("0123456789") != std::string::npos)) {
    }
    if (!line) return "Type " + type + " can not be found";
    description_ = UpperShort(TrimShort(*line));

    // Mode sections chosen by parameter values; the line that ends the loop is a heading.
    line = Next();
    while (line && Contains(UpperShort(*line), "PARMOD")) {
      std::string upper = UpperShort(*line);
      int k = IntOf(WordAt(upper, 1));
      long long v = ModeValue(k);
      std::string key = "MODE " + std::to_string(k);
      key += Contains(upper, "ZERO") ? (v >= 1 ? " POS" : " NEG") : "-" + std::to_string(v);
      std::optional<std::string> section;
      while ((section = Next()) && !Contains(UpperShort(*section), key)) {
      }
      if (!section) return "  Error in Type " + type + " ! " + key + " can not be found";
      line = Next();
    }

    if (unit_.typeNumber == 4) return ReadTypeFourSchedule();
    if (!ReadEntries(unit_.parameters.size(), true, parameterEntries_))
      return "Parameter " + std::to_string(failedAt_) + " for type " + type + " isn't defined correctly";
    if (!unit_.connections.empty() &&
        !(SkipToInputs() && ReadEntries(unit_.connections.size(), false, inputEntries_)))
      return "Input " + std::to_string(failedAt_) + " for type " + type + " isn't defined correctly";
    return {};
  }

  void Keep() {
    unit_.description = description_;
    unit_.parameterEntries = std::move(parameterEntries_);
    unit_.inputEntries = std::move(inputEntries_);
  }

 private:
  std::optional<std::string> Next() {
    if (next_ >= lines_.size()) return std::nullopt;
    return lines_[next_++];
  }

  // Parameter k's value in the deck (a number, or the value of the deck constant it names),
  // truncated toward zero; 0 when there is no such parameter or it has no numeric value.
  long long ModeValue(int k) const {
    if (k < 1 || static_cast<std::size_t>(k) > unit_.parameters.size()) return 0;
    std::string text = unit_.parameters[static_cast<std::size_t>(k) - 1].text;
    ParsedReal value = ParseReal(text);
    if (!value.ok) {
      for (const DeckConstant& c : constants_)
        if (c.name == UpperShort(text)) value = ParseReal(TrimShort(c.value));
    }
    if (!value.ok || std::isnan(value.value)) return 0;
    return static_cast<long long>(std::trunc(std::clamp<Real>(value.value, -1e15L, 1e15L)));
  }

  // The description and tail lines after a name line.
  std::optional<TypeEntry> EntryNamed(const std::string& nameLine) {
    auto description = Next();
    auto tailLine = Next();
    if (!description || !tailLine) return std::nullopt;
    TypeEntry entry;
    entry.name = UpperShort(TrimShort(nameLine));
    entry.description = TrimShort(*description, 40);
    entry.tail = TailOfWords(*tailLine);
    if (entry.name.empty() || entry.tail.empty()) return std::nullopt;
    return entry;
  }

  std::optional<TypeEntry> NextEntry() {
    auto name = Next();
    if (!name) return std::nullopt;
    return EntryNamed(*name);
  }

  // Entries for `count` positions; a "REP" line serves every remaining one. Among parameters a
  // line with "INP" means the file has too few entries. On failure failedAt_ is the position.
  bool ReadEntries(std::size_t count, bool parameters, std::vector<TypeEntry>& entries) {
    for (std::size_t i = 0; i < count; ++i) {
      failedAt_ = i + 1;
      auto nameLine = Next();
      if (!nameLine) return false;
      std::string upper = UpperShort(*nameLine);
      if (parameters && Contains(upper, "INP")) return false;
      bool repeated = Contains(upper, "REP");
      auto entry = repeated ? NextEntry() : EntryNamed(*nameLine);
      if (!entry) return false;
      entries.insert(entries.end(), repeated ? count - i : 1, *entry);
      if (repeated) break;
    }
    return true;
  }

  // To the line after the first one containing "INP"; false (position 1) when there is none.
  bool SkipToInputs() {
    failedAt_ = 1;
    std::optional<std::string> line;
    while ((line = Next()) && !Contains(UpperShort(*line), "INP")) {
    }
    return line.has_value();
  }

  Real NumericParameter(std::size_t k) const {
    if (k > unit_.parameters.size() || !unit_.parameters[k - 1].numeric) return 0;
    return ParseReal(unit_.parameters[k - 1].text).value;
  }

  // Type 4 has as many entries as its parameters 1, 5 and 6 and its derivative count call for.
  std::string ReadTypeFourSchedule() {
    const std::string parameterProblem = " for type 4 isn't defined correctly";
    const int d = unit_.derivativeCount;
    const Real p1 = NumericParameter(1), p5 = NumericParameter(5), p6 = NumericParameter(6);
    std::vector<TypeEntry>& kept = parameterEntries_;
    std::optional<TypeEntry> last;
    auto read = [&](bool keep) {
      last = NextEntry();
      if (last && keep) kept.push_back(*last);
      return last.has_value();
    };
    auto failed = [&] { return "Parameter " + std::to_string(kept.size() + 1) + parameterProblem; };
    for (int i = 0; i < 6; ++i)
      if (!read(true)) return failed();
    if (p6 > 0 && d > 1) kept.insert(kept.end(), static_cast<std::size_t>(d - 1), kept[5]);
    for (int i = 0; i < 8; ++i)
      if (!read(true)) return failed();
    if (!read(p1 == 3) || !read(p1 == 3)) return failed();
    if (p5 < 0 && d > 1) kept.insert(kept.end(), static_cast<std::size_t>(d), *last);
    if (unit_.connections.empty()) return {};
    auto inputProblem = [](std::size_t position) {
      return "Input " + std::to_string(position) + " for Type 4 isn't defined correctly ";
    };
    if (!SkipToInputs()) return inputProblem(1);
    for (std::size_t i = 0; i < unit_.connections.size(); ++i) {
      auto entry = NextEntry();
      if (!entry) return inputProblem(i + 1);
      inputEntries_.push_back(*entry);
    }
    return {};
  }

  UnitRecord& unit_;
  const std::vector<DeckConstant>& constants_;
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  std::size_t failedAt_ = 0;
  std::string description_;
  std::vector<TypeEntry> parameterEntries_, inputEntries_;
};

void LeaveWithoutData(UnitRecord& unit) {
  unit.noData = true;
  unit.description = NoDataDescription(unit.card);
  unit.parameterEntries.clear();
  unit.inputEntries.clear();
}

}  // namespace

void ReadTypeDescription(UnitRecord& unit, const std::vector<DeckConstant>& constants,
                         const std::string& descriptionDirectory) {
  if (unit.noData) {
    LeaveWithoutData(unit);
    return;
  }
  std::string name = JoinPath(descriptionDirectory, "TYPE" + std::to_string(unit.typeNumber) + ".INF");
  name = ResolveNoCase(name).value_or(name);
  errno = 0;
  auto bytes = ReadWholeFile(name);
  if (!bytes) {
    int error = errno != 0 ? errno : EIO;
    ShowMessageKind("Error " + std::to_string(error) + " was encountered while trying to open file " + name, ErrorOk,
                    true);
    LeaveWithoutData(unit);
    return;
  }
  DescriptionReader reader(unit, constants, SplitLines(*bytes));
  if (std::string problem = reader.Read(); !problem.empty()) {
    ShowMessageKind(problem, ErrorOk, false);
    LeaveWithoutData(unit);
    return;
  }
  reader.Keep();
}

}  // namespace tal
