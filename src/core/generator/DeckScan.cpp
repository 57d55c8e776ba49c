#include "generator/DeckScan.h"

#include <algorithm>
#include <cerrno>

#include "generator/DeckWords.h"
#include "generator/TypeDescription.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Numbers.h"
#include "support/Text.h"

namespace tal {

std::size_t UnitRecord::shownParameterCount() const { return std::min(parameters.size(), parameterEntries.size()); }
std::size_t UnitRecord::shownInputCount() const { return std::min(connections.size(), inputEntries.size()); }
bool UnitRecord::parameterEligible(std::size_t i) const { return i < parameters.size() && parameters[i].numeric; }
bool UnitRecord::inputEligible(std::size_t i) const { return i < settable.size() && settable[i]; }

bool IsCopiedThroughType(int typeNumber) {
  static constexpr int types[] = {9, 14, 15, 17, 19, 24, 25, 26, 27, 28, 29, 40, 41, 55, 56, 65};
  return std::find(std::begin(types), std::end(types), typeNumber) != std::end(types);
}

std::string UniqueConstantName(std::vector<DeckConstant>& constants, const std::string& base) {
  auto named = [&](const std::string& name) {
    return std::find_if(constants.begin(), constants.end(), [&](const DeckConstant& c) { return c.name == name; });
  };
  auto first = named(base);
  if (first == constants.end()) return base;
  // The counter lives on the first constant of the name; a number that another constant already
  // carries (a deck defining both X and X1) is passed over, so no name is defined twice.
  std::string name;
  do name = base + std::to_string(++first->repeatCounter);
  while (named(name) != constants.end());
  return name;
}

namespace {

class LineCursor {
 public:
  explicit LineCursor(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  std::optional<std::string> next() {
    if (next_ >= lines_.size()) return std::nullopt;
    return lines_[next_++];
  }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

bool IsComment(std::string_view line) {
  std::string t = TrimLeft(line);
  return !t.empty() && t[0] == '*';
}

// Inside unit blocks only lines that say something count: not empty, not a comment. At the end
// of the deck there is none.
std::optional<std::string> NextSignificant(LineCursor& cursor) {
  while (auto line = cursor.next()) {
    std::string t = TrimLeft(*line);
    if (!t.empty() && t[0] != '*') return line;
  }
  return std::nullopt;
}

std::string Statement(const std::string& line) { return UpperShort(TrimLeft(line)); }

std::string CountMessage(const char* what, int typeNumber) {
  return std::string(" The ") + what + " number for unit " + std::to_string(typeNumber) + " is not defined correctly";
}

class UnitBlockReader {
 public:
  UnitBlockReader(LineCursor& cursor, UnitRecord& unit) : cursor_(cursor), unit_(unit) {}

  // Reads the block after the card; returns the line that ended it (nullopt at the end).
  std::optional<std::string> Read() {
    auto line = NextSignificant(cursor_);
    if (line && Statement(*line).starts_with("PAR")) line = ReadParameters(*line);
    if (line && Statement(*line).starts_with("INP")) line = ReadInputs(*line);
    if (line && Statement(*line).starts_with("DER")) line = ReadDerivatives(*line);
    if (line && Statement(*line).starts_with("TRA")) {
      unit_.traceLine = *line;
      line = NextSignificant(cursor_);
    }
    return line;
  }

 private:
  void CountProblem(const char* what, bool& reported) {
    unit_.noData = true;
    if (reported) return;
    reported = true;
    ShowMessageKind(CountMessage(what, unit_.typeNumber), ErrorOk, false);
  }

  // Collects words from significant lines (kept in `lines`) until `values` holds `count`.
  // Connections: a word ending in "," is joined with the next one. False at the end of the deck.
  template <typename Store>
  bool Collect(std::size_t count, std::vector<std::string>& lines, std::size_t have, bool connections,
               const char* what, bool& reported, Store store) {
    while (have < count) {
      auto line = NextSignificant(cursor_);
      if (!line) {
        CountProblem(what, reported);
        return false;
      }
      std::string upper = Statement(*line);
      lines.push_back(upper);
      auto words = connections ? JoinConnectionWords(SplitWords(upper)) : SplitWords(upper);
      for (const std::string& word : words) {
        if (have < count) {
          store(word);
          ++have;
        } else {
          CountProblem(what, reported);
        }
      }
    }
    return true;
  }

  std::optional<std::string> ReadParameters(std::string statement) {
    unit_.hasParameters = true;
    bool reported = false;
    std::optional<std::string> line;
    do {
      unit_.parameterCount += CountOf(WordAt(Statement(statement), 1));
      bool more = Collect(static_cast<std::size_t>(unit_.parameterCount), unit_.parameterLines, unit_.parameters.size(),
                          false, "parameters", reported, [&](const std::string& word) {
                            unit_.parameters.push_back({word, ParseReal(word).ok});
                          });
      if (!more) return std::nullopt;
      line = NextSignificant(cursor_);
      if (line) statement = *line;
    } while (line && Statement(statement).starts_with("PAR"));
    return line;
  }

  std::optional<std::string> ReadInputs(std::string statement) {
    unit_.hasInputs = true;
    bool reported = false;
    std::optional<std::string> line;
    do {
      unit_.inputCount += CountOf(WordAt(Statement(statement), 1));
      auto count = static_cast<std::size_t>(unit_.inputCount);
      bool more = Collect(count, unit_.connectionLines, unit_.connections.size(), true, "inputs", reported,
                          [&](const std::string& word) { unit_.connections.push_back(word); }) &&
                  Collect(count, unit_.initialValueLines, unit_.initialValues.size(), false, "inputs", reported,
                          [&](const std::string& word) { unit_.initialValues.push_back(word); });
      if (!more) break;
      line = NextSignificant(cursor_);
      if (line) statement = *line;
    } while (line && Statement(statement).starts_with("INP"));
    MarkSettable();
    return line;
  }

  // An input is settable when it is unconnected (",0", but not "-1,0") and its initial value is
  // a number: the form can give it a constant.
  void MarkSettable() {
    unit_.settable.assign(unit_.connections.size(), false);
    for (std::size_t i = 0; i < unit_.connections.size() && i < unit_.initialValues.size(); ++i) {
      const std::string& c = unit_.connections[i];
      unit_.settable[i] = c.ends_with(",0") && c != "-1,0" && ParseReal(unit_.initialValues[i]).ok;
    }
  }

  std::optional<std::string> ReadDerivatives(const std::string& statement) {
    unit_.hasDerivatives = true;
    unit_.derivativeCount = CountOf(WordAt(Statement(statement), 1));
    // Every word of the lines read is kept, so the unit is written back with all it had.
    while (unit_.derivatives.size() < static_cast<std::size_t>(unit_.derivativeCount)) {
      auto line = NextSignificant(cursor_);
      if (!line) return std::nullopt;
      for (std::string& word : SplitWords(Statement(*line))) unit_.derivatives.push_back(std::move(word));
    }
    return NextSignificant(cursor_);
  }

  LineCursor& cursor_;
  UnitRecord& unit_;
};

// An EQUATIONS or CONSTANTS block: copied line for line to the other lines, its entries
// registered as deck constants. Returns the first line after it.
std::optional<std::string> ReadConstantsBlock(LineCursor& cursor, const std::string& statement, ScannedDeck& deck) {
  deck.otherLines.push_back(statement);
  int entries = CountOf(WordAt(Statement(statement), 1));
  for (int k = 0; k < entries; ++k) {
    std::optional<std::string> line;
    while ((line = cursor.next())) {
      deck.otherLines.push_back(*line);
      std::string t = TrimLeft(*line);
      if (!t.empty() && t[0] != '*') break;
    }
    if (!line) break;
    std::size_t eq = line->find('=');
    std::string name = UpperShort(TrimShort(line->substr(0, eq)));
    std::string value = eq == std::string::npos ? std::string() : TrimShort(line->substr(eq + 1));
    name = UniqueConstantName(deck.constants, name);
    deck.constants.push_back({name, value, 0, {}, {}});
  }
  std::optional<std::string> line = cursor.next();
  while (line && IsComment(*line)) {
    deck.otherLines.push_back(*line);
    line = cursor.next();
  }
  deck.otherLines.push_back("*|*");
  return line;
}

bool ContainsAny(std::string_view text, std::initializer_list<std::string_view> parts) {
  return std::any_of(parts.begin(), parts.end(), [&](std::string_view p) { return text.find(p) != std::string_view::npos; });
}

// A line outside units and constant blocks: the simulation card, an ASSIGN line, a dropped END
// line or one of the other lines.
void SortLine(const std::string& line, ScannedDeck& deck) {
  std::string t = TrimShort(line, line.size());
  for (std::size_t i = 0; i < t.size() && i < 3; ++i) t[i] = UpperShort(t.substr(i, 1))[0];
  bool comment = IsComment(t);
  std::string firstWord = UpperShort(WordAt(t, 0));
  // An ASSIGN line naming a file with "sim" in it stays an ASSIGN line, and a comment never
  // replaces a simulation statement already found: either would lose a statement of the deck.
  bool assign = !comment && firstWord.starts_with("ASS");
  bool cardIsStatement = deck.simulationCard && !IsComment(*deck.simulationCard);
  if (ContainsAny(t, {"SIM", "Sim", "sim"}) && !assign && !(comment && cardIsStatement)) {
    deck.simulationCard = line;
  } else if (ContainsAny(t, {"ASS", "Ass", "ass"})) {
    deck.assignLines.push_back(line);
  } else if (ContainsAny(t, {"END", "end", "End"}) && (comment || firstWord == "END")) {
    // the END statement and comments mentioning it: the generated deck writes its own END
  } else {
    deck.otherLines.push_back(line);
  }
}

}  // namespace

ScannedDeck ScanDeck(std::string_view bytes, const std::string& descriptionDirectory) {
  ScannedDeck deck;
  deck.descriptionDirectory = descriptionDirectory;
  if (bytes.find("\r\n") != std::string_view::npos) deck.lineEnd = "\r\n";
  LineCursor cursor(SplitLines(bytes));
  std::optional<std::string> line = cursor.next();
  while (line) {
    std::string head = UpperShort(TrimLeft(*line).substr(0, 3));
    if (head == "UNI") {
      std::string card = TrimShort(*line, line->size());
      int type = IntOf(WordAt(card, 3));
      if (IsCopiedThroughType(type)) {
        deck.otherLines.push_back("  ");
        deck.otherLines.push_back(*line);
        line = cursor.next();
        continue;
      }
      UnitRecord unit;
      unit.card = UpperShort(card);
      unit.cardAsWritten = card;
      unit.typeNumber = type;
      line = UnitBlockReader(cursor, unit).Read();
      ReadTypeDescription(unit, deck.constants, descriptionDirectory);
      deck.units.push_back(std::move(unit));
    } else if (head == "EQU" || head == "EQN" || head == "CON") {
      line = ReadConstantsBlock(cursor, *line, deck);
    } else {
      SortLine(*line, deck);
      line = cursor.next();
    }
  }
  return deck;
}

std::string DescriptionDirectoryOf(const std::string& engineDirectory) {
  return FindFileNoCase(engineDirectory, "INFO").value_or(JoinPath(engineDirectory, "INFO"));
}

namespace {
// The card with each run of blanks and tabs shown as one blank.
std::string CardForList(const std::string& card) {
  std::string shown;
  for (char c : card) {
    bool blank = c == ' ' || c == '\t';
    if (blank && (shown.empty() || shown.back() == ' ')) continue;
    shown += blank ? ' ' : c;
  }
  return shown;
}
}  // namespace

std::vector<std::string> UnitListEntries(const std::vector<UnitRecord>& units) {
  std::vector<std::string> entries;
  for (const UnitRecord& unit : units) {
    auto same = std::count_if(units.begin(), units.end(),
                              [&](const UnitRecord& other) { return other.description == unit.description; });
    entries.push_back(same > 1 ? unit.description + "  (" + CardForList(unit.cardAsWritten) + ")" : unit.description);
  }
  return entries;
}

std::string DeckNotOnDiskMessage(const std::string& deckName) {
  return deckName + " has not been saved yet. Save the deck before making a TALKIT file from it.";
}

std::string SaveBeforeMakingQuestion(const std::string& deckName) {
  return "Do you wish to save file " + deckName + " before making a TALKIT file of it?";
}

std::optional<ScannedDeck> MakeDeck(const std::string& deckName, const std::string& engineDirectory) {
  if (deckName.empty() || !FileReadable(deckName)) {
    ShowMessageKind(DeckNotOnDiskMessage(deckName.empty() ? std::string("The deck") : deckName), ErrorOk, true);
    return std::nullopt;
  }
  errno = 0;
  auto bytes = ReadWholeFile(deckName);
  if (!bytes) {
    ShowMessageKind(ReportError(errno) + " while reading file " + deckName, ErrorOk, true);
    return std::nullopt;
  }
  ScannedDeck deck = ScanDeck(*bytes, DescriptionDirectoryOf(engineDirectory));
  deck.deckName = deckName;
  return deck;
}

}  // namespace tal
