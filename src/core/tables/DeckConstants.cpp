#include "tables/DeckConstants.h"

#include <sstream>

#include "support/Files.h"
#include "support/Text.h"
#include "tables/TableModel.h"

namespace tal {

namespace {

constexpr const char* UnitHeadingMark = "*|*     ***** UNIT";
constexpr std::size_t DescriptionMax = 40;

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// "*|" followed by anything but the marks of the other annotation lines.
bool IsDescriptionLine(const std::string& line) {
  if (line.size() < 2 || line[0] != '*' || line[1] != '|') return false;
  return line.size() == 2 || std::string_view("*<[{(]})").find(line[2]) == std::string_view::npos;
}

// The deck's lines, read one at a time; what was read last stays in hand at the end.
class LineReader {
 public:
  explicit LineReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  bool eof() const { return next_ >= lines_.size(); }
  std::string read() { return eof() ? std::string() : CutShort(lines_[next_++]); }
  // The next line that is not a comment (description lines count); `hand` when none is left.
  std::string readSignificant(const std::string& hand) {
    std::string line = hand;
    while (!eof()) {
      line = read();
      if (line.empty() || line[0] != '*' || IsDescriptionLine(line)) return line;
    }
    return line;
  }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

class Scanner {
 public:
  Scanner(std::vector<std::string> lines, int units) : in_(std::move(lines)), units_(units) {}

  std::optional<DeckVariableList> Run() {
    std::string hand = in_.read();
    while (!in_.eof()) {
      std::string line = TrimShort(hand);
      if (line.find(UnitHeadingMark) != std::string::npos) UnitHeading(line);
      if (UpperShort(line.substr(0, 3)) == "CON") {
        if (!list_) list_.emplace();
        hand = ReadBlock(line);
        continue;
      }
      hand = in_.read();
    }
    return std::move(list_);
  }

 private:
  void UnitHeading(const std::string& line) {
    auto words = Words(line.size() > 14 ? std::string_view(line).substr(14) : std::string_view());
    if (words.size() < 5) words.resize(5);
    unit_ = "UNIT " + words[1] + " " + words[4];
    if (words.size() > 5 && !words[5].empty() && words[5][0] != '*') unit_ += " " + words[5];
  }

  std::string ReadBlock(const std::string& constantsLine) {
    auto words = Words(constantsLine);
    int n = words.size() > 1 ? ParseInteger(words[1]).value_or(0) : 0;
    std::string hand = in_.readSignificant(constantsLine);
    for (int i = 0; i < n; ++i) {
      // A count beyond the deck's end would take its last line again and again.
      const bool last = in_.eof();
      std::size_t eq = hand.find('=');
      std::string name = hand.substr(0, eq);
      std::string value = eq == std::string::npos ? std::string() : hand.substr(eq + 1);
      std::string next = in_.readSignificant(hand);
      if (!last && IsDescriptionLine(next)) {
        unit_.clear();
        std::string text = next.substr(2), description = text;
        if (std::size_t bar = text.find('|'); bar != std::string::npos) {
          description = text.substr(0, bar);
          std::string rest = text.substr(bar + 1);
          if (std::size_t bar2 = rest.find('|'); bar2 != std::string::npos) {
            std::string a = rest.substr(0, bar2), b = rest.substr(bar2 + 1);
            b = b.substr(0, b.find('|'));
            unit_ = "[" + (units_ == 2 ? a : b) + "]";
          }
        }
        Add(name, value, TrimShort(description, DescriptionMax));
        next = in_.readSignificant(next);
      } else {
        Add(name, value, NoDescriptionText);
      }
      hand = next;
      if (last) break;
    }
    // The line after the block is examined like any other: it may be the next CONSTANTS line.
    return hand;
  }

  void Add(const std::string& rawName, const std::string& value, const std::string& description) {
    std::size_t start = rawName.find_first_not_of(' ');
    std::string base = UpperShort(start == std::string::npos ? std::string() : rawName.substr(start));
    DeckVariable v;
    for (std::size_t i = list_->size(); i-- > 0;)
      if (bases_[i] == base) {
        v.duplicate = (*list_)[i].duplicate + 1;
        break;
      }
    v.name = v.duplicate ? base + std::to_string(v.duplicate) : base;
    v.description = description;
    v.unit = unit_;
    v.valueText = value.empty() ? "?" : value;
    list_->push_back(v);
    bases_.push_back(base);
  }

  LineReader in_;
  int units_;
  std::string unit_ = " ";
  std::optional<DeckVariableList> list_;
  std::vector<std::string> bases_;
};

}  // namespace

std::optional<DeckVariableList> ScanDeckConstantsText(const std::string& text, int units) {
  return Scanner(SplitLines(text), units).Run();
}

std::optional<DeckVariableList> ScanDeckConstants(const std::string& deckName, int units) {
  CurrentDeckVariables().reset();
  auto bytes = deckName.empty() ? std::nullopt : ReadWholeFile(deckName);
  if (!bytes) return std::nullopt;
  CurrentDeckVariables() = ScanDeckConstantsText(*bytes, units);
  return CurrentDeckVariables();
}

std::optional<DeckVariableList>& CurrentDeckVariables() {
  static std::optional<DeckVariableList> list;
  return list;
}

std::string NoConstantsMessage(const std::string& deckName) {
  return "File " + deckName + " does not have any TALPIX Comment statements.";
}

}  // namespace tal
