#include "Deck.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <unordered_map>

namespace talpix {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> SplitWords(const std::string& s) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

// The statement part of a line: a trailing "!" comment removed, blanks trimmed.
std::string Statement(const std::string& line) { return Trim(line.substr(0, line.find('!'))); }

// A line the engine reads: one with a statement, and not a comment ("*", which covers the form
// annotations "*|" and the lines of switched-off form groups "*|#"). A line of nothing but a "!"
// comment holds no statement, so every reader may take the first word of a significant line.
bool Significant(const std::string& line) {
  std::string statement = Statement(line);
  return !statement.empty() && statement[0] != '*';
}

// Keywords may be shortened to their first three letters or more (EQN stands for EQUATIONS).
bool IsKeyword(const std::string& upperWord, const char* keyword) {
  std::string k(keyword);
  if (upperWord == "EQN" && k == "EQUATIONS") return true;
  return upperWord.size() >= 3 && k.compare(0, upperWord.size(), upperWord) == 0;
}

const char* const StatementKeywords[] = {"CONSTANTS", "EQUATIONS", "UNIT", "PARAMETERS", "INPUTS",
                                         "DERIVATIVES", "TRACE", "SIMULATION", "ASSIGN", "END"};

bool StartsStatement(const std::string& line) {
  auto words = SplitWords(Upper(Statement(line)));
  if (words.empty()) return false;
  if (words[0] == "END") return true;
  for (const char* k : StatementKeywords)
    if (std::string(k) != "END" && IsKeyword(words[0], k)) return true;
  return false;
}

bool ParseCount(const std::string& text, int& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// A number above every logical unit, as in 1E10, 99999999999 or INF.
bool IsLargeNumber(const std::string& text) {
  if (Upper(text) == "INF") return true;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return false;
  if (ec == std::errc::result_out_of_range) return text.find('-') == std::string::npos;  // 1E400, not 1E-400
  return ec == std::errc() && value > LogicalUnitLimit;
}

// Connections as written: "3,1", "3, 1", "3 ,1" or "3 , 1" are one connection.
std::vector<std::string> JoinConnections(const std::vector<std::string>& words) {
  std::vector<std::string> joined;
  for (const auto& w : words) {
    if (!joined.empty() && (joined.back().back() == ',' || w.front() == ','))
      joined.back() += w;
    else
      joined.push_back(w);
  }
  return joined;
}

constexpr int CountLimit = 1000000;

class DeckParser {
 public:
  // Splits the text into lines at every line end: LF, CR LF, or CR alone.
  DeckParser(const std::string& text, std::vector<Diagnostic>& diagnostics) : diags_(diagnostics) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\n' && text[i] != '\r') continue;
      deck_.lines.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    if (start < text.size() || text.empty()) deck_.lines.push_back(text.substr(start));
  }

  Deck parse() {
    for (std::size_t i = 0; i < deck_.lines.size(); ++i) {
      if (deck_.lines[i].find('\0') != std::string::npos) {
        error(static_cast<int>(i + 1), "the line holds a NUL byte: the deck is not a text file");
        return std::move(deck_);
      }
    }
    i_ = 0;
    while (nextSignificant()) {
      int line = lineNumber();
      std::string statement = Statement(current());
      auto words = SplitWords(Upper(statement));
      const std::string& kw = words[0];
      if (IsKeyword(kw, "CONSTANTS")) {
        readBlock(words, true);
      } else if (IsKeyword(kw, "EQUATIONS")) {
        readBlock(words, false);
      } else if (IsKeyword(kw, "UNIT")) {
        readUnit(statement);
      } else if (IsKeyword(kw, "SIMULATION")) {
        readSimulation(words);
        ++i_;
      } else if (IsKeyword(kw, "ASSIGN")) {
        readAssign(statement);
        ++i_;
      } else if (kw == "END") {
        deck_.endLine = line;
        ++i_;
        if (nextSignificant()) warning(lineNumber(), "the lines after END (line " + std::to_string(line) + ") are not read");
        break;
      } else if (IsKeyword(kw, "PARAMETERS") || IsKeyword(kw, "INPUTS") || IsKeyword(kw, "DERIVATIVES") ||
                 IsKeyword(kw, "TRACE")) {
        error(line, kw + " stands outside a UNIT block: it must follow a UNIT line or the statements of one");
        ++i_;
      } else if (statement.find('=') != std::string::npos) {
        error(line, "\"" + statement + "\" stands outside a CONSTANTS or EQUATIONS block (too many entries for the block before it?)");
        ++i_;
      } else {
        error(line, "unknown statement " + kw);
        ++i_;
      }
    }
    if (deck_.simulation.empty()) error(0, "the deck has no SIMULATION line (SIMULATION start stop step)");
    if (deck_.endLine == 0) warning(0, "the deck has no END line; it was read to its last line");
    return std::move(deck_);
  }

 private:
  const std::string& current() const { return deck_.lines[i_]; }
  int lineNumber() const { return static_cast<int>(i_ + 1); }

  bool nextSignificant() {
    while (i_ < deck_.lines.size() && !Significant(deck_.lines[i_])) ++i_;
    return i_ < deck_.lines.size();
  }

  void error(int line, std::string text) { diags_.push_back({line, true, std::move(text)}); }
  void warning(int line, std::string text) { diags_.push_back({line, false, std::move(text)}); }

  bool readCount(const std::vector<std::string>& words, int line, int& count) {
    if (words.size() < 2 || !ParseCount(words[1], count) || count < 0 || count > CountLimit) {
      error(line, words[0] + " needs the number of its entries, a whole number from 0, as in " + words[0] + " 3");
      return false;
    }
    return true;
  }

  void define(const std::string& name, const std::string& expression, int line, bool constant) {
    std::string why;
    if (!IsDefinableName(name, why)) {
      error(line, why);
      return;
    }
    if (auto it = defined_.find(name); it != defined_.end()) {
      error(line, name + " is defined twice: first in line " + std::to_string(it->second));
      return;
    }
    if (Trim(expression).empty()) {
      error(line, name + " has no value after \"=\"");
      return;
    }
    defined_[name] = line;
    deck_.definitions.push_back({name, Trim(expression), line, constant});
    if (!constant) deck_.order.push_back({DeckItem::Kind::Equation, static_cast<int>(deck_.definitions.size() - 1)});
  }

  void readBlock(const std::vector<std::string>& words, bool constants) {
    int line = lineNumber();
    const char* what = constants ? "CONSTANTS" : "EQUATIONS";
    int count = 0;
    ++i_;
    if (!readCount(words, line, count)) return;
    for (int k = 1; k <= count; ++k) {
      if (!nextSignificant()) {
        error(line, std::string(what) + " " + std::to_string(count) + " has only " + std::to_string(k - 1) +
                        " entries before the end of the deck");
        return;
      }
      std::string entry = Statement(current());
      std::size_t eq = entry.find('=');
      if (eq == std::string::npos) {
        error(lineNumber(), std::string(what) + " " + std::to_string(count) + " of line " + std::to_string(line) +
                                " expects entry " + std::to_string(k) + " as NAME=expression here");
        return;  // the line is read again as a statement
      }
      define(Upper(Trim(entry.substr(0, eq))), entry.substr(eq + 1), lineNumber(), constants);
      ++i_;
    }
  }

  // Collects `count` words from the following significant lines (and `first`, the words left on
  // the statement line). Returns false after reporting when the lines do not hold them.
  bool collect(int count, std::vector<std::string> first, const std::string& what, int statementLine,
               bool connections, std::vector<Word>& out) {
    std::size_t have = 0;
    auto take = [&](const std::vector<std::string>& words, int line) {
      if (have + words.size() > static_cast<std::size_t>(count)) {
        error(line, "line " + std::to_string(line) + " holds more " + what + " than the " + std::to_string(count) +
                        " that " + "line " + std::to_string(statementLine) + " declares");
        return false;
      }
      for (const auto& w : words) out.push_back({w, line});
      have += words.size();
      return true;
    };
    if (connections) first = JoinConnections(first);
    if (!first.empty() && !take(first, statementLine)) return false;
    while (have < static_cast<std::size_t>(count)) {
      if (!nextSignificant() || StartsStatement(current())) {
        error(i_ < deck_.lines.size() ? lineNumber() : statementLine,
              "expected " + std::to_string(count - have) + " more " + what + " for the statement in line " +
                  std::to_string(statementLine));
        return false;
      }
      auto words = SplitWords(Statement(current()));  // case kept: printers' labels
      if (connections) words = JoinConnections(words);
      if (!take(words, lineNumber())) {
        ++i_;
        return false;
      }
      ++i_;
    }
    return true;
  }

  void readUnit(const std::string& statement) {
    int line = lineNumber();
    auto words = SplitWords(statement);
    UnitCard unit;
    unit.line = line;
    bool ok = words.size() >= 4 && ParseCount(words[1], unit.number) && unit.number > 0 &&
              Upper(words[2]) == "TYPE" && ParseCount(words[3], unit.type);
    ++i_;
    if (!ok) {
      error(line, "a unit is written UNIT u TYPE t description, with whole numbers u (from 1) and t");
      skipUnitStatements();
      return;
    }
    std::size_t at = statement.find(words[3], statement.find(words[2]) + words[2].size()) + words[3].size();
    unit.description = Trim(statement.substr(at));
    if (auto it = unitLines_.find(unit.number); it != unitLines_.end()) {
      error(line, "unit " + std::to_string(unit.number) + " is defined twice: first in line " + std::to_string(it->second));
      skipUnitStatements();
      return;
    }
    unitLines_[unit.number] = line;

    bool good = true;
    while (nextSignificant()) {
      int here = lineNumber();
      auto w = SplitWords(Statement(current()));
      const std::string kw = Upper(w[0]);
      std::vector<std::string> rest(w.begin() + 1, w.end());
      int count = 0;
      if (IsKeyword(kw, "PARAMETERS")) {
        ++i_;
        if (!readCount(w, here, count)) { good = false; continue; }
        rest.erase(rest.begin());
        good = collect(count, rest, "parameter values", here, false, unit.parameters) && good;
      } else if (IsKeyword(kw, "INPUTS")) {
        ++i_;
        if (!readCount(w, here, count)) { good = false; continue; }
        rest.erase(rest.begin());
        std::size_t before = unit.connections.size();
        good = collect(count, rest, "input connections", here, true, unit.connections) && good;
        if (unit.connections.size() == before + static_cast<std::size_t>(count))
          good = collect(count, {}, "initial input values", here, false, unit.initialValues) && good;
      } else if (IsKeyword(kw, "DERIVATIVES")) {
        ++i_;
        if (unit.hasDerivatives) { error(here, "the unit has a DERIVATIVES statement already"); good = false; continue; }
        unit.hasDerivatives = true;
        if (!readCount(w, here, count)) { good = false; continue; }
        rest.erase(rest.begin());
        good = collect(count, rest, "initial values of derivatives", here, false, unit.derivatives) && good;
      } else if (IsKeyword(kw, "TRACE")) {
        ++i_;
        if (unit.trace) { error(here, "the unit has a TRACE statement already"); good = false; continue; }
        unit.trace = true;
        unit.traceLine = here;
        for (const auto& r : rest) unit.traceTimes.push_back({r, here});
        if (unit.traceTimes.size() != 0 && unit.traceTimes.size() != 2) {
          error(here, "TRACE takes no times or two: TRACE start stop");
          good = false;
        }
      } else {
        break;
      }
    }
    if (!good) return;
    deck_.units.push_back(std::move(unit));
    deck_.order.push_back({DeckItem::Kind::Unit, static_cast<int>(deck_.units.size() - 1)});
  }

  void skipUnitStatements() {
    while (nextSignificant()) {
      auto w = SplitWords(Upper(Statement(current())));
      if (!(IsKeyword(w[0], "PARAMETERS") || IsKeyword(w[0], "INPUTS") || IsKeyword(w[0], "DERIVATIVES") ||
            IsKeyword(w[0], "TRACE")))
        return;
      ++i_;
    }
  }

  void readSimulation(const std::vector<std::string>& words) {
    int line = lineNumber();
    if (!deck_.simulation.empty()) {
      error(line, "SIMULATION is given twice: first in line " + std::to_string(deck_.simulationLine));
      return;
    }
    if (words.size() != 4) {
      error(line, "SIMULATION takes three values: SIMULATION start stop step (times in hours)");
      return;
    }
    deck_.simulationLine = line;
    for (int k = 1; k <= 3; ++k) deck_.simulation.push_back({words[k], line});
  }

  void readAssign(const std::string& statement) {
    int line = lineNumber();
    auto words = SplitWords(statement);
    Assignment a;
    a.line = line;
    if (words.size() == 3 && !ParseCount(words[2], a.logicalUnit) && IsLargeNumber(words[2])) {
      error(line, LogicalUnitOutOfRange(words[2]));
      return;
    }
    if (words.size() != 3 || !ParseCount(words[2], a.logicalUnit) || a.logicalUnit < 1) {
      error(line, "ASSIGN takes a file name and a logical unit number from 1: ASSIGN file lu");
      return;
    }
    a.file = words[1];
    for (const auto& other : deck_.assignments) {
      if (other.logicalUnit == a.logicalUnit) {
        error(line, "logical unit " + words[2] + " is assigned twice: first in line " + std::to_string(other.line));
        return;
      }
    }
    deck_.assignments.push_back(a);
  }

  std::vector<Diagnostic>& diags_;
  Deck deck_;
  std::size_t i_ = 0;
  std::unordered_map<std::string, int> defined_;
  std::map<int, int> unitLines_;
};

}  // namespace

bool IsDefinableName(const std::string& name, std::string& why) {
  bool ok = !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
            std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
  if (!ok) {
    why = "\"" + name + "\" is not a name: names begin with a letter and hold letters, digits and \"_\"";
    return false;
  }
  static const char* const reserved[] = {"TIME", "INF", "SIN", "COS", "TAN", "EXP", "LOG", "LOG10",
                                         "SQRT", "ABS", "MIN", "MAX", "INT", "MOD"};
  for (const char* r : reserved) {
    if (name == r) {
      why = name + " is a word of the deck language and cannot be defined";
      return false;
    }
  }
  return true;
}

std::string LogicalUnitOutOfRange(const std::string& written) {
  return "the logical unit " + written + " is out of range: logical units are whole numbers from 1 to " +
         std::to_string(LogicalUnitLimit);
}

Deck ReadDeckText(const std::string& text, std::vector<Diagnostic>& diagnostics) {
  return DeckParser(text, diagnostics).parse();
}

}  // namespace talpix
