#pragma once
// The deck as the engine reads it: statements sorted into definitions (CONSTANTS and EQUATIONS
// entries), units with their parameters, inputs, derivatives and trace, ASSIGN lines and the
// SIMULATION card, with every fault the reader finds tied to its line.
#include <string>
#include <vector>

namespace talpix {

struct Diagnostic {
  int line = 0;  // 1-based deck line, 0 when the message concerns no line
  bool error = true;
  std::string text;
};

// One blank-separated word of a statement or value line, with where it came from.
struct Word {
  std::string text;  // as written
  int line = 0;
};

struct Definition {
  std::string name;  // upper-cased
  std::string expression;
  int line = 0;
  bool constant = false;  // CONSTANTS entry (evaluated once) or EQUATIONS entry (every iteration)
};

struct UnitCard {
  int number = 0;
  int type = 0;
  std::string description;
  int line = 0;
  std::vector<Word> parameters;
  std::vector<Word> connections;  // "u,o" joined, or a name
  std::vector<Word> initialValues;
  std::vector<Word> derivatives;
  bool hasDerivatives = false;
  bool trace = false;
  std::vector<Word> traceTimes;  // none, or start and stop
  int traceLine = 0;
};

struct Assignment {
  std::string file;  // as written (case kept)
  int logicalUnit = 0;
  int line = 0;
};

// Items of the deck that are evaluated every iteration, in deck order.
struct DeckItem {
  enum class Kind { Equation, Unit } kind;
  int index;  // into definitions or units
};

struct Deck {
  std::vector<std::string> lines;  // as read, line ends removed
  std::vector<Definition> definitions;
  std::vector<UnitCard> units;
  std::vector<Assignment> assignments;
  std::vector<DeckItem> order;
  std::vector<Word> simulation;  // start, stop, step
  int simulationLine = 0;
  int endLine = 0;
};

// Logical units are whole numbers from 1 to this.
inline constexpr int LogicalUnitLimit = 2147483647;
// The message for a logical unit beyond LogicalUnitLimit (INF, 1E10), naming the value as given.
std::string LogicalUnitOutOfRange(const std::string& written);

// Reads the deck text. Faults go to `diagnostics`; the deck is usable only when none of them is
// an error.
Deck ReadDeckText(const std::string& text, std::vector<Diagnostic>& diagnostics);

// True for a name the deck may define: a letter, then letters, digits or "_", and not one of the
// words the language keeps for itself.
bool IsDefinableName(const std::string& upperName, std::string& why);

}  // namespace talpix
